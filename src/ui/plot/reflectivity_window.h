#pragma once
// The reflectivity window: measured points, calculated curves and the fitting region.

#include "calc/curves.h"
#include "model/measured_data.h"
#include "ui/plot/graph_window.h"

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
  //! The curves of a run in slots 1 to 4, with the run's axis ranges.
  void showReflectivity(const ReflectivityResult& result);
  //! A running fit's newest curve in place of the calculated one.
  void showFitCurve(const quorrel::ReflCurve& curve);
  //! The fitting region is set back to none and its markers go.
  void clearFittingRegion();

 protected:
  std::string readout(std::optional<DataPoint> point) const override;

 private:
  void mouseReleasedOverGraph(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                              QPointF pixel);

  MeasuredData& data_;
  Prompts& prompts_;
};

}  // namespace quorrel
