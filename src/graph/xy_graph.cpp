#include "graph/xy_graph.h"

#include <algorithm>
#include <cmath>

#include <qcustomplot.h>
#include <QVBoxLayout>

#include "graph/plot_styling.h"
#include "graph/point_reduction.h"
#include "graph/residual_strip.h"

namespace quorrel {

namespace {

constexpr qsizetype kMostCappedBars = 200;

ClippableGraph* AsClippable(QCPGraph* graph) { return static_cast<ClippableGraph*>(graph); }

QPen ZeroLinePen(bool on) { return on ? QPen(QColor(90, 90, 90), 0, Qt::SolidLine) : Qt::NoPen; }

//! Widens `range` to take `value`.
void Take(std::optional<AxisLimits>& range, double value) {
  if (!range) {
    range = AxisLimits{value, value};
  } else {
    range->min = std::min(range->min, value);
    range->max = std::max(range->max, value);
  }
}

}  // namespace

XyGraph::XyGraph(QWidget* parent)
    : QWidget(parent),
      plot_(new QCustomPlot(this)),
      title_(new QCPTextElement(plot_, QString(), QFont(font().family(), 10, QFont::Bold))),
      errorCaption_(new QCPItemText(plot_)),
      rubberBand_(new QRubberBand(QRubberBand::Rectangle, plot_)),
      bandRect_(new QCPItemRect(plot_)),
      strip_(std::make_unique<ResidualStrip>(*plot_)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(plot_);

  plot_->plotLayout()->insertRow(0);
  plot_->plotLayout()->addElement(0, 0, title_);
  plot_->setObjectName("plotArea");
  plot_->setPlottingHints(QCP::phFastPolylines | QCP::phCacheLabels);
  plot_->setMouseTracking(true);
  plot_->setCursor(Qt::CrossCursor);
  plot_->installEventFilter(this);
  for (QCPAxis* axis : {plot_->xAxis, plot_->yAxis}) {
    axis->grid()->setVisible(true);
    axis->grid()->setZeroLinePen(ZeroLinePen(true));
  }
  crossAtZero_ = true;
  plot_->legend->setFont(QFont(font().family(), 8));
  plot_->legend->setBrush(QColor(255, 255, 255, 230));
  plot_->legend->setBorderPen(QPen(QColor(160, 160, 160)));
  plot_->legend->setVisible(false);

  errorCaption_->position->setType(QCPItemPosition::ptAxisRectRatio);
  errorCaption_->position->setCoords(0.5, 0.5);
  errorCaption_->setColor(Qt::red);
  errorCaption_->setFont(QFont(font().family(), 12, QFont::Bold));
  errorCaption_->setVisible(false);
  errorCaption_->setClipToAxisRect(false);

  // Below the grid and the series.
  bandRect_->setLayer("background");
  bandRect_->setPen(Qt::NoPen);
  bandRect_->setBrush(QColor(255, 200, 60, 50));
  bandRect_->topLeft->setTypeX(QCPItemPosition::ptPlotCoords);
  bandRect_->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
  bandRect_->bottomRight->setTypeX(QCPItemPosition::ptPlotCoords);
  bandRect_->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
  bandRect_->setVisible(false);
  redraw();
}

XyGraph::~XyGraph() = default;

void XyGraph::setTitle(const QString& title) {
  title_->setText(title);
  changed();
}

void XyGraph::setAxisTitle(GraphAxis axis, const QString& title) {
  if (axis == GraphAxis::X) xTitle_ = title;
  axisOf(axis)->setLabel(title);
  changed();
}

void XyGraph::setAxisScale(GraphAxis axis, AxisScale scale) {
  stateOf(axis).scale = scale;
  QCPAxis* target = axisOf(axis);
  const bool log = scale == AxisScale::Logarithmic;
  target->setScaleType(log ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
  if (log) {
    target->setTicker(QSharedPointer<QCPAxisTickerLog>::create());
    target->setNumberFormat("eb");
    target->setNumberPrecision(0);
  } else {
    target->setTicker(QSharedPointer<QCPAxisTicker>::create());
    target->setNumberFormat("gb");
    target->setNumberPrecision(6);
  }
  changed();
}

AxisScale XyGraph::axisScale(GraphAxis axis) const { return stateOf(axis).scale; }

void XyGraph::setErrorCaption(const QString& caption) {
  errorCaption_->setText(caption);
  changed();
}

void XyGraph::setPlotOffGraph(bool on) {
  plotOffGraph_ = on;
  for (const auto& [slot, series] : series_) AsClippable(series.graph)->setClipToAxisRect(!on);
  changed();
}

void XyGraph::setCrossAtZero(bool on) {
  crossAtZero_ = on;
  plot_->xAxis->grid()->setZeroLinePen(ZeroLinePen(on));
  plot_->yAxis->grid()->setZeroLinePen(ZeroLinePen(on));
  changed();
}

void XyGraph::setLeftMargin(int pixels) {
  // A least margin: long numbers on the axis widen it rather than being cut.
  QMargins margins = plot_->axisRect()->minimumMargins();
  margins.setLeft(pixels);
  plot_->axisRect()->setMinimumMargins(margins);
  changed();
}

void XyGraph::setYTitleOffset(int pixels) {
  plot_->yAxis->setLabelPadding(pixels);
  changed();
}

int XyGraph::yTitleOffset() const { return plot_->yAxis->labelPadding(); }

void XyGraph::setAxisLimits(GraphAxis axis, AxisLimits limits) {
  AxisState& state = stateOf(axis);
  state.automatic = false;
  state.limits = limits;
  savedAxes_.reset();
  changed();
}

void XyGraph::setAutoRange(GraphAxis axis) {
  stateOf(axis).automatic = true;
  savedAxes_.reset();
  changed();
}

bool XyGraph::autoRange(GraphAxis axis) const { return stateOf(axis).automatic; }

AxisLimits XyGraph::axisLimits(GraphAxis axis) const {
  const QCPRange range = axisOf(axis)->range();
  return {range.lower, range.upper};
}

SeriesStyle XyGraph::style(int slot) const {
  const auto found = series_.find(slot);
  return found == series_.end() ? SeriesStyle{} : found->second.style;
}

void XyGraph::setStyle(int slot, const SeriesStyle& style) {
  Series& series = seriesAt(slot);
  series.style = style;
  series.style.pointSize = DrawnPointSize(style.pointSize, style.pointShape);
  series.drawnOn.reset();
  applyStyle(series);
  changed();
}

void XyGraph::addPoint(int slot, double x, double y) {
  Series& series = seriesAt(slot);
  const auto at = std::upper_bound(series.x.begin(), series.x.end(), x) - series.x.begin();
  series.x.insert(series.x.begin() + at, x);
  series.y.insert(series.y.begin() + at, y);
  if (!series.dy.empty()) series.dy.insert(series.dy.begin() + at, 0.0);
  series.scaledValid = false;
  series.drawnOn.reset();
  changed();
}

void XyGraph::setPoints(int slot, const std::vector<double>& x, const std::vector<double>& y) {
  setPoints(slot, x, y, {});
}

void XyGraph::setPoints(int slot, const std::vector<double>& x, const std::vector<double>& y,
                        const std::vector<double>& dy) {
  Series& series = seriesAt(slot);
  const std::size_t count = std::min(x.size(), y.size());
  const bool withErrors = dy.size() >= count && count > 0;
  const std::vector<std::size_t> order = AscendingOrder(std::span(x).first(count));
  series.x.resize(count);
  series.y.resize(count);
  series.dy.resize(withErrors ? count : 0);
  for (std::size_t i = 0; i < count; ++i) {
    series.x[i] = x[order[i]];
    series.y[i] = y[order[i]];
    if (withErrors) series.dy[i] = dy[order[i]];
  }
  series.scaledValid = false;
  series.drawnOn.reset();
  if (withErrors && series.errors == nullptr) {
    series.errors = new QCPErrorBars(plot_->xAxis, plot_->yAxis);
    series.errors->setDataPlottable(series.graph);
    series.errors->removeFromLegend();
    applyStyle(series);
  } else if (!withErrors && series.errors != nullptr) {
    plot_->removePlottable(series.errors);
    series.errors = nullptr;
  }
  changed();
}

void XyGraph::setSeriesName(int slot, const QString& name) {
  Series& series = seriesAt(slot);
  series.graph->setName(name);
  if (name.isEmpty()) {
    series.graph->removeFromLegend();
  } else {
    series.graph->addToLegend();
  }
  changed();
}

QString XyGraph::seriesName(int slot) const {
  const auto found = series_.find(slot);
  return found == series_.end() ? QString() : found->second.graph->name();
}

void XyGraph::removePointsAt(int slot, double x) {
  const auto found = series_.find(slot);
  if (found == series_.end()) return;
  Series& series = found->second;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < series.x.size(); ++i) {
    if (series.x[i] == x) continue;
    series.x[kept] = series.x[i];
    series.y[kept] = series.y[i];
    if (!series.dy.empty()) series.dy[kept] = series.dy[i];
    ++kept;
  }
  series.x.resize(kept);
  series.y.resize(kept);
  if (!series.dy.empty()) series.dy.resize(kept);
  series.scaledValid = false;
  series.drawnOn.reset();
  changed();
}

void XyGraph::freeSeries(int slot) {
  const auto found = series_.find(slot);
  if (found == series_.end()) return;
  if (found->second.errors != nullptr) plot_->removePlottable(found->second.errors);
  plot_->removeGraph(found->second.graph);
  series_.erase(found);
  changed();
}

std::vector<QPointF> XyGraph::points(int slot) const {
  std::vector<QPointF> result;
  const auto found = series_.find(slot);
  if (found == series_.end()) return result;
  const Series& series = found->second;
  result.reserve(series.x.size());
  for (std::size_t i = 0; i < series.x.size(); ++i) result.emplace_back(series.x[i], series.y[i]);
  return result;
}

std::vector<DrawnPoint> XyGraph::drawnPoints(int slot) const {
  std::vector<DrawnPoint> result;
  const auto found = series_.find(slot);
  if (found == series_.end()) return result;
  const QSharedPointer<QCPGraphDataContainer> drawn = found->second.graph->data();
  for (auto point = drawn->constBegin(); point != drawn->constEnd(); ++point) {
    result.push_back({point->key, point->value, 0});
  }
  if (const QCPErrorBars* errors = found->second.errors) {
    const QSharedPointer<QCPErrorBarsDataContainer> bars = errors->data();
    for (int i = 0; i < bars->size() && i < static_cast<int>(result.size()); ++i) {
      result[static_cast<std::size_t>(i)].error = bars->at(i).errorPlus;
    }
  }
  return result;
}

void XyGraph::setValueScale(ValueScale scale) {
  valueScale_ = std::move(scale);
  for (const auto& [slot, series] : series_) {
    series.scaledValid = false;
    series.drawnOn.reset();
  }
  changed();
}

void XyGraph::setShadedBand(std::optional<AxisLimits> band) {
  band_ = band;
  changed();
}

void XyGraph::setResidualStrip(std::optional<QString> title) {
  if (title) {
    strip_->show(*title);
  } else {
    strip_->hide();
  }
  changed();
}

bool XyGraph::hasResidualStrip() const { return strip_->visible(); }

void XyGraph::setResiduals(const std::vector<double>& x, const std::vector<double>& y,
                           const SeriesStyle& style) {
  strip_->setPoints(x, y, style);
  changed();
}

std::vector<QPointF> XyGraph::residuals() const { return strip_->points(); }

std::vector<DrawnPoint> XyGraph::drawnResiduals() const { return strip_->drawnPoints(); }

void XyGraph::suspendRedraw() { ++suspended_; }

void XyGraph::resumeRedraw() {
  if (suspended_ > 0 && --suspended_ == 0) redraw();
}

void XyGraph::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The reduction follows the size; the plot itself redraws on its own resize.
  if (suspended_ == 0) drawSeries(plot_->width(), plot_->height());
}

