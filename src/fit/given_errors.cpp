#include "fit/given_errors.h"

#include <cmath>
#include <cstddef>

namespace quorrel {

std::string MissingErrorsRefusal(const std::vector<FitData>& measurements) {
  for (const FitData& fit : measurements) {
    const MeasuredData& data = fit.measured();
    const PointRange range = RegionPoints(data);
    for (int point = range.first; point <= range.last; ++point) {
      const std::size_t i = static_cast<std::size_t>(point - 1);
      const double error = i < data.dr.size() ? data.dr[i] : 0.0;
      if (error > 0.0 && std::isfinite(error)) continue;
      return "the measurement " + fit.measurement.label + " has no error at point " +
             std::to_string(point) +
             ": sampling weights every point by its measured error, so every point of the "
             "fitting region needs one";
    }
  }
  return {};
}

}  // namespace quorrel
