// The reflectivity window's other measurements: each one's points and curve in a colour of its
// own after the measured data, optionally a decade apart each.

#include <cmath>

#include "ui/plot/measurement_colours.h"
#include "ui/plot/reflectivity_slots.h"
#include "ui/plot/reflectivity_window.h"

namespace quorrel {

using namespace reflectivity_slot;

namespace {

// Slots after the fixed ones: measurement k's points at kFirst + 2k, its curve one after.
constexpr int kFirst = 20;

std::vector<double> Shifted(const std::vector<double>& values, double factor) {
  std::vector<double> shifted = values;
  for (double& value : shifted) value *= factor;
  return shifted;
}

}  // namespace

void TfrmPlot::showMeasurements(const std::vector<Measurement>& measurements) {
  measurements_ = measurements.size() > 1 ? measurements : std::vector<Measurement>();
  if (measurements_.empty()) measurementCurves_.clear();
  drawMeasurements();
}

void TfrmPlot::showMeasurementCurves(const std::vector<std::optional<ReflCurve>>& curves) {
  measurementCurves_ = curves;
  drawMeasurements();
}

void TfrmPlot::setOffsetByDecades(bool on) {
  offsetByDecades_ = on;
  offsetAction_->setChecked(on);
  drawMeasurements();
}

void TfrmPlot::drawMeasurements() {
  RedrawSuspension suspension(*xyGraph1);
  for (int slot = kFirst; xyGraph1->hasSeries(slot) || xyGraph1->hasSeries(slot + 1); slot += 2) {
    xyGraph1->freeSeries(slot);
    xyGraph1->freeSeries(slot + 1);
  }
  for (std::size_t k = 0; k < measurements_.size(); ++k) {
    const double factor = offsetByDecades_ ? std::pow(10.0, -static_cast<double>(k)) : 1.0;
    const int slot = kFirst + 2 * static_cast<int>(k);
    const QString label = QString::fromStdString(measurements_[k].label);
    SeriesStyle style = kMeasuredStyle;
    style.pointColor = ReflectivityColour(measurements_[k], k);
    // The first measurement's points are the measured data's own series.
    if (k == 0 && xyGraph1->hasSeries(kMeasured)) {
      xyGraph1->setSeriesName(kMeasured, "measured: " + label);
      if (measurements_[k].channel != SpinChannel::None) xyGraph1->setStyle(kMeasured, style);
    }
    if (k > 0) {
      const MeasuredData& measured = measurements_[k].data;
      xyGraph1->setStyle(slot, style);
      xyGraph1->setPoints(slot, measured.qz, Shifted(measured.r, factor), Shifted(measured.dr, factor));
      xyGraph1->setSeriesName(slot, "measured: " + label);
    }
    if (k < measurementCurves_.size() && measurementCurves_[k]) {
      const ReflCurve& curve = *measurementCurves_[k];
      xyGraph1->setStyle(slot + 1, CurveStyle(ReflectivityColour(measurements_[k], k)));
      xyGraph1->setPoints(slot + 1, curve.x, Shifted(curve.y, factor));
      xyGraph1->setSeriesName(slot + 1, "fit: " + label);
    }
  }
}

}  // namespace quorrel
