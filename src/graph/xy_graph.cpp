#include "graph/xy_graph.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include "graph/nearest_point.h"

namespace quorrel {

namespace {

constexpr int kZoomResetPixels = 5;

QColor ColourOf(BgrColour bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

Qt::PenStyle PenStyleOf(int lineStyle) {
  switch (lineStyle) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine;
  }
}

QCPScatterStyle::ScatterShape ShapeOf(int pointShape) {
  switch (pointShape) {
    case 0: return QCPScatterStyle::ssSquare;
    case 2: return QCPScatterStyle::ssTriangle;
    case 3: return QCPScatterStyle::ssDiamond;
    case kCrossShape: return QCPScatterStyle::ssCross;
    case 5: return QCPScatterStyle::ssStar;
    default: return QCPScatterStyle::ssCircle;
  }
}

//! A graph that may draw beyond its axes, up to the edges of the widget.
class ClippableGraph : public QCPGraph {
 public:
  using QCPGraph::QCPGraph;
  void setClipToAxisRect(bool clip) { clip_ = clip; }

 protected:
  QRect clipRect() const override { return clip_ ? QCPGraph::clipRect() : mParentPlot->viewport(); }

 private:
  bool clip_ = true;
};

ClippableGraph* AsClippable(QCPGraph* graph) { return static_cast<ClippableGraph*>(graph); }

QPen ZeroLinePen(bool on) { return on ? QPen(QColor(90, 90, 90), 0, Qt::SolidLine) : Qt::NoPen; }

}  // namespace

XyGraph::XyGraph(QWidget* parent)
    : QWidget(parent),
      plot_(new QCustomPlot(this)),
      title_(new QCPTextElement(plot_, QString(), QFont(font().family(), 10, QFont::Bold))),
      errorCaption_(new QCPItemText(plot_)),
      rubberBand_(new QRubberBand(QRubberBand::Rectangle, plot_)) {
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

  errorCaption_->position->setType(QCPItemPosition::ptAxisRectRatio);
  errorCaption_->position->setCoords(0.5, 0.5);
  errorCaption_->setColor(Qt::red);
  errorCaption_->setFont(QFont(font().family(), 12, QFont::Bold));
  errorCaption_->setVisible(false);
  errorCaption_->setClipToAxisRect(false);
  redraw();
}

XyGraph::~XyGraph() = default;

void XyGraph::setTitle(const QString& title) {
  title_->setText(title);
  changed();
}

void XyGraph::setAxisTitle(GraphAxis axis, const QString& title) {
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
  applyStyle(series);
  changed();
}

void XyGraph::addPoint(int slot, double x, double y) {
  seriesAt(slot).graph->addData(x, y);
  changed();
}

void XyGraph::setPoints(int slot, const std::vector<double>& x, const std::vector<double>& y) {
  seriesAt(slot).graph->setData(QVector<double>(x.begin(), x.end()),
                                QVector<double>(y.begin(), y.end()));
  changed();
}

void XyGraph::removePointsAt(int slot, double x) {
  const auto found = series_.find(slot);
  if (found == series_.end()) return;
  const QSharedPointer<QCPGraphDataContainer> stored = found->second.graph->data();
  auto kept = QSharedPointer<QCPGraphDataContainer>::create();
  for (auto point = stored->constBegin(); point != stored->constEnd(); ++point) {
    if (point->key != x) kept->add(*point);
  }
  found->second.graph->setData(kept);
  changed();
}

void XyGraph::freeSeries(int slot) {
  const auto found = series_.find(slot);
  if (found == series_.end()) return;
  plot_->removeGraph(found->second.graph);
  series_.erase(found);
  changed();
}

std::vector<QPointF> XyGraph::points(int slot) const {
  std::vector<QPointF> result;
  const auto found = series_.find(slot);
  if (found == series_.end()) return result;
  const QSharedPointer<QCPGraphDataContainer> stored = found->second.graph->data();
  result.reserve(static_cast<std::size_t>(stored->size()));
  for (auto point = stored->constBegin(); point != stored->constEnd(); ++point) {
    result.emplace_back(point->key, point->value);
  }
  return result;
}

void XyGraph::suspendRedraw() { ++suspended_; }

void XyGraph::resumeRedraw() {
  if (suspended_ > 0 && --suspended_ == 0) redraw();
}

std::optional<QPointF> XyGraph::pixelToData(QPointF pixel) const {
  if (errorShown_) return std::nullopt;
  const double x = plot_->xAxis->pixelToCoord(pixel.x());
  const double y = plot_->yAxis->pixelToCoord(pixel.y());
  if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
  return QPointF(x, y);
}

std::optional<QPointF> XyGraph::dataToPixel(QPointF point) const {
  if (errorShown_) return std::nullopt;
  return QPointF(plot_->xAxis->coordToPixel(point.x()), plot_->yAxis->coordToPixel(point.y()));
}

std::optional<QPointF> XyGraph::nearestPoint(int slot, double pixelX) const {
  const auto found = series_.find(slot);
  if (found == series_.end() || errorShown_) return std::nullopt;
  const double x = plot_->xAxis->pixelToCoord(pixelX);
  if (!std::isfinite(x)) return std::nullopt;
  const std::vector<QPointF> plotted = points(slot);
  std::vector<double> xs(plotted.size());
  std::transform(plotted.begin(), plotted.end(), xs.begin(), [](QPointF p) { return p.x(); });
  const std::optional<std::size_t> index = NearestPointIndex(xs, x, axisLimits(GraphAxis::X));
  if (!index) return std::nullopt;
  return plotted[*index];
}

void XyGraph::printOn(QPainter& painter, QSize pageSize) {
  const QRectF target(pageSize.width() * printPlacement_.xOffsetPct / 100.0,
                      pageSize.height() * printPlacement_.yOffsetPct / 100.0,
                      pageSize.width() * printPlacement_.scalePct / 100.0,
                      pageSize.height() * printPlacement_.scalePct / 100.0);
  if (target.isEmpty()) return;
  // Drawn at the on-screen width with the page's aspect ratio, then scaled onto the page,
  // so the printed graph looks like the one on screen.
  const int width = std::max(plot_->width(), 400);
  const int height = static_cast<int>(std::lround(width * target.height() / target.width()));
  const double scale = std::clamp(target.width() / width, 1.0, 4.0);
  const QPixmap picture = plot_->toPixmap(width, height, scale);
  painter.drawPixmap(target, picture, QRectF(picture.rect()));
}

bool XyGraph::saveTo(const QString& fileName, QSize size) {
  const QString kind = QFileInfo(fileName).suffix().toLower();
  if (kind == "pdf") return plot_->savePdf(fileName, size.width(), size.height());
  if (kind == "png") return plot_->savePng(fileName, size.width(), size.height());
  if (kind != "svg") return false;
  QSvgGenerator svg;
  svg.setFileName(fileName);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(title_->text());
  QCPPainter painter(&svg);
  if (!painter.isActive()) return false;
  painter.setMode(QCPPainter::pmVectorized);
  plot_->toPainter(&painter, size.width(), size.height());
  painter.end();
  return QFileInfo(fileName).size() > 0;
}

bool XyGraph::eventFilter(QObject* watched, QEvent* event) {
  if (watched != plot_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ShiftModifier)) {
        zoomStart_ = mouse->position().toPoint();
        rubberBand_->setGeometry(QRect(*zoomStart_, QSize()));
        rubberBand_->show();
        return true;
      }
      return false;
    }
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      emit mouseMoved(mouse->position());
      if (!zoomStart_) return false;
      rubberBand_->setGeometry(QRect(*zoomStart_, mouse->position().toPoint()).normalized());
      return true;
    }
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (zoomStart_ && mouse->button() == Qt::LeftButton) {
        finishZoom(mouse->position().toPoint());
        return true;
      }
      emit mouseReleased(mouse->button(), mouse->modifiers(), mouse->position());
      return false;
    }
    default:
      return false;
  }
}

