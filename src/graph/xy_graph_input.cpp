#include <cmath>
#include <cstdlib>

#include <qcustomplot.h>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QRubberBand>

#include "graph/nearest_point.h"
#include "graph/xy_graph.h"

// The mouse over the graph: conversion between pixels and data, the nearest point, the
// Shift-drag zoom and the context menu.

namespace quorrel {

namespace {

constexpr int kZoomResetPixels = 5;

}  // namespace

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
  // The points as given, not as drawn: every one of them can be picked.
  const Series& series = found->second;
  const std::optional<std::size_t> index = NearestPointIndex(series.x, x, axisLimits(GraphAxis::X));
  if (!index) return std::nullopt;
  return QPointF(series.x[*index], series.y[*index]);
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
    case QEvent::ContextMenu: {
      // Ctrl with the right button chooses a bound of the fitting region instead.
      const auto* menu = static_cast<QContextMenuEvent*>(event);
      if (!(menu->modifiers() & Qt::ControlModifier) && !contextActions_.isEmpty()) {
        showContextMenu(menu->globalPos());
      }
      return true;
    }
    default:
      return false;
  }
}

void XyGraph::showContextMenu(QPoint at) {
  auto* menu = new QMenu(this);
  menu->setObjectName("graphContextMenu");
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addActions(contextActions_);
  menu->popup(at);
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