XyGraph::Series& XyGraph::seriesAt(int slot) {
  const auto found = series_.find(slot);
  if (found != series_.end()) return found->second;
  Series& series = series_[slot];
  // Every series is a ClippableGraph; the plot owns it. The graph reduces long series
  // itself, to the display and keeping every extreme.
  series.graph = new ClippableGraph(plot_->xAxis, plot_->yAxis);
  series.graph->setAdaptiveSampling(false);
  series.graph->removeFromLegend();
  applyStyle(series);
  return series;
}

QCPAxis* XyGraph::axisOf(GraphAxis axis) const {
  return axis == GraphAxis::X ? plot_->xAxis : plot_->yAxis;
}

void XyGraph::applyStyle(const Series& series) {
  ApplySeriesStyle(*series.graph, series.style, !plotOffGraph_, markerDrawing_);
  if (series.errors != nullptr) {
    const BgrColour colour =
        series.style.drawPoints ? series.style.pointColor : series.style.lineColor;
    series.errors->setPen(QPen(ColourOf(colour), 1.0));
    series.errors->setSymbolGap(series.style.drawPoints ? series.style.pointSize : 0);
  }
}

std::optional<AxisLimits> XyGraph::keyRange() const {
  std::optional<AxisLimits> range;
  const bool log = xState_.scale == AxisScale::Logarithmic;
  for (const auto& [slot, series] : series_) {
    for (const double x : series.x) {
      if (std::isfinite(x) && (!log || x > 0)) Take(range, x);
    }
  }
  return range;
}