XyGraph::Series& XyGraph::seriesAt(int slot) {
  const auto found = series_.find(slot);
  if (found != series_.end()) return found->second;
  Series& series = series_[slot];
  // Every series is a ClippableGraph; the plot owns it.
  series.graph = new ClippableGraph(plot_->xAxis, plot_->yAxis);
  applyStyle(series);
  return series;
}

QCPAxis* XyGraph::axisOf(GraphAxis axis) const {
  return axis == GraphAxis::X ? plot_->xAxis : plot_->yAxis;
}

void XyGraph::applyStyle(const Series& series) {
  const SeriesStyle& style = series.style;
  QPen pen(ColourOf(style.lineColor));
  pen.setStyle(PenStyleOf(style.lineStyle));
  pen.setWidthF(1.5);
  series.graph->setPen(pen);
  series.graph->setLineStyle(style.drawLine ? QCPGraph::lsLine : QCPGraph::lsNone);
  if (style.drawPoints) {
    const QColor colour = ColourOf(style.pointColor);
    series.graph->setScatterStyle(QCPScatterStyle(
        ShapeOf(style.pointShape), QPen(colour, 1.2),
        style.fillPoints ? QBrush(colour) : QBrush(Qt::NoBrush), style.pointSize));
  } else {
    series.graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
  }
  AsClippable(series.graph)->setClipToAxisRect(!plotOffGraph_);
}

