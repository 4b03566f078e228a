// Measured data beyond the tab-separated file: ORSO files with their data sets and their
// resolution, and plain text tables through the import dialog, loaded and fitted.

#include <cmath>
#include <numbers>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "common/number_conversion.h"
#include "common/number_format.h"
#include "model/layer_stack_builder.h"
#include "physics/reflectance_batch.h"
#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/files/import_dialog.h"
#include "ui/fit/fit_dialog.h"
#include "ui/plot/reflectivity_slots.h"
#include "ui/plot/reflectivity_window.h"
#include "ui/settings/settings_dialog.h"

namespace quorrel {

using testing::ScratchFiles;
using testing::TestServices;

namespace {

const QString kData = QUORREL_TEST_DATA;

template <typename T>
T* Control(QWidget& parent, const char* name) {
  return parent.findChild<T*>(name);
}

//! A laboratory scan of the default model (25 Å on silicon) at 1.5406 Å: a header, then
//! 2theta in degrees and R separated by blanks.
QByteArray TwoThetaScan() {
  LayerStack stack;
  BuildLayerStack(SampleModel(), SpinState::None, stack);
  std::vector<double> twoTheta, qz;
  for (int i = 0; i < 80; ++i) {
    twoTheta.push_back(0.2 + 0.05 * i);
    qz.push_back(4 * std::numbers::pi / 1.5406 * std::sin(twoTheta.back() / 2 * std::numbers::pi / 180));
  }
  std::vector<double> r(qz.size());
  ReflectanceBatch(stack, qz, r);
  QByteArray text = "# XRR scan, Cu K-alpha\n  2Theta    Intensity\n";
  for (std::size_t i = 0; i < r.size(); ++i) {
    text += QByteArray::fromStdString(FormatFull(twoTheta[i], '.') + "   " + FormatFull(r[i], '.') + "\n");
  }
  return text;
}

//! Runs `steps` on the import dialog once the import command has opened it.
void WhenImporting(TForm1& window, std::function<void(TImportDlg&)> steps) {
  QTimer::singleShot(0, &window, [&window, steps] {
    TImportDlg& dialog = window.importDialog();
    QTRY_VERIFY(dialog.isVisible());
    steps(dialog);
    if (dialog.isVisible()) dialog.reject();
  });
}

//! Fits list entry `entry` (d_1 in both models here) through the fit dialog and accepts it.
void FitEntry(TForm1& window, int entry, bool resolution) {
  QTimer::singleShot(0, &window, [&window, entry, resolution] {
    TFitDlg& dialog = window.fitDialog();
    QTRY_VERIFY(dialog.isVisible());
    Control<QCheckBox>(dialog, "cbRsltn")->setChecked(resolution);
    QListWidgetItem* item = Control<QListWidget>(dialog, "CheckListBox1")->item(entry);
    item->setCheckState(Qt::Checked);
    Control<QPushButton>(dialog, "btn1iter")->click();
    QTRY_VERIFY_WITH_TIMEOUT(Control<QPushButton>(dialog, "btn1iter")->isEnabled(), 60000);
    Control<QPushButton>(dialog, "OKBtn")->click();
  });
  window.fit();
}

double Thickness(TForm1& window) {
  return LocaleToDouble(window.state().model.baseGrid.cell(2, kColThickness)).value_or(-1);
}

}  // namespace

class DataImportTest : public QObject {
  Q_OBJECT

 private slots:
  void anOrsoFileOfTwoDataSetsAsksWhichOne() {
    TestServices services;
    auto window = services.start();
    window->show();
    services.prompts.files = {kData + "/ort/two_spin_states.ort"};
    services.prompts.choices = {1};
    window->loadData();
    QCOMPARE(services.prompts.requests.back().filter,
             QString("reflectivity data (*.dat);;ORSO reflectivity (*.ort)"));
    QCOMPARE(services.prompts.questions.back(),
             QString("two_spin_states.ort holds several data sets; load spin up | spin down | "
                     "all data sets as measurements of a project"));
    QCOMPARE(window->state().data.count(), 2);
    QCOMPARE(window->plotWindow().graph().points(reflectivity_slot::kMeasured).size(), 2u);
    QVERIFY(window->windowTitle().endsWith("two_spin_states.ort"));
    QVERIFY(window->menu().mnuFit->isEnabled());
    QVERIFY(services.prompts.informations.isEmpty());  // no note: every column is there
    QTRY_COMPARE(window->calculations().running(), 0);
  }

