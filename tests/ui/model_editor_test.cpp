// The model editor driven through its widgets: counts, rows, the popup menu, relabelling,
// identical sigmas, the function's parameter boxes and the materials of the table.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include "model/function_choice.h"
#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/model/grid_view.h"
#include "ui/model/model_window.h"

namespace quorrel {

using testing::ScriptedPrompts;
using testing::TestServices;

namespace {

//! An editor on its own model, shown.
struct Editor {
  SampleModel model;
  EditorState state;
  CalcSettings settings;
  ScriptedPrompts prompts;
  TfrmModel window{model, state, settings, prompts};

  Editor() {
    window.resize(TfrmModel::kWidth, 700);
    window.show();
  }
  QSpinBox* spin(const char* name) { return window.findChild<QSpinBox*>(name); }
  GridView* grid(const char* name) { return window.findChild<GridView*>(name); }
  QAction* popupItem(const char* name) { return window.findChild<QAction*>(name); }
  //! The right button released over the label of grid row `row`: the row becomes current
  //! and the popup menu opens.
  void rightClickLabel(const char* gridName, int row) {
    QHeaderView* labels = grid(gridName)->verticalHeader();
    const int y = labels->sectionViewportPosition(row - 1) + 5;
    QTest::mouseClick(labels->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(5, y));
    window.findChild<QMenu*>("PopupMenu1")->hide();
  }
  //! Types into a cell of BaseGrid as a user does: the editor opens and the keys go in.
  void typeIntoBaseCell(int row, int column, const QString& text) {
    GridView* view = grid("BaseGrid");
    const QModelIndex cell = view->model()->index(row - 1, column - 1);
    view->setCurrentIndex(cell);
    view->edit(cell);
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
  }
  std::string base(int row, int column) const { return model.baseGrid.cell(row, column); }
};

}  // namespace

class ModelEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void spinningTheLayerCountAddsZeroLayersAboveTheSubstrate() {
    Editor e;
    e.model.baseGrid.setCell(2, kColThickness, "25");
    QSpinBox* layers = e.spin("edtLayers");
    layers->setFocus();
    QTest::keyClick(layers, Qt::Key_Up);
    QTest::keyClick(layers, Qt::Key_Up);
    QCOMPARE(e.model.edtLayers, 3);
    QCOMPARE(e.grid("BaseGrid")->model()->rowCount(), 5);
    QCOMPARE(e.base(2, kColThickness), std::string("25"));
    QCOMPARE(e.base(3, kColRho), std::string("0"));
    QCOMPARE(e.base(4, kColRho), std::string("0"));
    QCOMPARE(e.base(5, kColLabel), std::string("bulk"));
    QCOMPARE(e.base(5, kColRho), e.base(5, kColRho));
    QCOMPARE(e.spin("edtInsertLayer")->maximum(), 3);
  }

  void aTypedCountAboveTheLimitBecomesTheLimit() {
    Editor e;
    QSpinBox* layers = e.spin("edtLayers");
    layers->selectAll();
    QTest::keyClicks(layers, "12000");
    QCOMPARE(e.model.edtLayers, 9999);
    QCOMPARE(layers->value(), 9999);
    QCOMPARE(e.grid("BaseGrid")->model()->rowCount(), 10001);
    // With 9990 layers the stack holds at most 9 layers.
    layers->setValue(9990);
    e.spin("edtStackedLayers")->setValue(50);
    QCOMPARE(e.model.edtStackedLayers, 9);
  }