void XyGraph::applyAxis(GraphAxis axis) {
  const AxisState& state = stateOf(axis);
  QCPAxis* target = axisOf(axis);
  if (state.automatic) {
    target->rescale(false);
    const AxisLimits padded = PaddedLimits({target->range().lower, target->range().upper},
                                           state.scale);
    target->setRange(padded.min, padded.max);
  } else {
    const AxisLimits drawn = DrawableLimits(state.limits, state.scale);
    target->setRange(drawn.min, drawn.max);
  }
}

void XyGraph::changed() {
  if (suspended_ == 0) redraw();
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
  for (const auto& [slot, series] : series_) series.graph->setVisible(usable);
  plot_->replot();
}

void XyGraph::finishZoom(QPoint release) {
  rubberBand_->hide();
  const QPoint start = *zoomStart_;
  zoomStart_.reset();
  const bool dragged = std::abs(release.x() - start.x()) >= kZoomResetPixels &&
                       std::abs(release.y() - start.y()) >= kZoomResetPixels;
  if (!dragged) {
    if (savedAxes_) {
      xState_ = savedAxes_->first;
      yState_ = savedAxes_->second;
      savedAxes_.reset();
      changed();
    }
    return;
  }
  if (errorShown_) return;
  if (!savedAxes_) {
    // Saved with the limits as drawn, which the least zoomed range is measured against.
    AxisState x = xState_;
    AxisState y = yState_;
    x.limits = axisLimits(GraphAxis::X);
    y.limits = axisLimits(GraphAxis::Y);
    savedAxes_.emplace(x, y);
  }
  RedrawSuspension suspension(*this);
  const AxisLimits xRect{plot_->xAxis->pixelToCoord(start.x()),
                         plot_->xAxis->pixelToCoord(release.x())};
  const AxisLimits yRect{plot_->yAxis->pixelToCoord(start.y()),
                         plot_->yAxis->pixelToCoord(release.y())};
  xState_.automatic = false;
  xState_.limits = ZoomedLimits(xRect, savedAxes_->first.limits, xState_.scale);
  yState_.automatic = false;
  yState_.limits = ZoomedLimits(yRect, savedAxes_->second.limits, yState_.scale);
}

}  // namespace quorrel
