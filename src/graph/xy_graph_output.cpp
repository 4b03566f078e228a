#include <algorithm>
#include <cmath>

#include <qcustomplot.h>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

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
  const QString kind = QFileInfo(fileName).suffix().toLower();
  if (kind == "pdf") {
    return drawnAtSize(size, [&] { return plot_->savePdf(fileName, size.width(), size.height()); });
  }
  if (kind == "png") {
    return drawnAtSize(size, [&] { return plot_->savePng(fileName, size.width(), size.height()); });
  }
  if (kind != "svg") return false;
  return drawnAtSize(size, [&] {
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
  });
}

}  // namespace quorrel