XyGraph::ScaledValues XyGraph::scaledValues(const Series& series) const {
  if (!valueScale_) return {series.y, series.dy};
  if (!series.scaledValid) {
    series.scaledY.resize(series.x.size());
    series.scaledDy.resize(series.dy.size());
    for (std::size_t i = 0; i < series.x.size(); ++i) {
      const double factor = valueScale_(series.x[i]);
      series.scaledY[i] = series.y[i] * factor;
      if (!series.dy.empty()) series.scaledDy[i] = series.dy[i] * std::abs(factor);
    }
    series.scaledValid = true;
  }
  return {series.scaledY, series.scaledDy};
}

std::optional<AxisLimits> XyGraph::drawnValueRange() const {
  std::optional<AxisLimits> range;
  const bool log = yState_.scale == AxisScale::Logarithmic;
  for (const auto& [slot, series] : series_) {
    for (const double y : scaledValues(series).y) {
      if (std::isfinite(y) && (!log || y > 0)) Take(range, y);
    }
  }
  return range;
}

void XyGraph::applyAxis(GraphAxis axis) {
  const AxisState& state = stateOf(axis);
  QCPAxis* target = axisOf(axis);
  if (state.automatic) {
    const std::optional<AxisLimits> found = axis == GraphAxis::X ? keyRange() : drawnValueRange();
    if (!found) return;
    const AxisLimits padded = PaddedLimits(DrawableLimits(*found, state.scale), state.scale);
    target->setRange(padded.min, padded.max);
  } else {
    const AxisLimits drawn = DrawableLimits(state.limits, state.scale);
    target->setRange(drawn.min, drawn.max);
  }
}

