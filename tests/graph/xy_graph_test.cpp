// The graph component read back through its own interface: series slots and styles, axes and
// their error caption, pixel conversion, the nearest point, zoom, and printing.

#include "graph/xy_graph.h"

#include <cmath>
#include <random>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include "graph/nearest_point.h"
#include "graph/point_reduction.h"

namespace quorrel {

class XyGraphTest : public QObject {
  Q_OBJECT

 private:
  //! A shown graph of known size with fixed linear limits 0 .. 1 on both axes.
  std::unique_ptr<XyGraph> makeGraph() {
    auto graph = std::make_unique<XyGraph>();
    graph->resize(500, 400);
    graph->setAxisLimits(GraphAxis::X, {0, 1});
    graph->setAxisLimits(GraphAxis::Y, {0, 1});
    graph->show();
    (void)QTest::qWaitForWindowExposed(graph.get());
    return graph;
  }
  static QWidget* plotArea(XyGraph& graph) { return graph.findChild<QWidget*>("plotArea"); }
  static QPoint pixelOf(XyGraph& graph, double x, double y) {
    return graph.dataToPixel({x, y}).value().toPoint();
  }

 private slots:
  void aFreedSlotComesBackEmptyWithTheDefaultStyle() {
    XyGraph graph;
    const SeriesStyle red{.lineColor = kRed, .lineStyle = 2};
    graph.setStyle(3, red);
    graph.addPoint(3, 0.1, 1.0);
    QCOMPARE(graph.style(3), red);
    graph.freeSeries(3);
    QVERIFY(!graph.hasSeries(3));
    graph.addPoint(3, 0.2, 2.0);
    QCOMPARE(graph.style(3), SeriesStyle{});
    QCOMPARE(graph.points(3).size(), std::size_t{1});
    QCOMPARE(graph.points(3).front(), QPointF(0.2, 2.0));
  }

  void pointSizesAreEvenAndAtLeastTwoExceptForTheCross_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("drawn");
    QTest::newRow("even") << 6 << 1 << 6;
    QTest::newRow("odd raised") << 5 << 1 << 6;
    QTest::newRow("one") << 1 << 0 << 2;
    QTest::newRow("zero") << 0 << 1 << 2;
    QTest::newRow("cross keeps odd") << 5 << 4 << 5;
    QTest::newRow("cross keeps one") << 1 << 4 << 1;
  }
  void pointSizesAreEvenAndAtLeastTwoExceptForTheCross() {
    QFETCH(int, size);
    QFETCH(int, shape);
    QFETCH(int, drawn);
    XyGraph graph;
    graph.setStyle(0, SeriesStyle{.drawPoints = true, .pointShape = shape, .pointSize = size});
    QCOMPARE(graph.style(0).pointSize, drawn);
  }

  void coloursAreBlueGreenRed() {
    auto graph = makeGraph();
    graph->setStyle(2, SeriesStyle{.lineColor = kBlue});
    graph->setPoints(2, {0, 1}, {0.5, 0.5});
    const QImage image = graph->grab().toImage();
    const QPoint onLine = pixelOf(*graph, 0.5, 0.5);
    int bluePixels = 0;
    for (int dy = -2; dy <= 2; ++dy) {
      const QColor c = image.pixelColor(onLine.x(), onLine.y() + dy);
      if (c.blue() > 180 && c.red() < 90 && c.green() < 90) ++bluePixels;
    }
    QVERIFY(bluePixels > 0);
  }

  void pointsAreAddedAndRemovedByTheirX() {
    XyGraph graph;
    for (double x : {0.3, 0.1, 0.2, 0.2}) graph.addPoint(1, x, x * 10);
    QCOMPARE(graph.points(1).size(), std::size_t{4});
    QCOMPARE(graph.points(1).front().x(), 0.1);  // read back in ascending x
    graph.removePointsAt(1, 0.2);
    const std::vector<QPointF> left = graph.points(1);
    QCOMPARE(left.size(), std::size_t{2});
    QCOMPARE(left[0], QPointF(0.1, 1.0));
    QCOMPARE(left[1], QPointF(0.3, 3.0));
    graph.removePointsAt(7, 0.2);  // an unused slot stays unused
    QVERIFY(!graph.hasSeries(7));
  }

