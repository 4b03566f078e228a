// A scientist's whole session in the real program on a real X display: real mouse clicks and
// keys on the live widgets. Start without settings, load the multilayer example, change its
// repetitions, load its data, choose a fitting region, fit two thicknesses by the search and
// by Levenberg-Marquardt, accept, save, print, copy, exit, and start again. Each step leaves
// a picture of the screen in the build folder.

#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "calc/reflectivity_run.h"
#include "common/number_conversion.h"
#include "files/model_file_reader.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/fit/fit_dialog.h"
#include "ui/main/tips_window.h"
#include "ui/platform/paths.h"
#include "ui/main/tool_bar.h"
#include "ui/model/model_window.h"
#include "ui/plot/reflectivity_slots.h"
#include "ui/plot/reflectivity_window.h"
#include "ui/settings/settings_dialog.h"

namespace quorrel {

using testing::ScratchFiles;
using testing::TestServices;

namespace {

//! The whole screen, as the user sees it, under the build folder.
void Picture(const QString& name) {
  QDir().mkpath(QUORREL_E2E_PICTURES);
  QCoreApplication::processEvents();
  QApplication::primaryScreen()->grabWindow(0).save(QUORREL_E2E_PICTURES "/" + name + ".png");
}

//! A radio button or check box takes clicks on its mark and caption only: near its left edge.
void ClickMark(QAbstractButton* button) {
  QVERIFY(button != nullptr);
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, {8, button->height() / 2});
}

void Click(QWidget* widget, QPoint at = {}, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QVERIFY(widget != nullptr);
  QTest::mouseClick(widget, button, modifiers, at.isNull() ? widget->rect().center() : at);
}

void Settle(TForm1& window) {
  QTRY_COMPARE_WITH_TIMEOUT(window.calculations().running(), 0, 30000);
  QTest::qWait(150);  // the recalculation that follows an edit starts after a pause
  QTRY_COMPARE_WITH_TIMEOUT(window.calculations().running(), 0, 30000);
}

std::vector<QPointF> PlainCurve(TForm1& window) {
  return window.plotWindow().graph().points(reflectivity_slot::kPlain);
}

QWidget* PlotArea(GraphWindow& window) { return window.graph().findChild<QWidget*>("plotArea"); }

QPoint PixelOf(GraphWindow& window, double x, double y) {
  return window.graph().dataToPixel({x, y}).value().toPoint();
}

//! Selects the entry with a click and ticks it with the space bar.
void Tick(QListWidget* list, int entry) {
  QListWidgetItem* item = list->item(entry);
  list->scrollToItem(item);
  Click(list->viewport(), list->visualItemRect(item).center());
  QTest::keyClick(list->viewport(), Qt::Key_Space);
  QCOMPARE(item->checkState(), Qt::Checked);
}

void ChoosePage(QTabWidget* pages, int page) {
  QTabBar* bar = pages->tabBar();
  Click(bar, bar->tabRect(page).center());
  QCOMPARE(pages->currentIndex(), page);
}

//! "&do it", and back when the run has ended.
void RunFit(TFitDlg& dialog) {
  QSignalSpy ended(&dialog, &TFitDlg::runFinished);
  Click(dialog.findChild<QPushButton*>("btn1iter"));
  QVERIFY(ended.wait(120000));
}

//! Opens a menu of the menu bar with its Alt key and chooses an item by its key.
void ChooseFromMenu(QWidget& window, Qt::Key menuKey, Qt::Key itemKey) {
  window.activateWindow();  // the window manager's part: Xvfb has none
  QTRY_VERIFY(window.isActiveWindow());
  QTest::keyClick(&window, menuKey, Qt::AltModifier);
  QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
  QTest::keyClick(QApplication::activePopupWidget(), itemKey);
}

std::vector<std::pair<double, double>> FileColumns(const QString& path) {
  std::vector<std::pair<double, double>> rows;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return rows;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QList<QByteArray> fields = line.trimmed().split('\t');
    if (fields.size() < 2) continue;
    rows.emplace_back(LocaleToDouble(fields[0].toStdString()).value_or(-1),
                      LocaleToDouble(fields[1].toStdString()).value_or(-1));
  }
  return rows;
}

}  // namespace

class SessionTest : public QObject {
  Q_OBJECT