void XyGraph::changed() {
  if (suspended_ == 0) redraw();
}

void XyGraph::drawSeries(int width, int height) {
  const QCPRange xs = plot_->xAxis->range();
  const QCPRange ys = plot_->yAxis->range();
  const PixelGrid columns{{xs.lower, xs.upper}, xState_.scale, std::max(width, 1)};
  const PixelGrid rows{{ys.lower, ys.upper}, yState_.scale, std::max(height, 1)};
  const DrawnGrid grid{columns.limits, rows.limits, xState_.scale, yState_.scale, width, height};
  for (const auto& [slot, series] : series_) {
    // Reduced once for every change of the points, the scale, the axes or the size.
    if (series.drawnOn == grid) continue;
    series.drawnOn = grid;
    const auto [y, dy] = scaledValues(series);
    const ReductionKind kind =
        series.style.drawPoints ? ReductionKind::Markers : ReductionKind::Line;
    // Markers closer than their radius are drawn as one.
    const std::vector<std::size_t> kept =
        ReducedIndices(series.x, y, dy, columns, rows, kind, series.style.pointSize / 2);
    const auto size = static_cast<qsizetype>(kept.size());
    QVector<double> keys(size);
    QVector<double> values(size);
    QVector<double> errors(dy.empty() ? 0 : size);
    for (qsizetype i = 0; i < size; ++i) {
      const std::size_t k = kept[static_cast<std::size_t>(i)];
      keys[i] = series.x[k];
      values[i] = y[k];
      if (!dy.empty()) errors[i] = dy[k];
    }
    series.graph->setData(keys, values, true);
    if (series.errors != nullptr) {
      series.errors->setData(errors);
      // Caps on a dense series only thicken the bars into a smear.
      series.errors->setWhiskerWidth(size > kMostCappedBars ? 0 : series.style.pointSize);
    }
  }
  strip_->draw(width, height, band_, xTitle_);
}

