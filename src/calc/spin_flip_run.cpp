#include "calc/spin_flip_run.h"

#include "calc/point_background.h"
#include "calc/point_resolution.h"
#include "calc/qz_grid.h"
#include "physics/spin_flip_point.h"

namespace quorrel {

SpinFlipResult RunSpinFlipCalculation(const SpinFlipStack& stack, const CalcSettings& settings,
                                      const MeasuredData& data, KernelKind kernel) {
  SpinFlipResult result;
  const std::vector<double> qz = QzGrid(settings, data);
  result.pointResolution = PointResolutions(settings, data, qz);
  if (settings.cbBackground) result.pointBackground = PointBackgrounds(settings, qz);
  // Smearing is always on, as in the reflectivity run; a resolution of 0 leaves a point as it is.
  const PointOptions options{
      .smear = true, .addBackground = settings.cbBackground, .kernel = settings.smearing};
  std::vector<SpinReflectances> values(qz.size());
  SpinFlipPointBatch(stack, options, result.pointBackground, result.pointResolution, qz, values,
                     kernel);
  for (std::size_t i = 0; i < qz.size(); ++i) {
    const SpinReflectances& r = values[i];
    result.downDown.append(qz[i], r.downDown);
    result.downUp.append(qz[i], r.downUp);
    result.upDown.append(qz[i], r.upDown);
    result.upUp.append(qz[i], r.upUp);
    result.ranges.takePoint(qz[i], r.downDown);
    for (double value : {r.downUp, r.upDown, r.upUp}) result.ranges.takeValue(value);
  }
  if (data.loaded()) {
    for (int k = 0; k < data.count(); ++k) {
      result.ranges.takePoint(data.qz[static_cast<std::size_t>(k)],
                              data.r[static_cast<std::size_t>(k)]);
    }
  }
  return result;
}

}  // namespace quorrel