  void fiveLayersToTwoAndBackShowTheHiddenRowsAgain() {
    Editor e;
    e.spin("edtLayers")->setValue(5);
    for (int layer = 1; layer <= 5; ++layer) {
      e.model.baseGrid.setCell(layer + 1, kColThickness, std::to_string(10 * layer));
    }
    const std::string substrate = e.base(7, kColRho);
    e.spin("edtLayers")->setValue(2);
    e.spin("edtLayers")->setValue(5);
    QCOMPARE(e.base(2, kColThickness), std::string("10"));
    QCOMPARE(e.base(3, kColThickness), std::string("20"));
    QCOMPARE(e.base(4, kColLabel), std::string("bulk"));  // the substrate row while at 2
    QCOMPARE(e.base(4, kColThickness), std::string("N/A"));
    QCOMPARE(e.base(5, kColThickness), std::string("40"));
    QCOMPARE(e.base(6, kColThickness), std::string("0"));
    QCOMPARE(e.base(7, kColRho), substrate);
  }

  void insertAndDeleteThroughThePopupMenu() {
    Editor e;
    e.spin("edtLayers")->setValue(5);
    for (int layer = 1; layer <= 5; ++layer) {
      e.model.baseGrid.setCell(layer + 1, kColThickness, std::to_string(10 * layer));
    }
    e.window.refresh();
    e.rightClickLabel("BaseGrid", 3);  // layer 2
    QCOMPARE(e.state.baseCurrentRow, std::optional<int>(3));
    e.popupItem("InsertRow1")->trigger();
    QCOMPARE(e.model.edtLayers, 6);
    QCOMPARE(e.base(3, kColThickness), std::string("0"));
    QCOMPARE(e.base(4, kColThickness), std::string("20"));
    QCOMPARE(e.base(7, kColThickness), std::string("50"));
    QCOMPARE(e.grid("BaseGrid")->model()->rowCount(), 8);

    // On "air" nothing is inserted; deleting it pulls every row up.
    e.rightClickLabel("BaseGrid", 1);
    e.popupItem("InsertRow1")->trigger();
    QCOMPARE(e.model.edtLayers, 6);
    e.popupItem("DeleteRow1")->trigger();
    QCOMPARE(e.model.edtLayers, 5);
    QCOMPARE(e.base(1, kColThickness), std::string("10"));

    // Deleting the substrate's row removes the last layer.
    e.rightClickLabel("BaseGrid", 7);
    e.popupItem("DeleteRow1")->trigger();
    QCOMPARE(e.model.edtLayers, 4);
  }

  void copyAndPasteGoThroughTheClipboard() {
    Editor e;
    e.spin("edtLayers")->setValue(3);
    e.model.baseGrid.setCell(2, kColThickness, "42");
    e.model.baseGrid.setCell(2, kColRho, "1E-6");
    e.rightClickLabel("BaseGrid", 2);
    e.popupItem("CopyRow1")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QString("42\r\n1E-6\r\n1.05E-11\r\n3\r\n0\r\n0\r\n"));
    e.rightClickLabel("BaseGrid", 4);
    e.popupItem("PasteRow1")->trigger();
    QCOMPARE(e.base(4, kColThickness), std::string("42"));
    QCOMPARE(e.base(4, kColRho), std::string("1E-6"));

