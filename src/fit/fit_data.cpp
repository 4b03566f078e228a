#include "fit/fit_data.h"

#include <utility>

#include "calc/point_background.h"
#include "calc/point_resolution.h"

namespace quorrel {

FitData FitDataFor(const CalcSettings& settings, MeasuredData measured) {
  FitData data;
  data.pointResolution = PointResolutions(settings, measured, measured.qz);
  if (settings.cbBackground) data.pointBackground = PointBackgrounds(settings, measured.qz);
  data.smearing = settings.smearing;
  data.measured = std::move(measured);
  return data;
}

}  // namespace quorrel
