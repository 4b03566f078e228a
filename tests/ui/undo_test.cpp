// The open document through the windows: undo and redo of edits, rows, the sample type and an
// accepted fit; the curves kept apart from the plots; Ctrl+wheel tuning; an empty data file.

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/calc/live_recalculation.h"
#include "ui/fit/fit_dialog.h"
#include "ui/model/grid_view.h"
#include "ui/model/model_window.h"
#include "ui/plot/reflectivity_slots.h"
#include "ui/plot/reflectivity_window.h"

namespace quorrel {

using testing::ScratchFiles;
using testing::TestServices;

namespace {

//! The cells of both grids and the last plain curve, to compare a state with a later one.
struct Shown {
  std::vector<std::string> cells;
  std::vector<double> curve;
  bool operator==(const Shown&) const = default;
};

Shown ShownBy(TForm1& window) {
  // The curves that editing requested after its pause, once they are in.
  QTest::qWait(LiveRecalculation::kDelayMs + 40);
  if (!QTest::qWaitFor([&window] { return window.calculations().running() == 0; })) return {};
  Shown shown;
  for (const TextGrid* grid : {&window.state().model.baseGrid, &window.state().model.mlGrid}) {
    for (int row = 0; row < grid->rowCount(); ++row) {
      for (int column = 0; column < grid->columnCount(); ++column) {
        shown.cells.push_back(grid->cell(row, column));
      }
    }
  }
  for (const QPointF& point : window.plotWindow().graph().points(reflectivity_slot::kPlain)) {
    shown.curve.push_back(point.y());
  }
  return shown;
}

QAction* Item(TForm1& window, const char* name) { return window.findChild<QAction*>(name); }

void TypeInto(GridView& view, int row, int column, const QString& text) {
  const QModelIndex cell = view.model()->index(row - 1, column - 1);
  view.setCurrentIndex(cell);
  view.edit(cell);
  auto* editor = view.viewport()->findChild<QLineEdit*>();
  QVERIFY(editor != nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
}

//! Undo by its keys and redo by its menu item, each checked against the state it gives back.
void ExpectUndoAndRedo(TForm1& window, const Shown& before, const QString& what) {
  const Shown after = ShownBy(window);
  QVERIFY(!(after == before));
  QCOMPARE(Item(window, "mnuUndo")->text(), "&Undo " + what);
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  const Shown undone = ShownBy(window);
  QCOMPARE(undone.cells, before.cells);
  QCOMPARE(undone.curve, before.curve);
  QCOMPARE(Item(window, "mnuRedo")->text(), "&Redo " + what);
  Item(window, "mnuRedo")->trigger();
  const Shown redone = ShownBy(window);
  QCOMPARE(redone.cells, after.cells);
  QCOMPARE(redone.curve, after.curve);
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
}

}  // namespace

class UndoTest : public QObject {
  Q_OBJECT

 private slots:
  void editsRowsAndTheSampleTypeAreUndoneAndRedone() {
    TestServices services;
    auto window = services.start();
    window->show();
    window->recalculate();
    GridView& base = *window->modelWindow().findChild<GridView*>("BaseGrid");
    Shown before = ShownBy(*window);
    TypeInto(base, 2, kColThickness, "125");
    QCOMPARE(window->state().model.baseGrid.cell(2, kColThickness), std::string("125"));
    ExpectUndoAndRedo(*window, before, "typing in Layer table, row 1, d / Å");

    window->modelWindow().findChild<QSpinBox*>("edtLayers")->setValue(3);
    TypeInto(base, 3, kColThickness, "40");
    before = ShownBy(*window);
    window->state().editor.baseCurrentRow = 3;
    window->modelWindow().findChild<QAction*>("DeleteRow1")->trigger();
    ExpectUndoAndRedo(*window, before, "deleting a row");

    before = ShownBy(*window);
    window->modelWindow().findChild<QRadioButton*>("RBMulti")->click();
    ExpectUndoAndRedo(*window, before, "sample type");
  }

  void anAcceptedFitIsUndoneAndACancelledOneLeavesTheModelsCurve() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    window->loadDataFile(QUORREL_EXAMPLES "/multilayer_measured.dat");
    window->loadModelFile(QUORREL_EXAMPLES "/multilayer.par");
    TypeInto(*window->modelWindow().findChild<GridView*>("MLGrid"), 1, kColThickness, "72");
    window->recalculate();
    const Shown before = ShownBy(*window);
    const std::size_t points = before.curve.size();
    window->state().data.fitRegionLow = 0.05;
    window->state().data.fitRegionHigh = 0.1;
    window->fitSession().setDisplayGraph(true);
    const auto runFit = [&](const char* closeWith) {
      QTimer::singleShot(0, window.get(), [&window, closeWith] {
        TFitDlg& dialog = window->fitDialog();
        QTRY_VERIFY(dialog.isVisible());
        QListWidgetItem* entry = dialog.findChild<QListWidget*>("CheckListBox1")->item(9);
        entry->setCheckState(Qt::Checked);
        dialog.findChild<QPushButton*>("btn1iter")->click();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.findChild<QPushButton*>("btn1iter")->isEnabled(), 60000);
        dialog.findChild<QPushButton*>(closeWith)->click();
      });
      window->fit();
    };
    // Cancelled: the trial curve over the region goes, and the file holds the model's curve.
    runFit("CancelBtn");
    QVERIFY(ShownBy(*window) == before);
    services.prompts.files = {files.path("after-cancel.dat")};
    QVERIFY(window->saveReflectivity());
    QFile saved(files.path("after-cancel.dat"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(static_cast<std::size_t>(saved.readAll().count('\n')), points);

    runFit("OKBtn");
    QVERIFY(window->state().model.mlGrid.cell(1, kColThickness) != "72");
    ExpectUndoAndRedo(*window, before, "fit");
  }

  void ctrlWheelTunesACellAndAnEmptyDataFileLeavesTheGrid() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    GridView& base = *window->modelWindow().findChild<GridView*>("BaseGrid");
    const QRect cell = base.visualRect(base.model()->index(1, kColThickness - 1));
    const auto turn = [&](int notches, Qt::KeyboardModifiers keys) {
      QWheelEvent wheel(cell.center(), base.viewport()->mapToGlobal(cell.center()), QPoint(),
                        QPoint(0, 120 * notches), Qt::NoButton, keys, Qt::NoScrollPhase, false);
      QApplication::sendEvent(base.viewport(), &wheel);
    };
    turn(2, Qt::ControlModifier);
    QCOMPARE(window->state().model.baseGrid.cell(2, kColThickness), std::string("25.5025"));
    turn(-1, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window->state().model.baseGrid.cell(2, kColThickness), std::string("25.477022977023"));
    turn(1, Qt::NoModifier);
    QCOMPARE(window->state().model.baseGrid.cell(2, kColThickness), std::string("25.477022977023"));
    QTRY_COMPARE(window->calculations().running(), 0);

    // A data file without a point: the curves are computed on the settings' grid.
    const QString empty = files.path("empty.dat");
    QFile file(empty);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    window->loadDataFile(empty);
    QVERIFY(window->state().data.loaded());
    window->calculateReflectivity();
    QTRY_COMPARE(window->calculations().running(), 0);
    QCOMPARE(services.prompts.errors, QStringList());
    QCOMPARE(static_cast<int>(window->document().reflectivity()->plain.size()),
             window->state().settings.edtNumPoints);
  }
};

QUORREL_QT_TEST(UndoTest)

}  // namespace quorrel

#include "undo_test.moc"
