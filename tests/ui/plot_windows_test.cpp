// The reflectivity and profile windows in the main window: measured data loaded with its
// questions, the mouse read-out, and the fitting region chosen with Ctrl and the mouse.

#include <QAction>
#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QtTest>

#include "model/sample_model.h"
#include "qt_test_registry.h"
#include "ui/calc/live_recalculation.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/platform/shared_file_dialogs.h"
#include "ui/plot/profile_window.h"
#include "ui/plot/reflectivity_slots.h"
#include "ui/plot/reflectivity_window.h"

namespace quorrel {

using testing::ScratchFiles;
using testing::TestServices;
using namespace reflectivity_slot;

class PlotWindowsTest : public QObject {
  Q_OBJECT

 private:
  //! Five points from Qz 0.01 to 0.05.
  static QByteArray FivePoints() {
    return "0.01\t1\t0.1\r\n0.02\t0.5\t0.05\r\n0.03\t0.1\t0.01\r\n0.04\t0.05\t0.005\r\n"
           "0.05\t0.01\t0.001\r\n";
  }
  static QWidget* plotArea(GraphWindow& window) {
    return window.graph().findChild<QWidget*>("plotArea");
  }
  static QPoint pixelOf(GraphWindow& window, double x, double y) {
    return window.graph().dataToPixel({x, y}).value().toPoint();
  }
  //! Opens the graph's context menu as a right click does, with `modifiers` held, and
  //! returns its item `caption` (nothing when no menu opened).
  static QAction* contextItem(GraphWindow& window, const QString& caption,
                              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (QMenu* old : window.graph().findChildren<QMenu*>()) delete old;
    QWidget* area = plotArea(window);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(100, 100),
                            area->mapToGlobal(QPoint(100, 100)), modifiers);
    QApplication::sendEvent(area, &event);
    auto* menu = window.graph().findChild<QMenu*>("graphContextMenu");
    if (menu == nullptr) return nullptr;
    menu->close();
    for (QAction* action : menu->actions()) {
      if (action->text() == caption) return action;
    }
    return nullptr;
  }

 private slots:
  void aLoadAsksAboutBadLinesAndShowsThePoints() {
    TestServices services;
    ScratchFiles files;
    const QString path = files.write("run.dat", "Qz\tR\tdR\r\n" + FivePoints() + "0.06\t0\t0\r\n");
    auto window = services.start();
    window->show();
    services.prompts.files = {path};
    services.prompts.answers = {LoadAnswer::Ignore, LoadAnswer::Ignore};
    window->loadData();
    QCOMPARE(services.prompts.requests.front().title, QString("Open Reflectivity Data File"));
    QCOMPARE(services.prompts.requests.front().filter,
             QString("reflectivity data (*.dat);;ORSO reflectivity (*.ort)"));
    QCOMPARE(services.prompts.questions,
             (QStringList{"Ooops...\nskipping strange value in line #1",
                          "Ooops...\nvalue smaller than zero in line #6 will be skipped!"}));
    QCOMPARE(window->state().data.count(), 5);
    QCOMPARE(window->windowTitle(), "Quorrel - " + path);
    QVERIFY(!window->state().settings.cbUserRange);
    QCOMPARE(window->state().settings.edtNumPoints, 5);
    QCOMPARE(window->state().data.fitRegionLow, 0.01);
    QCOMPARE(window->state().data.fitRegionHigh, 0.05);
    QCOMPARE(window->statusText(), QString());
    QCOMPARE(window->fileDialogs().openFolder(), files.path(""));
    QVERIFY(window->findChild<QAction*>("mnuFit")->isEnabled());
    const std::vector<QPointF> shown = window->plotWindow().graph().points(kMeasured);
    QCOMPARE(shown.size(), std::size_t{5});
    QCOMPARE(shown[2], QPointF(0.03, 0.1));
    QCOMPARE(window->plotWindow().graph().style(kMeasured), kMeasuredStyle);
    QCOMPARE(window->plotWindow().graph().axisLimits(GraphAxis::X), (AxisLimits{0.01, 0.05}));
  }

