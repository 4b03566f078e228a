#include <algorithm>
#include <cmath>

#include <qcustomplot.h>
#include <QPainter>

#include "graph/plot_files.h"
#include "graph/residual_strip.h"
#include "graph/xy_graph.h"

// The graph on paper and in picture files, each drawn at its own resolution.

namespace quorrel {

template <typename Output>
auto XyGraph::drawnAtSize(QSize size, Output output) {
  // A long series is reduced to the output's pixels, then back to the screen's.
  setMarkerDrawing(MarkerDrawing::Shapes);
  drawSeries(size.width(), size.height());
  const auto result = output();
  setMarkerDrawing(MarkerDrawing::Pictures);
  drawSeries(plot_->width(), plot_->height());
  return result;
}

void XyGraph::setMarkerDrawing(MarkerDrawing drawing) {
  markerDrawing_ = drawing;
  for (const auto& [slot, series] : series_) applyStyle(series);
  strip_->setMarkerDrawing(drawing);
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
  const QSize pixels(static_cast<int>(width * scale), static_cast<int>(height * scale));
  const QPixmap picture =
      drawnAtSize(pixels, [&] { return plot_->toPixmap(width, height, scale); });
  painter.drawPixmap(target, picture, QRectF(picture.rect()));
}

bool XyGraph::saveTo(const QString& fileName, QSize size) {
  return drawnAtSize(size, [&] { return SavePlot(*plot_, fileName, size, title_->text()); });
}

}  // namespace quorrel