    QApplication::clipboard()->setText("1\n2\n3");
    e.popupItem("PasteRow1")->trigger();
    QCOMPARE(e.base(4, kColImRho), std::string("3"));
    QCOMPARE(e.base(4, kColSigma), std::string());
    QCOMPARE(e.grid("BaseGrid")->model()->index(3, kColImRho - 1).data().toString(), QString("3"));
  }

  void identicalSigmasFollowTheTypingOfOneRoughness() {
    Editor e;
    e.spin("edtLayers")->setValue(3);
    e.window.findChild<QRadioButton*>("RBSymFilm")->click();
    auto* identical = e.window.findChild<QCheckBox*>("cbIdenticalSigmas");
    QVERIFY(identical->isVisible());
    identical->click();
    e.typeIntoBaseCell(3, kColSigma, "7");
    for (int row = 2; row <= 5; ++row) QCOMPARE(e.base(row, kColSigma), std::string("7"));
    QCOMPARE(e.base(1, kColSigma), std::string("N/A"));
    QCOMPARE(e.base(5, kColLabel), std::string("core"));
  }

  void theSampleTypeArrangesThePanels() {
    Editor e;
    const auto visible = [&e](const char* name) {
      return e.window.findChild<QWidget*>(name)->isVisible();
    };
    QVERIFY(!visible("pnlFunction") && !visible("pnlMulti") && !visible("MLGrid"));
    e.window.findChild<QRadioButton*>("RBFunction")->click();
    QVERIFY(visible("pnlFunction") && !visible("pnlMulti"));
    e.window.findChild<QRadioButton*>("RBMulti")->click();
    QVERIFY(!visible("pnlFunction") && visible("pnlMulti") && visible("MLGrid"));
    QCOMPARE(e.model.type, SampleType::MultipleLayers);
    e.window.findChild<QRadioButton*>("RBSymFilm")->click();
    QVERIFY(visible("lblSymmetric") && !visible("MLGrid"));
    QCOMPARE(e.base(e.model.lastRow(), kColThickness), std::string("100"));
  }

  void leavingAGridRelabelsItButNotTheCore() {
    Editor e;
    e.spin("edtLayers")->setValue(2);
    e.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&e.window));
    e.model.baseGrid.setCell(2, kColLabel, "Ni");
    e.grid("BaseGrid")->setFocus();
    e.spin("edtLayers")->setFocus();
    QCOMPARE(e.base(2, kColLabel), std::string("1"));
    QCOMPARE(e.grid("BaseGrid")->model()->headerData(1, Qt::Vertical).toString(), QString("1"));

    e.window.findChild<QRadioButton*>("RBSymFilm")->click();
    e.model.baseGrid.setCell(e.model.lastRow(), kColLabel, "D2O");
    e.grid("BaseGrid")->setFocus();
    e.spin("edtLayers")->setFocus();
    QCOMPARE(e.base(e.model.lastRow(), kColLabel), std::string("D2O"));
  }

  void theParameterBoxesFollowTheConfirmedFunction() {
    Editor e;
    e.window.findChild<QRadioButton*>("RBFunction")->click();
    ChooseBuiltInFunction(e.model.function, 2);  // "oscillating"
    ConfirmFunction(e.model.function);
    e.state.testFunctionEnabled = true;
    e.window.showFunctionParameters();
    QCOMPARE(e.window.findChild<QLabel*>("lblA")->text(), QString("A = "));
    QCOMPARE(e.window.findChild<QLabel*>("lblB")->text(), QString("lam = "));
    QCOMPARE(e.window.findChild<QLabel*>("lblC")->text(), QString("phi = "));
    QVERIFY(!e.window.findChild<QWidget*>("edtD")->isVisible());
    QVERIFY(e.window.findChild<QPushButton*>("btnTestFunction")->isEnabled());

    // Delete Row names the parameters A .. E; the labels keep the old names.
    e.rightClickLabel("BaseGrid", 2);
    e.popupItem("DeleteRow1")->trigger();
    QCOMPARE(e.model.function.parameterNames[1], std::string("B"));
    QCOMPARE(e.window.findChild<QLabel*>("lblB")->text(), QString("lam = "));

    auto* b = e.window.findChild<TRealEdit*>("edtB");
    b->setFocus();
    QTest::keyClicks(b, "25");
    QCOMPARE(e.model.function.parameters[1], 25.0);
  }

  // The function compiles on a worker, like a calculation: the window is free meanwhile, the
  // message of a text that does not compile comes back, and a compilation overtaken by an edit
  // of the function is dropped.
  void testingAFunctionCompilesItAwayFromTheWindow() {
    TestServices services;
    auto window = services.start({"nosplash"});
    QVERIFY(window->loadModelFile(QUORREL_EXAMPLES "/user_function.par"));
    QTRY_COMPARE(window->calculations().running(), 0);
    auto* test = window->modelWindow().findChild<QPushButton*>("btnTestFunction");
    QVERIFY(test->isEnabled());
    FunctionSettings& function = window->state().model.function;
    QSignalSpy calculated(&window->calculations(), &CalculationRunner::reflectivityReady);

    function.expression = "A*(z";
    test->click();
    QCOMPARE(window->calculations().running(), 1);  // the compilation, on its worker
    QVERIFY(services.prompts.errors.isEmpty());
    QTRY_COMPARE(services.prompts.errors.size(), 1);
    QCOMPARE(window->calculations().running(), 0);  // no calculation after the failure

    function.expression = "A*(z";
    test->click();
    function.expression = "A*z";  // edited before the result came back
    QTRY_COMPARE(window->calculations().running(), 0);
    QCOMPARE(services.prompts.errors.size(), 1);

    QCOMPARE(calculated.count(), 0);

    test->click();
    QTRY_COMPARE(calculated.count(), 1);
    QCOMPARE(window->state().model.userFunction.source(), std::string("A*z"));
    QCOMPARE(services.prompts.errors.size(), 1);
  }

  void aMaterialFromThePopupIsWrittenIntoTheRow() {
    for (const Radiation radiation : {Radiation::Neutrons, Radiation::Xrays}) {
      TestServices services;
      auto window = services.start({"nosplash"});
      window->show();
      window->state().settings.radiation = radiation;
      TfrmModel& editor = window->modelWindow();
      QHeaderView* labels = editor.findChild<GridView*>("BaseGrid")->verticalHeader();
      QTest::mouseClick(labels->viewport(), Qt::RightButton, Qt::NoModifier,
                        QPoint(5, labels->sectionViewportPosition(1) + 5));
      auto* popup = editor.findChild<QMenu*>("PopupMenu1");
      QCOMPARE(editor.findChild<QAction*>("popupTitle")->text(),
               QString(radiation == Radiation::Neutrons ? "using neutron values"
                                                        : "using x-ray values"));
      popup->hide();
      // Silicon is element 14.
      auto* elements = editor.findChild<QMenu*>("Elements1");
      QAction* silicon = elements->actions().at(13);
      QCOMPARE(silicon->text(), QString("Si"));
      silicon->trigger();
      const TextGrid& grid = window->state().model.baseGrid;
      QCOMPARE(grid.cell(2, kColLabel), std::string("Si"));
      if (radiation == Radiation::Neutrons) {
        QCOMPARE(grid.cell(2, kColRho), std::string("2.074E-06"));
        QCOMPARE(grid.cell(2, kColImRho), std::string("2.376E-11"));
      } else {
        QCOMPARE(grid.cell(2, kColRho).substr(0, 2), std::string("2."));
        QVERIFY(grid.cell(2, kColRho).ends_with("E-05"));
      }
      QCOMPARE(grid.cell(2, kColThickness), std::string("25"));
      QVERIFY(services.prompts.errors.isEmpty());
    }
  }

  void anEmptyCategoryShowsNone() {
    Editor e;
    MaterialLists lists;
    lists.elements = {"H", "He"};
    e.window.setMaterialLists(lists);
    const QList<QAction*> compounds = e.window.findChild<QMenu*>("Compounds1")->actions();
    QCOMPARE(compounds.size(), 1);
    QCOMPARE(compounds.front()->text(), QString("(none)"));
    QVERIFY(!compounds.front()->isEnabled());
    QCOMPARE(e.window.findChild<QMenu*>("Elements1")->actions().size(), 2);
  }

  void movingTheMouseOverTheEditorClearsTheStatus() {
    Editor e;
    QSignalSpy status(&e.window, &TfrmModel::statusText);
    auto* panel = e.window.findChild<QWidget*>("pnlIndep");
    QTest::mouseMove(panel, QPoint(panel->width() - 4, 3));  // clear of the panel's controls
    QVERIFY(!status.isEmpty());
    QCOMPARE(status.last().first().toString(), QString());
  }
};

QUORREL_QT_TEST(ModelEditorTest)

}  // namespace quorrel

#include "model_editor_test.moc"
