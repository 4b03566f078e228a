// The fit from the main window through its dialog: openings, OK and Cancel with and without a
// run, the options, a failed run, and a whole fit of the multilayer example that recovers
// its thicknesses, with Stop in a second run.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "common/number_conversion.h"
#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/fit/fit_dialog.h"
#include "ui/model/model_window.h"
#include "ui/plot/reflectivity_slots.h"
#include "ui/plot/reflectivity_window.h"

namespace quorrel {

using testing::ScratchFiles;
using testing::TestServices;

namespace {

//! The multilayer example with its measured data, the two period thicknesses set off.
std::unique_ptr<TForm1> MultilayerWindow(TestServices& services) {
  auto window = services.start();
  window->show();
  window->loadDataFile(QUORREL_EXAMPLES "/multilayer_measured.dat");
  window->loadModelFile(QUORREL_EXAMPLES "/multilayer.par");
  window->state().model.mlGrid.setCell(1, kColThickness, "80");
  window->state().model.mlGrid.setCell(2, kColThickness, "60");
  window->modelWindow().refresh();
  return window;
}

double Cell(const TextGrid& grid, int row, int column) {
  return LocaleToDouble(grid.cell(row, column)).value_or(-1);
}

template <typename T>
T* Control(TFitDlg& dialog, const char* name) {
  return dialog.findChild<T*>(name);
}

//! Runs `steps` on the shown dialog once the fit command has opened it. A dialog that a
//! failed step left open is cancelled, so the command returns and the test can report.
void WhenOpen(TForm1& window, std::function<void(TFitDlg&)> steps) {
  QTimer::singleShot(0, &window, [&window, steps] {
    TFitDlg& dialog = window.fitDialog();
    QTRY_VERIFY(dialog.isVisible());
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    steps(dialog);
    if (dialog.isVisible()) Control<QPushButton>(dialog, "CancelBtn")->click();
  });
}

void Tick(TFitDlg& dialog, int entry) {
  QListWidgetItem* item = Control<QListWidget>(dialog, "CheckListBox1")->item(entry);
  item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

//! "&do it", and back when the run has ended.
void DoIt(TFitDlg& dialog) {
  Control<QPushButton>(dialog, "btn1iter")->click();
  QTRY_VERIFY_WITH_TIMEOUT(Control<QPushButton>(dialog, "btn1iter")->isEnabled(), 60000);
}

}  // namespace

class FitDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void aWholeFitRecoversTheThicknessesAndStopEndsASecondRun() {
    TestServices services;
    auto window = MultilayerWindow(services);
    window->state().settings.cbUserRange = true;  // the fit switches it off first
    bool stopPressed = false;
    WhenOpen(*window, [&](TFitDlg& dialog) {
      Control<QCheckBox>(dialog, "cbRsltn")->setChecked(true);
      Control<QCheckBox>(dialog, "cbBackground")->setChecked(true);
      Tick(dialog, 9);   // d_ML1
      Tick(dialog, 13);  // d_ML2
      DoIt(dialog);
      QVERIFY(Control<QLabel>(dialog, "lblconverged")->isVisible());
      QVERIFY(Control<QLabel>(dialog, "lblChisq")->text().contains("E"));
      const QString fitted = Control<QListWidget>(dialog, "CheckListBox1")->item(9)->text();
      QVERIFY2(fitted.contains("7.0") || fitted.contains("6.99"), qPrintable(fitted));

      // A second run over many values, stopped at its first trial.
      for (int entry : {2, 5, 8, 10, 12, 14, 16}) Tick(dialog, entry);
      connect(&dialog, &TFitDlg::statusText, &dialog, [&](const QString& text) {
        if (stopPressed || text.isEmpty()) return;
        stopPressed = true;
        Control<QPushButton>(dialog, "btnStop")->click();
      });
      DoIt(dialog);
      QVERIFY(stopPressed);
      QVERIFY(!Control<QLabel>(dialog, "lblconverged")->isVisible());
      Control<QPushButton>(dialog, "OKBtn")->click();
    });
    window->fit();
    QVERIFY(!window->state().settings.cbUserRange);
    QVERIFY(window->fitSession().fitAccepted());
    const TextGrid& stack = window->state().model.mlGrid;
    QVERIFY(std::abs(Cell(stack, 1, kColThickness) - 70) < 1.0);
    QVERIFY(std::abs(Cell(stack, 2, kColThickness) - 70) < 1.0);
    QCOMPARE(window->state().data.fitRegionLow, -1.0);
    QVERIFY(window->calculations().running() >= 2);  // with any edits still being followed
    QTRY_COMPARE(window->calculations().running(), 0);
    // A new data load clears the accepted fit.
    window->loadDataFile(QUORREL_EXAMPLES "/multilayer_measured.dat");
    QVERIFY(!window->fitSession().fitAccepted());
  }