  void anAbortedLoadChangesNothing() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    window->loadDataFile(files.write("good.dat", FivePoints()));
    const QString caption = window->windowTitle();
    window->state().data.fitRegionLow = 0.02;
    services.prompts.answers = {LoadAnswer::Abort};
    window->loadDataFile(files.write("bad.dat", "0.01\t1\t0\r\nnonsense\r\n0.03\t1\t0\r\n"));
    QCOMPARE(window->windowTitle(), caption);
    QCOMPARE(window->state().data.count(), 5);
    QCOMPARE(window->state().data.fitRegionLow, 0.02);
    QCOMPARE(window->plotWindow().graph().points(kMeasured).size(), std::size_t{5});
  }

  void anUnreadableFileIsReportedAndNothingChanges() {
    TestServices services;
    auto window = services.start();
    window->show();
    window->loadDataFile("/nonexistent/run.dat");
    QCOMPARE(services.prompts.errors.size(), 1);
    QVERIFY(services.prompts.errors.front().contains("/nonexistent/run.dat"));
    QVERIFY(!window->state().data.loaded());
    QCOMPARE(window->windowTitle(), QString("Quorrel"));
  }

  void ignoringEveryLineLoadsNoPoints() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    window->loadDataFile(files.write("text.dat", "a\tb\r\nc\td\r\n"));
    QVERIFY(window->state().data.loaded());
    QCOMPARE(window->state().data.count(), 0);
    QCOMPARE(window->plotWindow().graph().points(kMeasured).size(), std::size_t{0});
    QVERIFY(window->plotWindow().graph().showsErrorCaption());
  }

  void theMouseIsReadOutInTheStatusBar() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    window->loadDataFile(files.write("run.dat", FivePoints()));
    // The start-up and the data's curves, those the load asks for after its pause included:
    // a profile arriving later would set its axes anew under the mouse.
    QTest::qWait(LiveRecalculation::kDelayMs + 40);
    QTRY_COMPARE(window->calculations().running(), 0);
    TfrmPlot& plot = window->plotWindow();
    QTest::mouseMove(plotArea(plot), pixelOf(plot, 0.03, 0.1));
    const QRegularExpression reflectivity(R"(^Qz =0\.03\d\d; R = \d\.\d{3}E-0\d$)");
    QVERIFY2(reflectivity.match(window->statusText()).hasMatch(), qPrintable(window->statusText()));

    TfrmProfile& profile = window->profileWindow();
    profile.graph().setAxisLimits(GraphAxis::X, {-10, 10});
    profile.graph().setAxisLimits(GraphAxis::Y, {0, 1e-5});
    QTest::mouseMove(plotArea(profile), pixelOf(profile, 5, 2e-6));
    const QRegularExpression depth(R"(^z =\d\.\d{4}; rho = \d\.\d{3}E-06$)");
    QVERIFY2(depth.match(window->statusText()).hasMatch(), qPrintable(window->statusText()));

    // Unusable limits on the logarithmic axis: zeros.
    plot.graph().setAxisLimits(GraphAxis::Y, {0, 1});
    QTest::mouseMove(plotArea(plot), QPoint(100, 100));
    QCOMPARE(window->statusText(), QString("Qz =0.0000; R = 0.000E+00"));
  }

  void ctrlClicksChooseTheFittingRegion() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    window->loadDataFile(files.write("run.dat", FivePoints()));
    TfrmPlot& plot = window->plotWindow();
    QWidget* area = plotArea(plot);
    MeasuredData& data = window->state().data;

    QTest::mouseClick(area, Qt::LeftButton, Qt::ControlModifier, pixelOf(plot, 0.041, 0.01));
    QCOMPARE(data.fitRegionLow, 0.04);
    QCOMPARE(data.fitRegionHigh, -1.0);
    QCOMPARE(plot.graph().points(kRegionMarkers), (std::vector<QPointF>{{0.04, 0.05}}));
    QCOMPARE(plot.graph().style(kRegionMarkers), kMarkerStyle);
    QVERIFY(services.prompts.informations.isEmpty());

    // An upper bound below the lower one: the two are exchanged before the message.
    QTest::mouseClick(area, Qt::RightButton, Qt::ControlModifier, pixelOf(plot, 0.019, 0.01));
    QCOMPARE(data.fitRegionLow, 0.02);
    QCOMPARE(data.fitRegionHigh, 0.04);
    QCOMPARE(services.prompts.informations,
             QStringList{"fitting region is set to 0.020 < Q < 0.040"});
    QCOMPARE(plot.graph().points(kRegionMarkers).size(), std::size_t{2});
    QCOMPARE(plot.graph().shadedBand(), std::optional<AxisLimits>(AxisLimits{0.02, 0.04}));

    // Without Ctrl nothing happens.
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, pixelOf(plot, 0.03, 0.01));
    QCOMPARE(data.fitRegionLow, 0.02);
  }

  void aRightClickFirstStartsTheRegionAtMinusOne() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    window->loadDataFile(files.write("run.dat", FivePoints()));
    TfrmPlot& plot = window->plotWindow();
    window->state().data.fitRegionLow = window->state().data.fitRegionHigh = -1.0;
    QTest::mouseClick(plotArea(plot), Qt::RightButton, Qt::ControlModifier,
                      pixelOf(plot, 0.03, 0.01));
    QCOMPARE(services.prompts.informations,
             QStringList{"fitting region is set to -1.000 < Q < 0.030"});
    // The marker of a right click is drawn as a marker, too.
    QCOMPARE(plot.graph().style(kRegionMarkers), kMarkerStyle);
  }

  void aClickOutsideTheDataRangeSetsNoBound() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    window->loadDataFile(files.write("run.dat", FivePoints()));
    TfrmPlot& plot = window->plotWindow();
    plot.graph().setAxisLimits(GraphAxis::X, {0.02, 0.04});
    const QPoint outside = pixelOf(plot, 0.019, 0.01) - QPoint(20, 0);
    QTest::mouseClick(plotArea(plot), Qt::RightButton, Qt::ControlModifier, outside);
    QCOMPARE(window->state().data.fitRegionHigh, 0.05);
    QVERIFY(services.prompts.informations.isEmpty());
    QTest::mouseClick(plotArea(plot), Qt::LeftButton, Qt::ControlModifier, outside);
    QCOMPARE(window->state().data.fitRegionLow, -1.0);
    QCOMPARE(window->state().data.fitRegionHigh, -1.0);
  }

  void withoutDataCtrlClicksDoNothing() {
    TestServices services;
    auto window = services.start();
    window->show();
    TfrmPlot& plot = window->plotWindow();
    QTest::mouseClick(plotArea(plot), Qt::RightButton, Qt::ControlModifier, QPoint(200, 150));
    QVERIFY(!plot.graph().hasSeries(kRegionMarkers));
    QVERIFY(services.prompts.informations.isEmpty());
  }

  void theErrorBarsAndTheViewRQz4AreDrawnAndTheViewIsKept() {
    TestServices services;
    ScratchFiles files;
    const std::vector<double> qz{0.01, 0.02, 0.03, 0.04, 0.05};
    const std::vector<double> r{1, 0.5, 0.1, 0.05, 0.01};
    {
      auto window = services.start();
      window->show();
      window->loadDataFile(files.write("run.dat", FivePoints()));
      TfrmPlot& plot = window->plotWindow();
      XyGraph& graph = plot.graph();
      QCOMPARE(graph.drawnPoints(kMeasured)[1], (DrawnPoint{0.02, 0.5, 0.05}));
      QVERIFY(graph.style(kMeasured).pointColor != kBlack);
      QCOMPARE(graph.seriesName(kMeasured), QString("measured: run.dat"));
      // R = 1 lies inside the frame, not on its edge.
      QVERIFY(graph.axisLimits(GraphAxis::Y).max > 1.0);

      QVERIFY(contextItem(plot, "R·Qz^4", Qt::ControlModifier) == nullptr);
      contextItem(plot, "R·Qz^4")->trigger();
      const std::vector<DrawnPoint> drawn = graph.drawnPoints(kMeasured);
      QCOMPARE(drawn.size(), std::size_t{5});
      for (std::size_t i = 0; i < drawn.size(); ++i) {
        const double q4 = std::pow(qz[i], 4);
        QCOMPARE(drawn[i].y, r[i] * q4);
        QCOMPARE(drawn[i].error, r[i] / 10 * q4);
      }
      // The data as loaded stay as they are; the axis follows the drawn values.
      QCOMPARE(graph.points(kMeasured)[1], QPointF(0.02, 0.5));
      const AxisLimits y = graph.axisLimits(GraphAxis::Y);
      QVERIFY2(y.min < 1e-8 && y.min > 1e-9 && y.max > 0.05 * std::pow(0.04, 4) && y.max < 1e-6,
               qPrintable(QString("%1 .. %2").arg(y.min).arg(y.max)));

      // Residuals of a curve 10 % below every point: (R - R_fit)/dR = 1.
      contextItem(plot, "Residuals")->trigger();
      ReflectivityResult result;
      for (std::size_t i = 0; i < qz.size(); ++i) result.plain.append(qz[i], r[i] * 0.9);
      result.ranges.takePoint(0.01, 1);
      plot.showReflectivity(result);
      QVERIFY(graph.hasResidualStrip());
      const std::vector<QPointF> residuals = graph.residuals();
      QCOMPARE(residuals.size(), std::size_t{5});
      for (const QPointF& point : residuals) QVERIFY(std::abs(point.y() - 1.0) < 1e-12);
      window->close();
    }
    QCOMPARE(services.settings.stored("Plot/view").toString(), QString("RQz4"));
    auto again = services.start();
    again->show();
    QCOMPARE(again->plotWindow().plotChoices().view, ReflectivityView::RQz4);
    QVERIFY(again->plotWindow().plotChoices().residuals);
    QCOMPARE(contextItem(again->plotWindow(), "R·Qz^4")->isChecked(), true);
  }

  void aBareSubstrateIsOneOverItsFresnelReflectivity() {
    TestServices services;
    auto window = services.start();
    window->show();
    // The layer made of the bulk's material and no roughness anywhere: a bare substrate.
    TextGrid& grid = window->state().model.baseGrid;
    for (const int column : {kColRho, kColImRho}) grid.setCell(2, column, grid.cell(3, column));
    grid.setCell(2, kColSigma, "0");
    grid.setCell(3, kColSigma, "0");
    TfrmPlot& plot = window->plotWindow();
    contextItem(plot, "R/R_Fresnel")->trigger();
    window->calculateReflectivity();
    QTRY_COMPARE(window->calculations().running(), 0);
    QCOMPARE(plot.graph().points(kPlain).size(), std::size_t{100});
    for (const DrawnPoint& point : plot.graph().drawnPoints(kPlain)) {
      QVERIFY2(std::abs(point.y - 1.0) < 1e-9, qPrintable(QString::number(point.x)));
    }
  }

  void theWindowsAreConfiguredAsDesigned() {
    TestServices services;
    auto window = services.start();
    XyGraph& reflectivity = window->plotWindow().graph();
    XyGraph& profile = window->profileWindow().graph();
    QCOMPARE(window->plotWindow().windowTitle(), QString("Reflectivity"));
    QCOMPARE(window->profileWindow().windowTitle(), QString("Profile"));
    QCOMPARE(reflectivity.axisScale(GraphAxis::Y), AxisScale::Logarithmic);
    QCOMPARE(profile.axisScale(GraphAxis::Y), AxisScale::Linear);
    QVERIFY(reflectivity.plotOffGraph() && reflectivity.crossAtZero());
    QVERIFY(!profile.plotOffGraph() && !profile.crossAtZero());
    QCOMPARE(reflectivity.style(kPlain), CurveStyle(kBlack));
    QCOMPARE(window->plotWindow().property("helpContext").toInt(), 80);
    QCOMPARE(window->profileWindow().property("helpContext").toInt(), 70);
  }
};

QUORREL_QT_TEST(PlotWindowsTest)

}  // namespace quorrel

#include "plot_windows_test.moc"
