// Projects through the windows: the example two-contrast project opens with its measurements,
// fits from the dialog with the setup it keeps, saves, and opens again as it was; the spin
// valve's four channels fit from the dialog too.

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include "qt_test_registry.h"
#include "test_services.h"
#include "files/project_file.h"
#include "ui/calc/calculation_runner.h"
#include "ui/fit/fit_dialog.h"
#include "ui/main/measurements_panel.h"
#include "ui/plot/reflectivity_window.h"

namespace quorrel {

using testing::ScratchFiles;
using testing::TestServices;

class ProjectWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void theExampleProjectFitsSavesAndOpensAgainAsItWas() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    QVERIFY(window->openProjectFile(QUORREL_EXAMPLES "/contrasts/film.qproj"));
    auto* table = window->findChild<QTableWidget*>("tblMeasurements");
    QVERIFY(table->isVisible());
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(1, 0)->text(), QString("H2O"));
    QCOMPARE(table->item(1, 5)->text(), QString("rho_bulk = -5.6E-7"));
    // Both contrasts' points and curves are drawn.
    QTRY_VERIFY(window->plotWindow().graph().hasSeries(22));
    QTRY_VERIFY(window->plotWindow().graph().hasSeries(23));

    QStringList ticked;
    QTimer::singleShot(0, window.get(), [&window, &ticked] {
      TFitDlg& dialog = window->fitDialog();
      QTRY_VERIFY(dialog.isVisible());
      auto* list = dialog.findChild<QListWidget*>("CheckListBox1");
      for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked) ticked << list->item(row)->text();
      }
      // The selected entry's bounds, from the project.
      list->setCurrentRow(2);
      QCOMPARE(dialog.findChild<QLineEdit*>("edtUpper")->text(), QString("30"));
      dialog.findChild<QPushButton*>("btn1iter")->click();
      QTRY_VERIFY_WITH_TIMEOUT(dialog.findChild<QPushButton*>("btn1iter")->isEnabled(), 60000);
      dialog.findChild<QPushButton*>("OKBtn")->click();
    });
    window->fit();
    QCOMPARE(ticked.size(), 8);
    QVERIFY(ticked.last().startsWith("background y0 [H2O]"));
    QVERIFY(window->state().lastFit);
    const double d2 = std::stod(window->state().model.baseGrid.cell(3, kColThickness));
    QVERIFY(std::abs(d2 - 85.0) < 1.0);
    QVERIFY(std::abs(window->state().measurements[0].scale - 0.9) < 0.01);

    services.prompts.files = {files.path("fitted.qproj")};
    QVERIFY(window->saveProjectAs());
    const std::string saved = ProjectText(window->document().project(), {}, DataFileHashes::Left);
    QVERIFY(window->openProjectFile(files.path("fitted.qproj")));
    QCOMPARE(ProjectText(window->document().project(), {}, DataFileHashes::Left), saved);
    QVERIFY(!window->document().projectChanged());
    QCOMPARE(window->state().fitSetup.entries.size(), std::size_t{8});
    QCOMPARE(services.prompts.errors, QStringList());
  }

  void theSpinValveFitsItsFourChannelsFromTheDialog() {
    TestServices services;
    auto window = services.start();
    window->show();
    QVERIFY(window->openProjectFile(QUORREL_EXAMPLES "/spin_valve/spin_valve.qproj"));
    QCOMPARE(window->state().measurements.size(), std::size_t{4});
    QVERIFY(SpinFlipOn(window->state().settings));
    QTimer::singleShot(0, window.get(), [&window] {
      TFitDlg& dialog = window->fitDialog();
      QTRY_VERIFY(dialog.isVisible());
      dialog.findChild<QPushButton*>("btn1iter")->click();
      QTRY_VERIFY_WITH_TIMEOUT(dialog.findChild<QPushButton*>("btn1iter")->isEnabled(), 60000);
      dialog.findChild<QPushButton*>("OKBtn")->click();
    });
    window->fit();
    // The free layer's slices twist from 30 to 80 degrees; the project starts them at 60.
    const TextGrid& grid = window->state().model.baseGrid;
    const double truth[] = {30.0, 55.0, 80.0};
    for (int slice = 0; slice < 3; ++slice) {
      const double angle = std::stod(grid.cell(3 + slice, kColThetaM));
      QVERIFY2(std::abs(angle - truth[slice]) < 2.0, grid.cell(3 + slice, kColThetaM).c_str());
    }
    QCOMPARE(grid.cell(4, kColMagRe), grid.cell(3, kColMagRe));
    QCOMPARE(services.prompts.errors, QStringList());
  }
};

QUORREL_QT_TEST(ProjectWindowTest)

}  // namespace quorrel

#include "project_window_test.moc"
