#pragma once
// How the series styles map onto the plotting library's pens and markers; shared by the graph
// and its residual strip.

#include <QColor>
#include <qcustomplot.h>

#include "graph/series_style.h"
#include "graph/xy_graph.h"

namespace quorrel {

QColor ColourOf(BgrColour bgr);

//! Sets the line, the markers and the clipping of `graph` from `style`.
void ApplySeriesStyle(QCPGraph& graph, const SeriesStyle& style, bool clipToAxes,
                      MarkerDrawing drawing = MarkerDrawing::Pictures);

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

}  // namespace quorrel