  void unusableLimitsShowTheCaptionAndNoConversion_data() {
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("zero on a log axis") << 0.0 << 1.0;
    QTest::newRow("negative on a log axis") << -1e-3 << 1.0;
    QTest::newRow("reversed, as after a run of zeros") << 1e37 << 1e-37;
    QTest::newRow("not finite") << 1e-6 << std::numeric_limits<double>::infinity();
  }
  void unusableLimitsShowTheCaptionAndNoConversion() {
    QFETCH(double, low);
    QFETCH(double, high);
    auto graph = makeGraph();
    graph->setAxisScale(GraphAxis::Y, AxisScale::Logarithmic);
    graph->setErrorCaption("Oops, strange data...");
    graph->setAxisLimits(GraphAxis::Y, {low, high});
    QVERIFY(graph->showsErrorCaption());
    QVERIFY(!graph->pixelToData({100, 100}));
    graph->setAxisLimits(GraphAxis::Y, {1e-6, 1});
    QVERIFY(!graph->showsErrorCaption());
    QVERIFY(graph->pixelToData({100, 100}).has_value());
  }

  void aLogarithmicAxisConvertsExponentially() {
    auto graph = makeGraph();
    graph->setAxisScale(GraphAxis::Y, AxisScale::Logarithmic);
    graph->setAxisLimits(GraphAxis::Y, {1e-6, 1});
    const double a = graph->pixelToData({100, 100}).value().y();
    const double b = graph->pixelToData({100, 150}).value().y();
    const double c = graph->pixelToData({100, 200}).value().y();
    // Equal pixel steps multiply by equal factors.
    QVERIFY(std::abs(std::log(b / a) - std::log(c / b)) < 1e-9);
    QVERIFY(a > b && b > c);
    const double top = graph->pixelToData(pixelOf(*graph, 0.5, 1.0)).value().y();
    QVERIFY(std::abs(top - 1.0) < 0.05);
  }

  void equalLimitsAreOpenedAroundTheirValue() {
    auto graph = makeGraph();
    graph->setAxisLimits(GraphAxis::X, {0.1, 0.1});
    QVERIFY(!graph->showsErrorCaption());
    const AxisLimits drawn = graph->axisLimits(GraphAxis::X);
    QVERIFY(drawn.min < 0.1 && drawn.max > 0.1);
  }

  void automaticRangesFollowTheDataWithRoom() {
    auto graph = makeGraph();
    graph->setAutoRange(GraphAxis::X);
    graph->setAutoRange(GraphAxis::Y);
    graph->setPoints(0, {2, 4}, {10, 30});
    const AxisLimits x = graph->axisLimits(GraphAxis::X);
    const AxisLimits y = graph->axisLimits(GraphAxis::Y);
    QVERIFY(x.min < 2 && x.min > 1.5 && x.max > 4 && x.max < 4.5);
    QVERIFY(y.min < 10 && y.max > 30);
  }

  void changesWaitWhileRedrawingIsSuspended() {
    auto graph = makeGraph();
    graph->suspendRedraw();
    graph->suspendRedraw();
    graph->setAxisLimits(GraphAxis::X, {0, 10});
    QCOMPARE(graph->axisLimits(GraphAxis::X), (AxisLimits{0, 1}));
    graph->resumeRedraw();
    QVERIFY(graph->redrawSuspended());
    QCOMPARE(graph->axisLimits(GraphAxis::X), (AxisLimits{0, 1}));
    graph->resumeRedraw();
    QCOMPARE(graph->axisLimits(GraphAxis::X), (AxisLimits{0, 10}));
  }

  void theNearestPointRule_data() {
    QTest::addColumn<double>("mouse");
    QTest::addColumn<int>("expected");  // -1: none
    QTest::newRow("below the first") << 0.05 << 0;
    QTest::newRow("on the first") << 0.1 << 0;
    QTest::newRow("just above a midpoint") << 0.151 << 1;
    QTest::newRow("at a midpoint goes down") << 0.15 << 0;
    QTest::newRow("on a point") << 0.2 << 1;
    QTest::newRow("just below a point, above the midpoint") << 0.39 << 2;
    QTest::newRow("beyond the last") << 0.9 << 2;
    QTest::newRow("left of the axis") << -0.1 << -1;
    QTest::newRow("right of the axis") << 1.1 << -1;
  }
  void theNearestPointRule() {
    QFETCH(double, mouse);
    QFETCH(int, expected);
    const std::vector<double> xs{0.1, 0.2, 0.4};
    const auto index = NearestPointIndex(xs, mouse, {0, 1});
    QCOMPARE(index ? static_cast<int>(*index) : -1, expected);
    QVERIFY(!NearestPointIndex({}, 0.5, {0, 1}));
  }