  void everyDataSetOfAnOrsoFileBecomesAMeasurementOfAProject() {
    TestServices services;
    auto window = services.start();
    window->show();
    QVERIFY(!window->document().projectOpen());
    services.prompts.files = {kData + "/ort/two_spin_states.ort"};
    services.prompts.choices = {2};
    window->loadData();
    QVERIFY(window->document().projectOpen());
    const std::vector<Measurement> measurements = window->document().fitMeasurements();
    QCOMPARE(measurements.size(), 2u);
    QCOMPARE(measurements[0].label, std::string("spin up"));
    QCOMPARE(measurements[1].label, std::string("spin down"));
    QCOMPARE(measurements[1].data.count(), 2);
    QCOMPARE(measurements[1].data.r.front(), 0.8);
    QCOMPARE(window->state().data.count(), 3);  // the first data set is the one shown
    QVERIFY(window->menu().mnuFit->isEnabled());
    QVERIFY(window->document().projectChanged());  // "Save changes to the new project?"
    QTRY_COMPARE(window->calculations().running(), 0);
  }

  void theResolutionOfAnOrsoFileIsOfferedAndFitted() {
    TestServices services;
    auto window = services.start();
    window->show();
    TSettingsDlg& settings = window->settingsDialog();
    auto* fromData = Control<QCheckBox>(settings, "cbDataResolution");
    QVERIFY(!fromData->isEnabled());
    window->loadDataFile(kData + "/orso/test5.ort");
    QVERIFY(window->loadModelFile(kData + "/orso/test5.par"));
    QVERIFY(fromData->isEnabled());
    fromData->setChecked(true);
    Control<QComboBox>(settings, "cbSmearing")->setCurrentIndex(1);
    QVERIFY(window->state().settings.resolutionFromData);
    QCOMPARE(window->state().settings.smearing, SmearingKernel::Accurate);
    QVERIFY(!Control<QCheckBox>(settings, "cbVSelector")->isEnabled());

    // The first titanium layer set off by 2 Å comes back to 30 Å.
    window->state().model.baseGrid.setCell(2, kColThickness, "32");
    FitEntry(*window, 2, true);
    QVERIFY2(std::fabs(Thickness(*window) - 30) < 0.05, qPrintable(QString::number(Thickness(*window))));
    QTRY_COMPARE(window->calculations().running(), 0);
    window->close();
    QCOMPARE(services.settings.stored("Last Session/smearing").toString(), QString("accurate"));
    QCOMPARE(services.settings.stored("Last Session/resolutionFromData").toString(), QString("1"));
  }

  void aTwoThetaScanIsImportedThroughItsColumnsAndFitted() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    const QString scan = files.write("scan.xy", TwoThetaScan());
    services.prompts.files = {scan};
    WhenImporting(*window, [](TImportDlg& dialog) {
      // The first import starts from q, R: the preview shows 2theta taken for Qz.
      QCOMPARE(Control<QTableWidget>(dialog, "gridPreview")->item(0, 0)->text(),
               QString("2.0000E-01"));
      Control<QComboBox>(dialog, "cbColumn1")->setCurrentText("2theta");
      QVERIFY(Control<TRealEdit>(dialog, "edtXrayWavelength")->isEnabled());
      QCOMPARE(Control<QTableWidget>(dialog, "gridPreview")->item(0, 0)->text(),
               QString("1.4236E-02"));
      QCOMPARE(Control<QLabel>(dialog, "lblSummary")->text(),
               QString("80 points; 2 comment or header lines skipped; 0 rows with R not above "
                       "zero dropped; 0 rows without Qz or R skipped."));
      dialog.accept();
    });
    window->importData();
    QCOMPARE(window->state().data.count(), 80);
    QVERIFY(std::fabs(window->state().data.qz[0] - 0.0142363) < 1e-7);
    QCOMPARE(services.prompts.informations.back(),
             QString("scan.xy: 2 comment or header lines skipped"));

    // The thickness set off comes back to 25 Å.
    window->state().model.baseGrid.setCell(2, kColThickness, "28");
    FitEntry(*window, 2, false);
    QVERIFY2(std::fabs(Thickness(*window) - 25) < 0.05, qPrintable(QString::number(Thickness(*window))));

    // The next import starts from the columns chosen now.
    services.prompts.files = {scan};
    WhenImporting(*window, [](TImportDlg& dialog) {
      QCOMPARE(Control<QComboBox>(dialog, "cbColumn1")->currentText(), QString("2theta"));
      dialog.reject();
    });
    window->importData();
    QTRY_COMPARE(window->calculations().running(), 0);
  }
};

QUORREL_QT_TEST(DataImportTest)

}  // namespace quorrel

#include "data_import_test.moc"
