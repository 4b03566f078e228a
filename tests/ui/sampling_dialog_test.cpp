// "&Sample posterior..." from the main window: enabled by the data, the dialog's entries and
// bounds, a run on its worker to the posterior's window and the bands, and Stop.

#include <QAction>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include "graph/corner_plot.h"
#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/fit/posterior_window.h"
#include "ui/fit/sampling_dialog.h"
#include "ui/main/main_window.h"
#include "ui/plot/posterior_band.h"
#include "ui/plot/profile_window.h"
#include "ui/plot/reflectivity_window.h"

namespace quorrel {

using testing::TestServices;

namespace {

int RowOf(QTableWidget& table, const QString& label) {
  for (int row = 0; row < table.rowCount(); ++row) {
    if (table.item(row, 0)->text().startsWith(label)) return row;
  }
  return -1;
}

}  // namespace

class SamplingDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void aRunGivesThePosteriorWindowAndTheBandsAndStopKeepsTheSteps() {
    TestServices services;
    auto window = services.start();
    window->show();
    QAction* item = window->findChild<QAction*>("mnuSamplePosterior");
    QVERIFY(item != nullptr);
    QCOMPARE(item->text(), QString("&Sample posterior..."));
    QVERIFY(!item->isEnabled());
    window->loadDataFile(QUORREL_EXAMPLES "/multilayer_measured.dat");
    window->loadModelFile(QUORREL_EXAMPLES "/multilayer.par");
    QVERIFY(item->isEnabled());
    item->trigger();
    TSamplingDlg& dialog = window->samplingDialog();
    QVERIFY(dialog.isVisible());
    QTableWidget& table = dialog.entries();
    const int d1 = RowOf(table, "d_ML1");
    QVERIFY(d1 >= 0);
    table.item(d1, 0)->setCheckState(Qt::Checked);
    // Without bounds the run is refused by name; with them it runs.
    dialog.sampleButton().click();
    QVERIFY(!services.prompts.errors.isEmpty());
    QVERIFY(services.prompts.errors.last().contains("give d_ML1 a lower and an upper bound"));
    QVERIFY(!dialog.running());
    table.item(d1, 1)->setText("65");
    table.item(d1, 2)->setText("75");
    dialog.walkers().setValue(8);
    dialog.burnIn().setValue(10);
    dialog.steps().setValue(30);
    dialog.sampleButton().click();
    QVERIFY(dialog.running());
    QVERIFY(!dialog.sampleButton().isEnabled() && dialog.stopButton().isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), 20000);
    QTRY_VERIFY(dialog.posteriorWindow() != nullptr && dialog.posteriorWindow()->isVisible());
    TfrmPosterior& posterior = *dialog.posteriorWindow();
    QCOMPARE(posterior.summary().rowCount(), 1);
    QCOMPARE(posterior.summary().item(0, 0)->text(), QString("d_ML1"));
    const QString median = posterior.summary().item(0, 1)->text();
    QVERIFY2((median.startsWith("70") || median.startsWith("69")) && median.contains(" +") && median.contains(" -"),
             qPrintable(median));
    QCOMPARE(posterior.cornerPlot().valueCount(), 1);
    QVERIFY(posterior.notes().contains("8 walkers, 10 burn-in and 30 steps"));
    QVERIFY(window->plotWindow().graph().hasCurveBand(kBand68));
    QVERIFY(window->profileWindow().graph().hasCurveBand(kBand95));

    // Stop during a long run: the steps so far make the posterior.
    dialog.steps().setValue(1000000);
    dialog.sampleButton().click();
    QTest::qWait(300);
    dialog.stopButton().click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.running(), 20000);
    QTRY_VERIFY(posterior.notes().contains("(stopped)"));
  }
};

QUORREL_QT_TEST(SamplingDialogTest)

}  // namespace quorrel

#include "sampling_dialog_test.moc"