  void levenbergMarquardtListsTheErrorsAndStopEndsItsRun() {
    TestServices services;
    auto window = MultilayerWindow(services);
    WhenOpen(*window, [&](TFitDlg& dialog) {
      QVERIFY(Control<QRadioButton>(dialog, "RBSearch")->isChecked());
      Control<QRadioButton>(dialog, "RBLevenbergMarquardt")->click();
      QVERIFY(!Control<TRealEdit>(dialog, "edtTolerance")->isEnabled());
      Control<QCheckBox>(dialog, "cbRsltn")->setChecked(true);
      Control<QCheckBox>(dialog, "cbBackground")->setChecked(true);
      Tick(dialog, 9);   // d_ML1
      Tick(dialog, 13);  // d_ML2
      DoIt(dialog);
      QVERIFY(Control<QLabel>(dialog, "lblconverged")->isVisible());
      auto* list = Control<QListWidget>(dialog, "CheckListBox1");
      const QString fitted = list->item(9)->text();
      QVERIFY2(fitted.contains(QString::fromUtf8(" \u00b1 ")), qPrintable(fitted));
      QVERIFY2(fitted.contains("7.0") || fitted.contains("6.99"), qPrintable(fitted));
      QVERIFY(!list->item(2)->text().contains(QString::fromUtf8("\u00b1")));
      QVERIFY(services.prompts.informations.isEmpty());  // well conditioned: no warning

      // A second run over many values, stopped before its first trial has ended (a run that
      // may converge before a later Stop arrives would make this a race), reports no errors.
      for (int entry : {2, 5, 8, 10, 12, 14, 16}) Tick(dialog, entry);
      Control<QPushButton>(dialog, "btn1iter")->click();
      QVERIFY(Control<QPushButton>(dialog, "btnStop")->isEnabled());
      Control<QPushButton>(dialog, "btnStop")->click();
      QTRY_VERIFY_WITH_TIMEOUT(Control<QPushButton>(dialog, "btn1iter")->isEnabled(), 60000);
      QVERIFY(!Control<QLabel>(dialog, "lblconverged")->isVisible());
      QVERIFY(!list->item(9)->text().contains(QString::fromUtf8("\u00b1")));
      Control<QPushButton>(dialog, "OKBtn")->click();
    });
    window->fit();
    QVERIFY(window->fitSession().fitAccepted());
    // The method is kept with the other options of an accepted fit.
    QCOMPARE(window->fitSession().settings().method, FitMethod::LevenbergMarquardt);
    QTRY_COMPARE(window->calculations().running(), 0);
  }

