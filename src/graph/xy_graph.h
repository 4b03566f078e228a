#pragma once
// The x-y graph that the plot windows and the printed sheet show: numbered series slots,
// linear and logarithmic axes, zoom, and conversion between pixels and data.

#include <map>
#include <utility>
#include <optional>
#include <vector>

#include <QPointF>
#include <QString>
#include <QWidget>

#include "graph/axis_limits.h"
#include "graph/series_style.h"

class QCustomPlot;
class QCPGraph;
class QCPAxis;
class QCPItemText;
class QCPTextElement;
class QPainter;
class QRubberBand;

namespace quorrel {

enum class GraphAxis { X, Y };

//! Where the graph lands on a printed page, in per cent of the page: its left and top edge,
//! and its size as a share of the page's width and height.
struct PrintPlacement {
  int xOffsetPct = 0;
  int yOffsetPct = 0;
  int scalePct = 100;
};

//! Only this class talks to the plotting library. A series is addressed by its slot number;
//! addressing a free slot creates an empty series of default style.
class XyGraph : public QWidget {
  Q_OBJECT

 public:
  explicit XyGraph(QWidget* parent = nullptr);
  ~XyGraph() override;

  // Appearance.
  void setTitle(const QString& title);
  void setAxisTitle(GraphAxis axis, const QString& title);
  void setAxisScale(GraphAxis axis, AxisScale scale);
  AxisScale axisScale(GraphAxis axis) const;
  //! The caption shown instead of the curves while the axis limits are unusable.
  void setErrorCaption(const QString& caption);
  //! Points outside the axis ranges are still drawn, beyond the axes.
  void setPlotOffGraph(bool on);
  bool plotOffGraph() const { return plotOffGraph_; }
  //! Lines through x = 0 and y = 0.
  void setCrossAtZero(bool on);
  bool crossAtZero() const { return crossAtZero_; }
  //! The least room left of the plot area, for the y-axis numbers and title.
  void setLeftMargin(int pixels);
  //! The distance of the y-axis title from its numbers.
  void setYTitleOffset(int pixels);
  int yTitleOffset() const;

  // Axis ranges.
  //! Fixed limits; automatic sizing is off until setAutoRange.
  void setAxisLimits(GraphAxis axis, AxisLimits limits);
  //! The axis follows the data of all series.
  void setAutoRange(GraphAxis axis);
  bool autoRange(GraphAxis axis) const;
  //! The limits as drawn.
  AxisLimits axisLimits(GraphAxis axis) const;
  //! Whether the error caption stands in place of the curves.
  bool showsErrorCaption() const { return errorShown_; }

  // Series.
  SeriesStyle style(int slot) const;
  void setStyle(int slot, const SeriesStyle& style);
  void addPoint(int slot, double x, double y);
  //! Replaces the points of the slot.
  void setPoints(int slot, const std::vector<double>& x, const std::vector<double>& y);
  void removePointsAt(int slot, double x);
  //! The slot becomes free; its next use starts a fresh series of default style.
  void freeSeries(int slot);
  bool hasSeries(int slot) const { return series_.contains(slot); }
  //! The plotted points in ascending x.
  std::vector<QPointF> points(int slot) const;

  // Redrawing.
  //! Changes made while redrawing is suspended appear together when it resumes. Suspensions
  //! nest.
  void suspendRedraw();
  void resumeRedraw();
  bool redrawSuspended() const { return suspended_ > 0; }

  // Mouse.
  //! Data coordinates of a pixel of this widget; nothing when the limits are unusable.
  std::optional<QPointF> pixelToData(QPointF pixel) const;
  //! The pixel of a data point; nothing when the limits are unusable.
  std::optional<QPointF> dataToPixel(QPointF point) const;
  //! The point of `slot` nearest to the horizontal pixel, by x alone.
  std::optional<QPointF> nearestPoint(int slot, double pixelX) const;
  //! Whether the axes are zoomed in.
  bool zoomed() const { return savedAxes_.has_value(); }

  // Printing.
  void setPrintPlacement(PrintPlacement placement) { printPlacement_ = placement; }
  PrintPlacement printPlacement() const { return printPlacement_; }
  //! Writes the graph to a picture file whose extension says its kind: ".pdf" and ".svg"
  //! as vector drawings of `size` points, ".png" as `size` pixels. False when the kind is
  //! unknown or the file could not be written.
  bool saveTo(const QString& fileName, QSize size);

  //! Draws the graph on a page of `pageSize` device units at the print placement, with the
  //! page's aspect ratio.
  void printOn(QPainter& painter, QSize pageSize);

 signals:
  //! The mouse moved over the graph (pixel of this widget).
  void mouseMoved(QPointF pixel);
  //! A button was released over the graph, other than at the end of a zoom.
  void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF pixel);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct AxisState {
    bool automatic = true;
    AxisLimits limits;
    AxisScale scale = AxisScale::Linear;
  };
  struct Series {
    QCPGraph* graph = nullptr;
    SeriesStyle style;
  };

  Series& seriesAt(int slot);
  QCPAxis* axisOf(GraphAxis axis) const;
  AxisState& stateOf(GraphAxis axis) { return axis == GraphAxis::X ? xState_ : yState_; }
  const AxisState& stateOf(GraphAxis axis) const {
    return axis == GraphAxis::X ? xState_ : yState_;
  }
  void applyStyle(const Series& series);
  void applyAxis(GraphAxis axis);
  void changed();
  void redraw();
  void finishZoom(QPoint release);

  QCustomPlot* plot_;
  QCPTextElement* title_;
  QCPItemText* errorCaption_;
  QRubberBand* rubberBand_;
  std::map<int, Series> series_;
  AxisState xState_;
  AxisState yState_;
  bool plotOffGraph_ = false;
  bool crossAtZero_ = false;
  bool errorShown_ = false;
  int suspended_ = 0;
  std::optional<QPoint> zoomStart_;
  //! The axes before the first zoom, restored by a click that does not drag.
  std::optional<std::pair<AxisState, AxisState>> savedAxes_;
  PrintPlacement printPlacement_;
};

//! Suspends redrawing of a graph for its lifetime.
class RedrawSuspension {
 public:
  explicit RedrawSuspension(XyGraph& graph) : graph_(graph) { graph_.suspendRedraw(); }
  ~RedrawSuspension() { graph_.resumeRedraw(); }
  RedrawSuspension(const RedrawSuspension&) = delete;
  RedrawSuspension& operator=(const RedrawSuspension&) = delete;

 private:
  XyGraph& graph_;
};

}  // namespace quorrel
