#pragma once
// Paints the laid-out data output sheet on a printer's page.

#include <QSize>

#include "shell/summary_sheet.h"

class QFont;
class QPainter;
class QPaintDevice;

namespace quorrel {

class XyGraph;

//! The sheet's font: "MS Sans Serif", falling back to the system's sans-serif.
QFont SheetFont(int pointSize);

//! Measures with the sheet's font on a paint device: "MS Sans Serif", falling back to the
//! system's sans-serif.
class DeviceTextMeasure : public TextMeasure {
 public:
  explicit DeviceTextMeasure(QPaintDevice& device) : device_(device) {}
  TextExtent measure(const std::string& text, int pointSize) const override;

 private:
  QPaintDevice& device_;
};

//! Draws the laid-out sheet on `painter` (texts at their top-left corners, in their point
//! sizes) and both graphs at their placements on a page of `pageSize`.
void PaintSummarySheet(QPainter& painter, QSize pageSize, const SummarySheet& sheet,
                       XyGraph& reflectivity, XyGraph& profile);

}  // namespace quorrel
