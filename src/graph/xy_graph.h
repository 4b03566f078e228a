#pragma once
// The x-y graph that the plot windows and the printed sheet show: numbered series slots,
// linear and logarithmic axes, zoom, and conversion between pixels and data.

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <optional>
#include <span>
#include <vector>

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <QWidget>

#include "graph/axis_limits.h"
#include "graph/series_style.h"

class QAction;
class QCustomPlot;
class QCPGraph;
class QCPAxis;
class QCPErrorBars;
class QCPItemRect;
class QCPItemText;
class QCPTextElement;
class QPainter;
class QRubberBand;

namespace quorrel {

enum class GraphAxis { X, Y };

class ResidualStrip;

//! How markers are drawn: as pictures on screen, where speed counts, and as shapes on paper
//! and in files, where they must stay sharp at any scale.
enum class MarkerDrawing { Pictures, Shapes };

//! A point as the graph draws it, after the value scale and the reduction to the display;
//! `error` is the half length of its error bar, 0 without one.
struct DrawnPoint {
  double x = 0;
  double y = 0;
  double error = 0;
  friend bool operator==(const DrawnPoint&, const DrawnPoint&) = default;
};

//! The factor by which the values at x are drawn (every value of every series, and its error).
using ValueScale = std::function<double(double x)>;

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
  //! Replaces the points of the slot; any error bars go.
  void setPoints(int slot, const std::vector<double>& x, const std::vector<double>& y);
  //! Replaces the points of the slot, each with an error bar from y - dy to y + dy.
  void setPoints(int slot, const std::vector<double>& x, const std::vector<double>& y,
                 const std::vector<double>& dy);
  //! The name the legend shows for the slot; a series without a name is not in the legend,
  //! and without named series there is no legend.
  void setSeriesName(int slot, const QString& name);
  QString seriesName(int slot) const;
  void removePointsAt(int slot, double x);
  //! The slot becomes free; its next use starts a fresh series of default style.
  void freeSeries(int slot);
  bool hasSeries(int slot) const { return series_.contains(slot); }
  //! The points of the slot as given, in ascending x.
  std::vector<QPointF> points(int slot) const;
  //! The points of the slot as drawn: scaled, and of a long series only those that the
  //! display can tell apart (every extreme of every pixel column kept).
  std::vector<DrawnPoint> drawnPoints(int slot) const;

  //! Every value is drawn multiplied by `scale` at its x; an empty scale draws the values as
  //! they are. The points as given stay unchanged.
  void setValueScale(ValueScale scale);
  //! A shaded band over the full height between two x values, below the series; nothing
  //! removes it.
  void setShadedBand(std::optional<AxisLimits> band);
  std::optional<AxisLimits> shadedBand() const { return band_; }
  //! A band filled in `color` between two curves over the same x (ascending), below the
  //! series and multiplied by the value scale as they are; numbered apart from the slots.
  void setCurveBand(int band, const std::vector<double>& x, const std::vector<double>& lower,
                    const std::vector<double>& upper, QColor color);
  void clearCurveBands();
  bool hasCurveBand(int band) const { return curveBands_.contains(band); }

  // Residual strip: a small linear graph under the main one sharing its x axis.
  //! Shows the strip with its y-axis title, or hides it (nothing).
  void setResidualStrip(std::optional<QString> title);
  bool hasResidualStrip() const;
  //! The points of the strip, drawn as markers of `style`.
  void setResiduals(const std::vector<double>& x, const std::vector<double>& y,
                    const SeriesStyle& style);
  //! The strip's points as given and as drawn.
  std::vector<QPointF> residuals() const;
  std::vector<DrawnPoint> drawnResiduals() const;

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

  //! Offered in the graph's context menu (right button without Ctrl) before nothing else.
  void setContextActions(const QList<QAction*>& actions) { contextActions_ = actions; }

 signals:
  //! The mouse moved over the graph (pixel of this widget).
  void mouseMoved(QPointF pixel);
  //! A button was released over the graph, other than at the end of a zoom.
  void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF pixel);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct AxisState {
    bool automatic = true;
    AxisLimits limits;
    AxisScale scale = AxisScale::Linear;
  };
  //! The axes and the size a series was last reduced for.
  struct DrawnGrid {
    AxisLimits x;
    AxisLimits y;
    AxisScale xScale = AxisScale::Linear;
    AxisScale yScale = AxisScale::Linear;
    int width = 0;
    int height = 0;
    friend bool operator==(const DrawnGrid&, const DrawnGrid&) = default;
  };
  //! The points of one slot as given (ascending x) and the plottables that draw them.
  struct Series {
    QCPGraph* graph = nullptr;
    QCPErrorBars* errors = nullptr;
    SeriesStyle style;
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> dy;  //!< empty without error bars
    //! y and dy times the value scale, valid while `scaledValid`.
    mutable std::vector<double> scaledY;
    mutable std::vector<double> scaledDy;
    mutable bool scaledValid = false;
    //! Empty until the series is drawn and after every change of its points or style.
    mutable std::optional<DrawnGrid> drawnOn;
  };

  Series& seriesAt(int slot);
  QCPAxis* axisOf(GraphAxis axis) const;
  AxisState& stateOf(GraphAxis axis) { return axis == GraphAxis::X ? xState_ : yState_; }
  const AxisState& stateOf(GraphAxis axis) const {
    return axis == GraphAxis::X ? xState_ : yState_;
  }
  void applyStyle(const Series& series);
  //! Draws the markers of every series, the strip's too, as `drawing` says.
  void setMarkerDrawing(MarkerDrawing drawing);
  void applyAxis(GraphAxis axis);
  void changed();
  void redraw();
  //! Hands the reduced, scaled points of every series to the plotting library for a plot
  //! of `width` by `height` pixels.
  void drawSeries(int width, int height);
  //! Runs `output` with the series drawn at the resolution of `size`, and draws them for
  //! the screen again after.
  template <typename Output>
  auto drawnAtSize(QSize size, Output output);
  //! The values and errors of `series` as drawn: times the value scale, computed once per
  //! change of either.
  struct ScaledValues {
    std::span<const double> y;
    std::span<const double> dy;
  };
  ScaledValues scaledValues(const Series& series) const;
  void finishZoom(QPoint release);
  //! Moves the legend into the corner where it hides the fewest points.
  void placeLegend();
  void showContextMenu(QPoint at);
  //! The values' range over all series as drawn (scaled), positive ones only on a
  //! logarithmic axis; nothing when there are none.
  std::optional<AxisLimits> drawnValueRange() const;
  std::optional<AxisLimits> keyRange() const;

  //! A filled band between two curves, as given.
  struct CurveBand {
    QCPGraph* lower = nullptr;
    QCPGraph* upper = nullptr;
    std::vector<double> x, low, high;
  };
  //! Hands the bands, times the value scale, to the plotting library.
  void drawCurveBands();

  QCustomPlot* plot_;
  QCPTextElement* title_;
  QCPItemText* errorCaption_;
  QRubberBand* rubberBand_;
  QCPItemRect* bandRect_;
  std::unique_ptr<ResidualStrip> strip_;
  std::map<int, Series> series_;
  std::map<int, CurveBand> curveBands_;
  QString xTitle_;
  MarkerDrawing markerDrawing_ = MarkerDrawing::Pictures;
  ValueScale valueScale_;
  std::optional<AxisLimits> band_;
  QList<QAction*> contextActions_;
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
