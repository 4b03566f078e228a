#include "ui/print/summary_printer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include "graph/xy_graph.h"

namespace quorrel {

namespace {

void PrintGraph(QPainter& painter, QSize pageSize, const SheetGraph& place, XyGraph& graph) {
  graph.setPrintPlacement(PrintPlacement{place.xOffsetPct, place.yOffsetPct, place.scalePct});
  graph.printOn(painter, pageSize);
}

}  // namespace

QFont SheetFont(int pointSize) {
  QFont font("MS Sans Serif", pointSize);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

TextExtent DeviceTextMeasure::measure(const std::string& text, int pointSize) const {
  // Measured for the device, so that the extent is in its units rather than the screen's.
  const QFontMetrics metrics(SheetFont(pointSize), &device_);
  return TextExtent{metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

void PaintSummarySheet(QPainter& painter, QSize pageSize, const SummarySheet& sheet,
                       XyGraph& reflectivity, XyGraph& profile) {
  painter.save();
  painter.setPen(Qt::black);
  for (const PlacedText& placed : sheet.texts) {
    if (placed.text.empty()) continue;
    const QFont font(SheetFont(placed.pointSize), painter.device());
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const QString text = QString::fromStdString(placed.text);
    const int width = metrics.horizontalAdvance(text);
    painter.save();
    painter.translate(placed.x, placed.y + metrics.ascent());
    // The sheet's columns are fixed; a font wider than the one they were made for would run
    // a long cell into the next one, so such a text is narrowed to its room.
    if (placed.maxWidth > 0 && width > placed.maxWidth) {
      painter.scale(static_cast<double>(placed.maxWidth) / width, 1.0);
    }
    painter.drawText(QPoint(0, 0), text);
    painter.restore();
  }
  painter.restore();
  PrintGraph(painter, pageSize, sheet.reflectivity, reflectivity);
  PrintGraph(painter, pageSize, sheet.profile, profile);
}

}  // namespace quorrel
