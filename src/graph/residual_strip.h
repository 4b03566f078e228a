#pragma once
// The strip under a graph that shows the residuals of a fit against the same x axis.

#include <optional>
#include <vector>

#include <QString>

#include "graph/series_style.h"
#include "graph/xy_graph.h"

class QCustomPlot;
class QCPAxisRect;
class QCPGraph;
class QCPItemRect;
class QCPMarginGroup;

namespace quorrel {

//! A linear axis rectangle below the main one whose x axis follows the main x axis, with a
//! line at 0 and the points as markers. Kept out of the layout while hidden.
class ResidualStrip {
 public:
  explicit ResidualStrip(QCustomPlot& plot);
  ~ResidualStrip();
  ResidualStrip(const ResidualStrip&) = delete;
  ResidualStrip& operator=(const ResidualStrip&) = delete;

  void show(const QString& title);
  void hide();
  bool visible() const { return visible_; }

  void setPoints(const std::vector<double>& x, const std::vector<double>& y,
                 const SeriesStyle& style);
  void setMarkerDrawing(MarkerDrawing drawing);
  std::vector<QPointF> points() const;
  std::vector<DrawnPoint> drawnPoints() const;

  //! Follows the main x axis and draws the points reduced to `width` pixels, the y axis
  //! symmetric about 0 around them; the band shaded as in the main graph, and the x-axis
  //! title under the strip.
  void draw(int width, int height, std::optional<AxisLimits> band, const QString& xTitle);

 private:
  QCustomPlot& plot_;
  QCPAxisRect* rect_;
  QCPGraph* graph_;
  QCPItemRect* band_;
  QCPMarginGroup* margins_;
  std::vector<double> x_;
  std::vector<double> y_;
  SeriesStyle style_;
  MarkerDrawing drawing_ = MarkerDrawing::Pictures;
  int markerCell_ = 1;
  bool visible_ = false;
};

}  // namespace quorrel