void XyGraph::redraw() {
  const bool usable = (xState_.automatic || LimitsUsable(xState_.limits, xState_.scale)) &&
                      (yState_.automatic || LimitsUsable(yState_.limits, yState_.scale));
  errorShown_ = !usable;
  if (usable) {
    applyAxis(GraphAxis::X);
    applyAxis(GraphAxis::Y);
  }
  errorCaption_->setVisible(!usable);
  for (const auto& [slot, series] : series_) {
    series.graph->setVisible(usable);
    if (series.errors != nullptr) series.errors->setVisible(usable);
  }
  bool named = false;
  for (const auto& [slot, series] : series_) named = named || !series.graph->name().isEmpty();
  plot_->legend->setVisible(named && usable);
  drawCurveBands();
  for (const auto& [number, band] : curveBands_) {
    band.lower->setVisible(usable);
    band.upper->setVisible(usable);
  }
  bandRect_->setVisible(band_.has_value() && usable);
  if (band_) {
    bandRect_->topLeft->setCoords(band_->min, 0);
    bandRect_->bottomRight->setCoords(band_->max, 1);
  }
  // With the strip the x axis is read off the strip, under both.
  plot_->xAxis->setTickLabels(!strip_->visible());
  plot_->xAxis->setLabel(strip_->visible() ? QString() : xTitle_);
  drawSeries(plot_->width(), plot_->height());
  if (plot_->legend->visible()) placeLegend();
  plot_->replot();
}

void XyGraph::placeLegend() {
  // The corner of the plot area where the legend hides the fewest drawn points.
  const QRect area = plot_->axisRect()->rect();
  const QSize size = plot_->legend->minimumOuterSizeHint();
  const Qt::Alignment corners[] = {Qt::AlignTop | Qt::AlignRight, Qt::AlignTop | Qt::AlignLeft,
                                   Qt::AlignBottom | Qt::AlignRight,
                                   Qt::AlignBottom | Qt::AlignLeft};
  Qt::Alignment best = corners[0];
  qsizetype fewest = -1;
  for (const Qt::Alignment corner : corners) {
    const QPoint origin((corner & Qt::AlignLeft) ? area.left() : area.right() - size.width(),
                        (corner & Qt::AlignTop) ? area.top() : area.bottom() - size.height());
    const QRect covered(origin, size);
    qsizetype hidden = 0;
    for (const auto& [slot, series] : series_) {
      const QSharedPointer<QCPGraphDataContainer> drawn = series.graph->data();
      for (auto point = drawn->constBegin(); point != drawn->constEnd(); ++point) {
        const QPointF pixel = series.graph->coordsToPixels(point->key, point->value);
        if (covered.contains(pixel.toPoint())) ++hidden;
      }
    }
    if (fewest < 0 || hidden < fewest) {
      fewest = hidden;
      best = corner;
    }
  }
  plot_->axisRect()->insetLayout()->setInsetAlignment(0, best);
}

}  // namespace quorrel