  void theNearestPointOfASeriesIsFoundFromThePixel() {
    auto graph = makeGraph();
    graph->setPoints(0, {0.1, 0.2, 0.4}, {1, 2, 3});
    const QPoint nearFourth = pixelOf(*graph, 0.35, 0.5);
    QCOMPARE(graph->nearestPoint(0, nearFourth.x()), std::optional<QPointF>(QPointF(0.4, 3)));
    QVERIFY(!graph->nearestPoint(5, nearFourth.x()));  // an empty slot
    QVERIFY(!graph->nearestPoint(0, pixelOf(*graph, -0.05, 0.5).x()));
  }

  void aShiftDragZoomsAndAShiftClickRestores() {
    auto graph = makeGraph();
    QWidget* area = plotArea(*graph);
    QSignalSpy releases(graph.get(), &XyGraph::mouseReleased);
    QTest::mousePress(area, Qt::LeftButton, Qt::ShiftModifier, pixelOf(*graph, 0.2, 0.8));
    QTest::mouseMove(area, pixelOf(*graph, 0.3, 0.7));
    QTest::mouseRelease(area, Qt::LeftButton, Qt::ShiftModifier, pixelOf(*graph, 0.4, 0.6));
    QVERIFY(graph->zoomed());
    QCOMPARE(releases.count(), 0);
    const AxisLimits x = graph->axisLimits(GraphAxis::X);
    const AxisLimits y = graph->axisLimits(GraphAxis::Y);
    QVERIFY(std::abs(x.min - 0.2) < 0.01 && std::abs(x.max - 0.4) < 0.01);
    QVERIFY(std::abs(y.min - 0.6) < 0.01 && std::abs(y.max - 0.8) < 0.01);

    // Moving fewer than 5 pixels in one direction restores the limits before the zoom.
    const QPoint click = pixelOf(*graph, 0.3, 0.7);
    QTest::mousePress(area, Qt::LeftButton, Qt::ShiftModifier, click);
    QTest::mouseRelease(area, Qt::LeftButton, Qt::ShiftModifier, click + QPoint(40, 4));
    QVERIFY(!graph->zoomed());
    QCOMPARE(graph->axisLimits(GraphAxis::X), (AxisLimits{0, 1}));
    QCOMPARE(graph->axisLimits(GraphAxis::Y), (AxisLimits{0, 1}));

    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, click);
    QCOMPARE(releases.count(), 1);
  }

  void aZoomIsNeverNarrowerThanAThousandthOfTheSavedRange() {
    auto graph = makeGraph();
    QWidget* area = plotArea(*graph);
    const auto drag = [&](QPoint from, QPoint to) {
      QTest::mousePress(area, Qt::LeftButton, Qt::ShiftModifier, from);
      QTest::mouseRelease(area, Qt::LeftButton, Qt::ShiftModifier, to);
    };
    const QPoint start = pixelOf(*graph, 0.5, 0.5);
    drag(start, start + QPoint(10, 10));
    const QPoint again = pixelOf(*graph, graph->axisLimits(GraphAxis::X).min, 0.5);
    drag(again + QPoint(20, 20), again + QPoint(30, 30));
    const AxisLimits x = graph->axisLimits(GraphAxis::X);
    QVERIFY(std::abs((x.max - x.min) - 0.001) < 1e-9);
  }

  void pointsBeyondTheAxesAreDrawnOnlyWithPlotOffGraph() {
    for (const bool offGraph : {true, false}) {
      auto graph = makeGraph();
      graph->setPlotOffGraph(offGraph);
      graph->setStyle(1, SeriesStyle{.lineColor = kRed});
      graph->setPoints(1, {-10, 10}, {0.5, 0.5});
      const QImage image = graph->grab().toImage();
      const QPoint left = pixelOf(*graph, 0, 0.5);
      int redBeyond = 0;
      for (int x = 0; x < left.x() - 3; ++x) {
        for (int dy = -2; dy <= 2; ++dy) {
          const QColor c = image.pixelColor(x, left.y() + dy);
          if (c.red() > 180 && c.green() < 90 && c.blue() < 90) ++redBeyond;
        }
      }
      QCOMPARE(redBeyond > 0, offGraph);
    }
  }

  void theReductionKeepsEveryExtremeOfEveryPixelColumn() {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> decades(-6, 0);
    std::vector<double> x(50000);
    std::vector<double> y(x.size());
    std::vector<double> dy(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
      x[i] = static_cast<double>(i) / static_cast<double>(x.size());
      y[i] = std::pow(10.0, decades(random));
      dy[i] = y[i] * std::pow(10.0, decades(random) / 6);
    }
    const PixelGrid columns{{0, 1}, AxisScale::Linear, 300};
    const PixelGrid rows{{1e-6, 1}, AxisScale::Logarithmic, 200};
    for (const ReductionKind kind : {ReductionKind::Line, ReductionKind::Markers}) {
      const std::vector<std::size_t> kept = ReducedIndices(x, y, dy, columns, rows, kind, 3);
      QVERIFY(std::is_sorted(kept.begin(), kept.end()));
      QVERIFY(kept.size() < x.size() / 4);
      // Per column: lowest and highest value and bar end, over all points and over the kept.
      struct Extremes {
        double low = 1e300, high = -1e300, barLow = 1e300, barHigh = -1e300;
        void take(double v, double e) {
          low = std::min(low, v), high = std::max(high, v);
          barLow = std::min(barLow, v - e), barHigh = std::max(barHigh, v + e);
        }
      };
      std::vector<Extremes> all(300);
      std::vector<Extremes> drawn(300);
      for (std::size_t i = 0; i < x.size(); ++i) {
        all[static_cast<std::size_t>(columns.pixelOf(x[i]))].take(y[i], dy[i]);
      }
      for (const std::size_t i : kept) {
        drawn[static_cast<std::size_t>(columns.pixelOf(x[i]))].take(y[i], dy[i]);
      }
      for (std::size_t c = 0; c < all.size(); ++c) {
        QCOMPARE(drawn[c].low, all[c].low);
        QCOMPARE(drawn[c].high, all[c].high);
        QCOMPARE(drawn[c].barLow, all[c].barLow);
        QCOMPARE(drawn[c].barHigh, all[c].barHigh);
      }
    }
    // A short series is drawn whole.
    QCOMPARE(
        ReducedIndices(std::span(x).first(900), y, dy, columns, rows, ReductionKind::Line).size(),
        std::size_t{900});
  }

  void aLongSeriesIsDrawnReducedAndReadOutWhole() {
    auto graph = makeGraph();
    std::vector<double> x(100000);
    std::vector<double> y(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
      x[i] = static_cast<double>(i) / static_cast<double>(x.size());
      y[i] = 0.5 + 0.4 * std::sin(static_cast<double>(i));
    }
    graph->setPoints(1, x, y);
    QCOMPARE(graph->points(1).size(), x.size());
    const std::vector<DrawnPoint> drawn = graph->drawnPoints(1);
    QVERIFY(drawn.size() < x.size() / 10);
    // The read-out picks among all points, also those the display leaves out.
    const QPoint pixel = pixelOf(*graph, 0.123456, 0.5);
    const double mouse = graph->pixelToData(pixel).value().x();
    const std::size_t nearest = NearestPointIndex(x, mouse, {0, 1}).value();
    QCOMPARE(graph->nearestPoint(1, pixel.x()),
             std::optional<QPointF>(QPointF(x[nearest], y[nearest])));
  }

  void printingDrawsAtThePlacementOnly() {
    auto graph = makeGraph();
    graph->setPoints(1, {0, 1}, {0, 1});
    graph->setPrintPlacement({.xOffsetPct = 55, .yOffsetPct = 15, .scalePct = 40});
    QImage page(1000, 700, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    graph->printOn(painter, page.size());
    painter.end();
    const auto inked = [&page](QRect area) {
      for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
          if (page.pixelColor(x, y).lightness() < 128) return true;
        }
      }
      return false;
    };
    QVERIFY(inked(QRect(550, 105, 400, 280)));
    QVERIFY(!inked(QRect(0, 0, 540, 700)));
    QVERIFY(!inked(QRect(550, 390, 450, 310)));
  }
};

}  // namespace quorrel

QTEST_MAIN(quorrel::XyGraphTest)
#include "xy_graph_test.moc"
