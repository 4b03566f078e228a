#include "ui/plot/reflectivity_window.h"

#include "shell/fitting_region.h"
#include "shell/help_topics.h"
#include "ui/plot/reflectivity_slots.h"
#include "ui/platform/prompts.h"

namespace quorrel {

using namespace reflectivity_slot;

TfrmPlot::TfrmPlot(MeasuredData& measured, Prompts& prompts, QWidget* parent)
    : GraphWindow("Reflectivity", help_context::kReflectivityWindow, parent),
      data_(measured),
      prompts_(prompts) {
  setObjectName("TfrmPlot");
  xyGraph1->setTitle("Reflectivity");
  xyGraph1->setAxisTitle(GraphAxis::X, "Qz / Å^-1");
  xyGraph1->setAxisTitle(GraphAxis::Y, "R");
  xyGraph1->setAxisScale(GraphAxis::Y, AxisScale::Logarithmic);
  xyGraph1->setErrorCaption("Oops, strange data...");
  xyGraph1->setPlotOffGraph(true);
  xyGraph1->setCrossAtZero(true);
  xyGraph1->setStyle(kMeasured, kMeasuredStyle);
  xyGraph1->setStyle(kPlain, CurveStyle(kBlack));
  connect(xyGraph1, &XyGraph::mouseReleased, this, &TfrmPlot::mouseReleasedOverGraph);
}

void TfrmPlot::showMeasuredData() {
  RedrawSuspension suspension(*xyGraph1);
  xyGraph1->freeSeries(kMeasured);
  xyGraph1->setStyle(kMeasured, kMeasuredStyle);
  // Markers of the data set before mark a region this one does not have.
  xyGraph1->freeSeries(kRegionMarkers);
  // All points at once: one by one, a large data set would be sorted in point by point.
  xyGraph1->setPoints(kMeasured, data_.qz, data_.r);
  AxisRanges ranges;
  for (int i = 0; i < data_.count(); ++i) {
    const auto point = static_cast<std::size_t>(i);
    ranges.takePoint(data_.qz[point], data_.r[point]);
  }
  xyGraph1->setAxisLimits(GraphAxis::Y, {ranges.rMin, ranges.rMax});
  xyGraph1->setAxisLimits(GraphAxis::X, {ranges.qMin, ranges.qMax});
}

void TfrmPlot::showReflectivity(const ReflectivityResult& result) {
  RedrawSuspension suspension(*xyGraph1);
  for (const int slot : {kSpinDown, kSpinUp, kPlain, kTransmission}) xyGraph1->freeSeries(slot);
  xyGraph1->setStyle(kPlain, CurveStyle(kBlack));
  xyGraph1->setPoints(kPlain, result.plain.x, result.plain.y);
  if (result.magnetic) {
    xyGraph1->setStyle(kSpinDown, CurveStyle(kBlue));
    xyGraph1->setPoints(kSpinDown, result.spinDown.x, result.spinDown.y);
    xyGraph1->setStyle(kSpinUp, CurveStyle(kRed));
    xyGraph1->setPoints(kSpinUp, result.spinUp.x, result.spinUp.y);
  }
  if (result.withTransmission) {
    xyGraph1->setStyle(kTransmission, CurveStyle(kGrey));
    xyGraph1->setPoints(kTransmission, result.transmission.x, result.transmission.y);
  }
  xyGraph1->setAxisLimits(GraphAxis::Y, {result.ranges.rMin, result.ranges.rMax});
  xyGraph1->setAxisLimits(GraphAxis::X, {result.ranges.qMin, result.ranges.qMax});
  xyGraph1->setYTitleOffset(20);
}

void TfrmPlot::showFitCurve(const ReflCurve& curve) {
  xyGraph1->setPoints(kPlain, curve.x, curve.y);
}

void TfrmPlot::clearFittingRegion() {
  xyGraph1->freeSeries(kRegionMarkers);
  data_.fitRegionLow = -1.0;
  data_.fitRegionHigh = -1.0;
}

std::string TfrmPlot::readout(std::optional<DataPoint> point) const {
  return ReflectivityReadout(point);
}

void TfrmPlot::mouseReleasedOverGraph(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                      QPointF pixel) {
  if (!data_.loaded() || !(modifiers & Qt::ControlModifier)) return;
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  std::optional<DataPoint> nearest;
  if (const auto point = xyGraph1->nearestPoint(kMeasured, pixel.x())) {
    nearest = DataPoint{point->x(), point->y()};
  }
  RegionMarkerChange change;
  {
    RedrawSuspension suspension(*xyGraph1);
    change = ChooseRegionBound(
        data_, button == Qt::LeftButton ? RegionBound::Lower : RegionBound::Upper, nearest);
    if (change.recreateMarkers) xyGraph1->freeSeries(kRegionMarkers);
    // Styled whenever it is new, also by a right click before any left one.
    if (!xyGraph1->hasSeries(kRegionMarkers)) xyGraph1->setStyle(kRegionMarkers, kMarkerStyle);
    if (change.removeMarkersAt) xyGraph1->removePointsAt(kRegionMarkers, *change.removeMarkersAt);
    if (change.addMarker) {
      xyGraph1->addPoint(kRegionMarkers, change.addMarker->x, change.addMarker->y);
    }
  }
  if (change.message) prompts_.information(QString::fromStdString(*change.message));
}

}  // namespace quorrel
