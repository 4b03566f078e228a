#include "graph/residual_strip.h"

#include <algorithm>
#include <cmath>

#include <qcustomplot.h>

#include "graph/plot_styling.h"
#include "graph/point_reduction.h"

namespace quorrel {

namespace {

// The strip takes a third of the main graph's height.
constexpr double kStripShare = 0.35;

}  // namespace

ResidualStrip::ResidualStrip(QCustomPlot& plot)
    : plot_(plot),
      rect_(new QCPAxisRect(&plot)),
      graph_(nullptr),
      band_(nullptr),
      margins_(new QCPMarginGroup(&plot)) {
  rect_->setVisible(false);
  QCPAxis* x = rect_->axis(QCPAxis::atBottom);
  QCPAxis* y = rect_->axis(QCPAxis::atLeft);
  for (QCPAxis* axis : {x, y}) axis->grid()->setVisible(true);
  y->grid()->setZeroLinePen(QPen(QColor(60, 60, 60), 1.2));
  y->ticker()->setTickCount(3);
  y->setNumberFormat("gb");
  // Dragged along with the main x axis.
  QObject::connect(plot.xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), x,
                   qOverload<const QCPRange&>(&QCPAxis::setRange));
  x->setScaleType(plot.xAxis->scaleType());
  graph_ = new ClippableGraph(x, y);
  graph_->removeFromLegend();
  graph_->setAdaptiveSampling(false);
  band_ = new QCPItemRect(&plot);
  band_->setClipAxisRect(rect_);
  band_->setLayer("background");
  band_->setPen(Qt::NoPen);
  band_->setBrush(QColor(255, 200, 60, 50));
  for (QCPItemPosition* corner : {band_->topLeft, band_->bottomRight}) {
    corner->setAxes(x, y);
    corner->setAxisRect(rect_);
    corner->setTypeX(QCPItemPosition::ptPlotCoords);
    corner->setTypeY(QCPItemPosition::ptAxisRectRatio);
  }
  band_->topLeft->setCoords(0, 0);
  band_->bottomRight->setCoords(0, 1);
  band_->setVisible(false);
}

ResidualStrip::~ResidualStrip() {
  // Outside the layout the plot does not own the rectangle.
  if (!visible_) delete rect_;
}

void ResidualStrip::show(const QString& title) {
  rect_->axis(QCPAxis::atLeft)->setLabel(title);
  if (visible_) return;
  visible_ = true;
  rect_->setVisible(true);
  // The last row, under the main graph.
  const int row = plot_.plotLayout()->rowCount();
  plot_.plotLayout()->addElement(row, 0, rect_);
  plot_.plotLayout()->setRowStretchFactor(row, kStripShare);
  plot_.axisRect()->setMarginGroup(QCP::msLeft | QCP::msRight, margins_);
  rect_->setMarginGroup(QCP::msLeft | QCP::msRight, margins_);
}

void ResidualStrip::hide() {
  if (!visible_) return;
  visible_ = false;
  plot_.plotLayout()->take(rect_);
  plot_.plotLayout()->simplify();
  rect_->setVisible(false);
  plot_.axisRect()->setMarginGroup(QCP::msLeft | QCP::msRight, nullptr);
  rect_->setMarginGroup(QCP::msLeft | QCP::msRight, nullptr);
}

void ResidualStrip::setPoints(const std::vector<double>& x, const std::vector<double>& y,
                              const SeriesStyle& style) {
  const std::vector<std::size_t> order = AscendingOrder(x);
  x_.resize(order.size());
  y_.resize(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    x_[i] = x[order[i]];
    y_[i] = y[order[i]];
  }
  style_ = style;
  ApplySeriesStyle(*graph_, style, true, drawing_);
  markerCell_ = style.pointSize / 2;
}

void ResidualStrip::setMarkerDrawing(MarkerDrawing drawing) {
  drawing_ = drawing;
  ApplySeriesStyle(*graph_, style_, true, drawing_);
}

std::vector<QPointF> ResidualStrip::points() const {
  std::vector<QPointF> result(x_.size());
  for (std::size_t i = 0; i < x_.size(); ++i) result[i] = QPointF(x_[i], y_[i]);
  return result;
}

std::vector<DrawnPoint> ResidualStrip::drawnPoints() const {
  std::vector<DrawnPoint> result;
  const QSharedPointer<QCPGraphDataContainer> drawn = graph_->data();
  for (auto point = drawn->constBegin(); point != drawn->constEnd(); ++point) {
    result.push_back({point->key, point->value, 0});
  }
  return result;
}

void ResidualStrip::draw(int width, int height, std::optional<AxisLimits> band,
                         const QString& xTitle) {
  if (!visible_) return;
  QCPAxis* x = rect_->axis(QCPAxis::atBottom);
  QCPAxis* y = rect_->axis(QCPAxis::atLeft);
  x->setScaleType(plot_.xAxis->scaleType());
  x->setRange(plot_.xAxis->range());
  x->setLabel(xTitle);
  double largest = 0;
  for (const double value : y_) {
    if (std::isfinite(value)) largest = std::max(largest, std::abs(value));
  }
  const double half = largest > 0 ? largest * 1.1 : 1.0;
  y->setRange(-half, half);
  const PixelGrid columns{
      {x->range().lower, x->range().upper},
      x->scaleType() == QCPAxis::stLogarithmic ? AxisScale::Logarithmic : AxisScale::Linear,
      std::max(width, 1)};
  const PixelGrid rows{{-half, half}, AxisScale::Linear, std::max(height, 1)};
  const std::vector<std::size_t> kept =
      ReducedIndices(x_, y_, {}, columns, rows, ReductionKind::Markers, markerCell_);
  QVector<double> keys(static_cast<qsizetype>(kept.size()));
  QVector<double> values(static_cast<qsizetype>(kept.size()));
  for (std::size_t i = 0; i < kept.size(); ++i) {
    keys[static_cast<qsizetype>(i)] = x_[kept[i]];
    values[static_cast<qsizetype>(i)] = y_[kept[i]];
  }
  graph_->setData(keys, values, true);
  band_->setVisible(band.has_value());
  if (band) {
    band_->topLeft->setCoords(band->min, 0);
    band_->bottomRight->setCoords(band->max, 1);
  }
}

}  // namespace quorrel
