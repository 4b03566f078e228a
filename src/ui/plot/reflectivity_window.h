#pragma once
// The reflectivity window: measured points, calculated curves and the fitting region.

#include <memory>
#include <optional>
#include <vector>

#include "calc/curves.h"
#include "model/measured_data.h"
#include "model/measurement.h"
#include "shell/persisted_settings.h"
#include "ui/plot/graph_window.h"
#include "ui/plot/reflectivity_views.h"

class QAction;

namespace quorrel {

class Prompts;

class TfrmPlot : public GraphWindow {
  Q_OBJECT

 public:
  //! `measured` is the program's measured data, whose fitting region the mouse sets.
  TfrmPlot(MeasuredData& measured, Prompts& prompts, QWidget* parent = nullptr);

  //! Rebuilds the measured series from `data` and sets the axes to its range. The region
  //! markers of earlier data go.
  void showMeasuredData();
  //! The curves of a run in slots 1 to 4, or 1 and 4 to 8 with spin flip, with the run's
  //! axis ranges.
  void showReflectivity(const ReflectivityResult& result);
  //! A running fit's newest curve in place of the calculated one.
  void showFitCurve(const quorrel::ReflCurve& curve);
  //! The points of every measurement after the first (the first one is the measured data)
  //! in a colour of its own, named in the legend by its label; none: only the measured data.
  void showMeasurements(const std::vector<Measurement>& measurements);
  //! Each measurement's own curve (its scale, background and overrides) in its colour.
  void showMeasurementCurves(const std::vector<std::optional<ReflCurve>>& curves);
  //! Measurement k drawn 10^-k times its values, so that several contrasts do not overlap.
  void setOffsetByDecades(bool on);
  bool offsetByDecades() const { return offsetByDecades_; }

  //! The fitting region is set back to none and its markers go.
  void clearFittingRegion();

  //! The ambient and substrate that the view R/R_Fresnel divides by; nothing while the
  //! model does not say (the view then shows no curves).
  void setFresnelMedia(std::optional<FresnelMedia> media);
  //! The view of the y axis and the residuals strip, as the context menu chooses them.
  void setPlotChoices(PlotChoices choices);
  PlotChoices plotChoices() const { return choices_; }

 protected:
  std::string readout(std::optional<DataPoint> point) const override;

 private:
  void mouseReleasedOverGraph(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                              QPointF pixel);
  //! The view as drawn: the spin asymmetry shows as R while there are no spin channels.
  ReflectivityView shownView() const;
  //! The measured points and the curves that the shown view draws: the spin asymmetry alone,
  //! or everything else.
  void drawSeries();
  void drawMeasured();
  //! The value scale, the y axis and its limits of the current view.
  void applyView();
  //! The strip of the measured points against the calculated curve, when it is chosen.
  void showResiduals();
  //! Shades the region between the two markers, once both are set.
  void shadeFittingRegion();
  void buildContextMenu();

  MeasuredData& data_;
  Prompts& prompts_;
  PlotChoices choices_;
  std::optional<FresnelMedia> fresnelMedia_;
  //! The range of R that the last data load or run gave the y axis.
  AxisLimits valueRange_{1e-37, 1e37};
  //! The black curve as it was handed in, which the residuals compare the points with.
  Curve modelCurve_;
  //! The last run's other curves.
  ReflectivityResult run_;
  QAction* residualsAction_ = nullptr;
  std::vector<QAction*> viewActions_;
  std::vector<Measurement> measurements_;
  std::vector<std::optional<ReflCurve>> measurementCurves_;
  bool offsetByDecades_ = false;
  QAction* offsetAction_ = nullptr;
  //! Draws measurements_ and measurementCurves_ with the current offset.
  void drawMeasurements();
  QAction* asymmetryAction_ = nullptr;
};

}  // namespace quorrel
