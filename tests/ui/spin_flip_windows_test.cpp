// Spin flip from the windows: the settings' switch shows the angle column in the model
// editor, the reflectivity window draws the four channels and their asymmetry, the profile
// window the magnetic density and the angle; switched off, everything is as before.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QtTest>

#include "files/model_file_writer.h"
#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/model/model_window.h"
#include "ui/plot/profile_window.h"
#include "ui/plot/reflectivity_slots.h"
#include "ui/plot/reflectivity_window.h"
#include "ui/settings/settings_dialog.h"

namespace quorrel {

using testing::ScratchFiles;
using testing::TestServices;
using namespace reflectivity_slot;

class SpinFlipWindowsTest : public QObject {
  Q_OBJECT

 private:
  //! Clicks near the left end, where a check box has its mark.
  static void click(TSettingsDlg& dialog, const char* name) {
    auto* box = dialog.findChild<QAbstractButton*>(name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  }
  static bool shown(TSettingsDlg& dialog, const char* name) {
    return dialog.findChild<QWidget*>(name)->isVisible();
  }

 private slots:
  void theSwitchShowsTheAngleColumnAndTheFourChannels() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    QTRY_COMPARE(window->calculations().running(), 0);
    TSettingsDlg& dialog = window->settingsDialog();
    dialog.show();
    QAbstractItemModel* cells = window->modelWindow().findChild<QTableView*>("BaseGrid")->model();
    const auto* frame = qobject_cast<QMdiSubWindow*>(window->modelWindow().parentWidget());
    QVERIFY(frame != nullptr);
    const int width = frame->width();
    QCOMPARE(cells->columnCount(), 6);
    QVERIFY(!shown(dialog, "cbSpinFlip"));

    // The switch belongs to the magnetization; the column follows the switch.
    click(dialog, "cbMagnet");
    QVERIFY(shown(dialog, "cbSpinFlip"));
    QVERIFY(!shown(dialog, "edtAguide"));
    QCOMPARE(cells->columnCount(), 6);
    click(dialog, "cbSpinFlip");
    QVERIFY(shown(dialog, "edtAguide") && shown(dialog, "edtField"));
    QCOMPARE(cells->columnCount(), 7);
    QCOMPARE(cells->headerData(6, Qt::Horizontal).toString(), QString("theta(mag)"));
    QCOMPARE(cells->index(1, 6).data().toString(), QString("90"));
    QCOMPARE(frame->width(), width + TfrmModel::kAngleColumnWidth);

    // Layer 1 magnetised across the guide field: its angle reaches the calculation.
    QVERIFY(cells->setData(cells->index(1, 4), "2e-6", Qt::EditRole));
    QVERIFY(cells->setData(cells->index(1, 6), "0", Qt::EditRole));
    QCOMPARE(window->state().model.baseGrid.cell(2, kColThetaM), std::string("0"));
    window->recalculate();
    QTRY_COMPARE(window->calculations().running(), 0);
    XyGraph& graph = window->plotWindow().graph();
    QVERIFY(!graph.hasSeries(kSpinUp));
    QCOMPARE(graph.seriesName(kUpDown), QString("R+-"));
    double flipped = 0;
    for (const QPointF& point : graph.points(kUpDown)) flipped = std::max(flipped, point.y());
    QVERIFY(flipped > 1e-4);
    QCOMPARE(graph.points(kUpUp).size(), graph.points(kPlain).size());
    XyGraph& profile = window->profileWindow().graph();
    QVERIFY(profile.hasResidualStrip());
    QCOMPARE(profile.seriesName(TfrmProfile::kMagneticSlot), QString("magnetic"));
    QCOMPARE(profile.residuals().at(profile.residuals().size() / 2).y(), 0.0);

    // The asymmetry replaces the curves on a linear axis, and gives them back.
    window->plotWindow().setPlotChoices({.view = ReflectivityView::SpinAsymmetry});
    QVERIFY(graph.hasSeries(kSpinAsymmetry) && !graph.hasSeries(kUpUp));
    QCOMPARE(graph.axisScale(GraphAxis::Y), AxisScale::Linear);
    window->plotWindow().setPlotChoices({.view = ReflectivityView::R});
    QVERIFY(graph.hasSeries(kUpUp) && !graph.hasSeries(kSpinAsymmetry));
    QCOMPARE(graph.axisScale(GraphAxis::Y), AxisScale::Logarithmic);

    // The curves copied: a line naming the columns, then Qz, R and the four channels, without
    // empty spin-curve columns.
    window->findChild<QMdiArea*>("mdiArea")->setActiveSubWindow(
        window->frameOf(window->plotWindow()));
    window->findChild<QAction*>("mnuCopyData")->trigger();
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 101);
    QVERIFY2(lines[0].contains("R--") && lines[0].contains("R++"), qPrintable(lines[0]));
    QCOMPARE(lines[10].split('\t').size(), 6);

    // The model file keeps the collinear part only, and says so.
    services.prompts.files = {files.path("spin.par")};
    QVERIFY(window->saveModel());
    QCOMPARE(services.prompts.informations.back(), QString(kCollinearModelFileMessage));

    // Switched off: the editor, the curves and the profile as without spin flip.
    click(dialog, "cbSpinFlip");
    QCOMPARE(cells->columnCount(), 6);
    QCOMPARE(frame->width(), width);
    window->recalculate();
    QTRY_COMPARE(window->calculations().running(), 0);
    QVERIFY(graph.hasSeries(kSpinUp) && !graph.hasSeries(kUpUp));
    QVERIFY(!profile.hasResidualStrip() && !profile.hasSeries(TfrmProfile::kMagneticSlot));
    const qsizetype messages = services.prompts.informations.size();
    services.prompts.files = {files.path("collinear.par")};
    QVERIFY(window->saveModel());
    QCOMPARE(services.prompts.informations.size(), messages);
    QVERIFY(services.prompts.errors.isEmpty());
  }

  void aLayerTableOpensAsASpinFlipModel() {
    TestServices services;
    auto window = services.start();
    window->show();
    QVERIFY(window->loadModelFile(QUORREL_EXAMPLES "/spin_valve.layers"));
    const SampleModel& model = window->state().model;
    QCOMPARE(model.edtLayers, 7);
    QCOMPARE(model.baseGrid.cell(3, kColThetaM), std::string("30"));
    QVERIFY(SpinFlipOn(window->state().settings));
    QCOMPARE(window->modelWindow().windowTitle(), QString("Model - spin_valve.layers"));
    const QAbstractItemModel* cells =
        window->modelWindow().findChild<QTableView*>("BaseGrid")->model();
    QCOMPARE(cells->columnCount(), 7);
    window->recalculate();
    QTRY_COMPARE(window->calculations().running(), 0);
    QVERIFY(window->plotWindow().graph().hasSeries(kUpDown));
    QVERIFY(services.prompts.errors.isEmpty());
    QVERIFY(!window->loadModelFile(QUORREL_EXAMPLES "/no such table.layers"));
    QCOMPARE(services.prompts.errors.size(), 1);
  }
};

QUORREL_QT_TEST(SpinFlipWindowsTest)

}  // namespace quorrel

#include "spin_flip_windows_test.moc"