 private slots:
  void aWholeSession() {
    TestServices services;
    services.settings.store().removeSection("Main");  // a first start: no settings at all
    ScratchFiles files;
    const QString examples = QUORREL_EXAMPLES;
    std::vector<QPointF> fitted;
    QRect placement;
    {
      auto window = services.start({"nosplash"});
      window->show();
      QVERIFY(QTest::qWaitForWindowExposed(window.get()));
      window->activateWindow();
      Picture("01-first-start");
      TfTipOfTheDay* tips = window->findChild<TfTipOfTheDay*>();
      QVERIFY(tips != nullptr && tips->isVisible());
      Click(tips->findChild<QPushButton*>("btnClose"));
      QTRY_VERIFY(window->findChild<TfTipOfTheDay*>() == nullptr);

      // The model, through the tool bar.
      services.prompts.files = {examples + "/multilayer.par"};
      Click(window->toolbar().btnLoadModel);
      Settle(*window);
      QCOMPARE(window->modelWindow().windowTitle(), QString("Model - multilayer.par"));
      const std::vector<QPointF> tenPeriods = PlainCurve(*window);
      QVERIFY(!tenPeriods.empty());
      Picture("02-model-loaded");

      // Five periods instead of ten: typed into the spin box, the curve follows.
      auto* repetitions = window->modelWindow().findChild<QSpinBox*>("edtRepts");
      Click(repetitions);
      QTest::keyClick(repetitions, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(repetitions, "5");
      QTest::keyClick(repetitions, Qt::Key_Return);
      QCOMPARE(window->state().model.edtRepts, 5);
      Settle(*window);
      QVERIFY(PlainCurve(*window) != tenPeriods);
      Picture("03-five-periods");
      // Back to ten with Undo, from the reflectivity window.
      QMdiSubWindow* reflectivityFrame = window->frameOf(window->plotWindow());
      Click(reflectivityFrame, {reflectivityFrame->width() / 2, 8});  // its title bar
      QCOMPARE(window->findChild<QAction*>("mnuUndo")->text(), QString("&Undo repetitions"));
      QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(window->findChild<QAction*>("mnuRedo")->text(), QString("&Redo repetitions"));
      QCOMPARE(window->state().model.edtRepts, 10);
      Settle(*window);
      QCOMPARE(PlainCurve(*window), tenPeriods);

      // The measured data, and the fitting region with Ctrl and the mouse buttons.
      services.prompts.files = {examples + "/multilayer_measured.dat"};
      Click(window->toolbar().btnLoadRefl);
      Settle(*window);
      QVERIFY(window->state().data.count() > 100);
      TfrmPlot& plot = window->plotWindow();
      Click(PlotArea(plot), PixelOf(plot, 0.02, 1e-3), Qt::LeftButton, Qt::ControlModifier);
      Click(PlotArea(plot), PixelOf(plot, 0.17, 1e-3), Qt::RightButton, Qt::ControlModifier);
      QCOMPARE(services.prompts.informations.size(), 1);
      QVERIFY(services.prompts.informations.front().startsWith("fitting region is set to 0.02"));
      Picture("04-data-and-region");

      // The two period thicknesses, spoilt as in the tutorial, fitted by the search, then by
      // Levenberg-Marquardt with their errors; weighted by the given errors.
      window->state().model.mlGrid.setCell(1, kColThickness, "68");
      window->state().model.mlGrid.setCell(2, kColThickness, "72");
      window->modelWindow().refresh();
      bool fitChecked = false;
      QTimer::singleShot(0, window.get(), [&] {
        TFitDlg& dialog = window->fitDialog();
        // A failed check returns early; the dialog must still close or exec() never ends.
        const std::unique_ptr<TFitDlg, void (*)(TFitDlg*)> closer(&dialog, [](TFitDlg* open) {
          if (open->isVisible()) open->close();
        });
        QTRY_VERIFY(dialog.isVisible());
        auto* pages = dialog.findChild<QTabWidget*>();
        auto* list = dialog.findChild<QListWidget*>("CheckListBox1");
        ChoosePage(pages, 1);
        ClickMark(dialog.findChild<QRadioButton*>("RBErrors"));
        for (const char* option : {"cbRsltn", "cbBackground"}) {  // the data have both
          ClickMark(dialog.findChild<QCheckBox*>(option));
          QVERIFY(dialog.findChild<QCheckBox*>(option)->isChecked());
        }
        ChoosePage(pages, 0);
        Tick(list, 9);
        Tick(list, 13);
        RunFit(dialog);
        QVERIFY(dialog.findChild<QLabel*>("lblconverged")->isVisible());
        Picture("05-fit-by-search");
        ChoosePage(pages, 1);
        ClickMark(dialog.findChild<QRadioButton*>("RBLevenbergMarquardt"));
        Picture("06-options-levenberg-marquardt");
        QVERIFY(dialog.findChild<QRadioButton*>("RBLevenbergMarquardt")->isChecked());
        ChoosePage(pages, 0);
        RunFit(dialog);
        QVERIFY2(list->item(9)->text().contains("±"),
                 qPrintable(list->item(9)->text() + " " + services.prompts.errors.join(" / ") +
                            services.prompts.informations.join(" / ")));
        QVERIFY(list->item(13)->text().contains("±"));
        Picture("07-fit-by-levenberg-marquardt");
        Click(dialog.findChild<QPushButton*>("OKBtn"));
        fitChecked = true;
      });
      Click(window->toolbar().btnFit);
      QVERIFY(fitChecked);
      QVERIFY(window->fitSession().fitAccepted());
      Settle(*window);
      // The example's data were made with 70 and 70.
      for (int layer : {1, 2}) {
        const std::string& d = window->state().model.mlGrid.cell(layer, kColThickness);
        QVERIFY2(std::abs(LocaleToDouble(d).value_or(0) - 70) < 0.1, d.c_str());
      }
      fitted = PlainCurve(*window);
      Picture("08-fit-accepted");

      // The model and the curve saved with the save button of each window.
      QMdiArea* area = window->findChild<QMdiArea*>("mdiArea");
      window->activateWindow();  // the window manager's part: Xvfb has none
      QTRY_VERIFY(window->isActiveWindow());
      QMdiSubWindow* modelFrame = window->frameOf(window->modelWindow());
      Click(modelFrame, {modelFrame->width() / 2, 8});  // its title bar
      QCOMPARE(area->activeSubWindow(), window->frameOf(window->modelWindow()));
      services.prompts.files = {files.path("fitted.par")};
      Click(window->toolbar().btnSave);
      QMdiSubWindow* plotFrame = window->frameOf(plot);
      Click(plotFrame, {plotFrame->width() / 2, 8});
      QCOMPARE(area->activeSubWindow(), window->frameOf(plot));
      services.prompts.files = {files.path("fitted.dat")};
      Click(window->toolbar().btnSave);
      QVERIFY(QFile::exists(files.path("fitted.par")) && QFile::exists(files.path("fitted.dat")));

      // The summary printed to PDF, the curves copied.
      services.desktop.pdfFile = files.path("summary.pdf");
      Click(window->toolbar().btnPrint);
      QVERIFY(QFileInfo(services.desktop.pdfFile).size() > 5000);
      QApplication::clipboard()->clear();
      ChooseFromMenu(*window, Qt::Key_E, Qt::Key_C);
      const QStringList copied = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
      QCOMPARE(copied.size(), static_cast<qsizetype>(fitted.size()));

      // X-rays in the settings, a placement of its own, and exit through the menu.
      Click(window->toolbar().btnSettings);
      TSettingsDlg& settings = window->settingsDialog();
      QTRY_VERIFY(settings.isVisible());
      ChoosePage(settings.findChild<QTabWidget*>("PageControl1"), 5);
      ClickMark(settings.findChild<QRadioButton*>("RBXrays"));
      Picture("09-settings");
      for (QPushButton* button : settings.findChildren<QPushButton*>()) {
        if (button->text() == "&OK") Click(button);
      }
      QTRY_VERIFY(!settings.isVisible());
      window->setGeometry(60, 50, 1180, 760);
      QTest::qWait(100);
      placement = window->geometry();
      ChooseFromMenu(*window, Qt::Key_F, Qt::Key_X);
      QTRY_VERIFY(!window->isVisible());
      QVERIFY(services.prompts.questions.isEmpty());  // saved: nothing to ask
    }

    // The files: the saved model gives the same curve, the curve file holds the fitted one.
    SampleModel model;
    CalcSettings calculation;
    EditorState editor;
    ReadModelFile(ToPath(files.path("fitted.par")), model, calculation, editor);
    MeasuredData measured;
    PromptedLoadQuestions questions(services.prompts);
    LoadMeasuredData(ToPath(examples + "/multilayer_measured.dat"), measured, questions);
    calculation.cbUserRange = false;
    const ReflCurve again = RunReflectivityCalculation(model, calculation, measured).plain;
    QCOMPARE(again.size(), fitted.size());
    for (std::size_t i = 0; i < fitted.size(); ++i) {
      QVERIFY(std::abs(again.y[i] - fitted[i].y()) <= 1e-9 * fitted[i].y());
    }
    const auto columns = FileColumns(files.path("fitted.dat"));
    QCOMPARE(columns.size(), fitted.size());
    for (std::size_t i = 0; i < fitted.size(); i += 17) {
      QVERIFY(std::abs(columns[i].second - fitted[i].y()) <= 1e-3 * fitted[i].y());
    }

    // Started again: the placement, the weighting and the radiation are as they were left.
    auto window = services.start({"nosplash"});
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    Settle(*window);
    Picture("10-started-again");
    QCOMPARE(window->geometry(), placement);
    QCOMPARE(window->fitSession().settings().weighting, Weighting::GivenErrors);
    QCOMPARE(window->state().settings.radiation, Radiation::Xrays);
    window->close();
  }
};

}  // namespace quorrel

QTEST_MAIN(quorrel::SessionTest)
#include "session_test.moc"