  void everyOpeningStartsUntickedAndOkWithoutARunRewritesTheGrids() {
    TestServices services;
    auto window = MultilayerWindow(services);
    WhenOpen(*window, [](TFitDlg& dialog) {
      Tick(dialog, 2);
      Control<QPushButton>(dialog, "CancelBtn")->click();
    });
    window->fit();
    QVERIFY(!window->fitSession().fitAccepted());
    QCOMPARE(window->state().model.mlGrid.cell(1, kColThickness), std::string("80"));

    window->state().data.fitRegionLow = 0.02;
    WhenOpen(*window, [](TFitDlg& dialog) {
      QCOMPARE(Control<QListWidget>(dialog, "CheckListBox1")->item(2)->checkState(),
               Qt::Unchecked);
      Control<QPushButton>(dialog, "OKBtn")->click();
    });
    window->fit();
    QVERIFY(window->fitSession().fitAccepted());
    // Written back with the write-back pattern: the same values, as the editor now shows.
    QCOMPARE(Cell(window->state().model.mlGrid, 1, kColThickness), 80.0);
    QCOMPARE(window->state().data.fitRegionLow, -1.0);
    QCOMPARE(window->state().data.fitRegionHigh, -1.0);
    QVERIFY(!window->plotWindow().graph().hasSeries(reflectivity_slot::kRegionMarkers));
    QVERIFY(window->calculations().running() >= 2);  // with any edits still being followed
    QTRY_COMPARE(window->calculations().running(), 0);
  }

  void cancelAfterARunKeepsTheEditorsValues() {
    TestServices services;
    auto window = MultilayerWindow(services);
    WhenOpen(*window, [](TFitDlg& dialog) {
      Tick(dialog, 9);
      DoIt(dialog);
      Control<QPushButton>(dialog, "CancelBtn")->click();
    });
    window->fit();
    QCOMPARE(window->state().model.mlGrid.cell(1, kColThickness), std::string("80"));
    QVERIFY(!window->fitSession().fitAccepted());
  }

  void aFailedRunDisablesOkUntilARunSucceeds() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    // Without errors, the weighting by the given errors cannot be formed.
    window->loadDataFile(files.write(
        "no_errors.dat", "0.01\t0.9\t0\r\n0.02\t0.1\t0\r\n0.03\t0.01\t0\r\n0.04\t0.004\t0\r\n"));
    WhenOpen(*window, [&services](TFitDlg& dialog) {
      Control<QRadioButton>(dialog, "RBErrors")->click();
      Tick(dialog, 2);
      DoIt(dialog);
      QCOMPARE(services.prompts.errors, QStringList{"one of the parameters ran out of bounds..."});
      QVERIFY(!Control<QPushButton>(dialog, "OKBtn")->isEnabled());
      Control<QRadioButton>(dialog, "RBStat")->click();
      DoIt(dialog);
      QVERIFY(Control<QPushButton>(dialog, "OKBtn")->isEnabled());
      Control<QPushButton>(dialog, "CancelBtn")->click();
    });
    window->fit();
  }

  void theToleranceFollowsTheRunModeAndIsKeptInItsRange() {
    TestServices services;
    auto window = MultilayerWindow(services);
    WhenOpen(*window, [](TFitDlg& dialog) {
      auto* tolerance = Control<TRealEdit>(dialog, "edtTolerance");
      Control<QRadioButton>(dialog, "RBchisq")->click();
      QVERIFY(!tolerance->isEnabled());
      Control<QRadioButton>(dialog, "RBfulliter")->click();
      QVERIFY(tolerance->isEnabled());
      tolerance->setFocus();
      tolerance->selectAll();
      QTest::keyClicks(tolerance, "5");
      Control<QPushButton>(dialog, "HelpBtn")->setFocus();  // leaving the field checks it
      QCOMPARE(tolerance->value(), 1.0);
      QCOMPARE(tolerance->palette().color(QPalette::Text), QColor(Qt::red));
      Control<QPushButton>(dialog, "CancelBtn")->click();
    });
    window->fit();
    QCOMPARE(window->fitSession().settings().tolerance, 1.0);
  }
};

QUORREL_QT_TEST(FitDialogTest)

}  // namespace quorrel

#include "fit_dialog_test.moc"
