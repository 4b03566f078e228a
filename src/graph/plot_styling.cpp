#include "graph/plot_styling.h"

#include <cmath>

namespace quorrel {

namespace {

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

//! The marker drawn once into a picture: copying it is many times faster than drawing the
//! shape anew at every point.
QCPScatterStyle AsPicture(const QCPScatterStyle& shape) {
  const int side = static_cast<int>(std::ceil(shape.size() + shape.pen().widthF())) + 2;
  QPixmap picture(side, side);
  picture.fill(Qt::transparent);
  QCPPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  shape.applyTo(&painter, shape.pen());
  shape.drawShape(&painter, side / 2.0, side / 2.0);
  painter.end();
  return QCPScatterStyle(picture);
}

}  // namespace

QColor ColourOf(BgrColour bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

void ApplySeriesStyle(QCPGraph& graph, const SeriesStyle& style, bool clipToAxes,
                      MarkerDrawing drawing) {
  QPen pen(ColourOf(style.lineColor));
  pen.setStyle(PenStyleOf(style.lineStyle));
  pen.setWidthF(1.5);
  graph.setPen(pen);
  graph.setLineStyle(style.drawLine ? QCPGraph::lsLine : QCPGraph::lsNone);
  if (style.drawPoints) {
    const QColor colour = ColourOf(style.pointColor);
    const QCPScatterStyle shape(ShapeOf(style.pointShape), QPen(colour, 1.2),
                                style.fillPoints ? QBrush(colour) : QBrush(Qt::NoBrush),
                                style.pointSize);
    graph.setScatterStyle(drawing == MarkerDrawing::Shapes ? shape : AsPicture(shape));
  } else {
    graph.setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
  }
  // Every series of the graph is a ClippableGraph.
  static_cast<ClippableGraph&>(graph).setClipToAxisRect(clipToAxes);
}

}  // namespace quorrel
