#include "graph/axis_limits.h"

#include <cmath>
#include <utility>

namespace quorrel {

bool LimitsUsable(AxisLimits limits, AxisScale scale) {
  if (!std::isfinite(limits.min) || !std::isfinite(limits.max)) return false;
  if (limits.min > limits.max) return false;
  return scale == AxisScale::Linear || limits.min > 0;
}

AxisLimits DrawableLimits(AxisLimits limits, AxisScale scale) {
  if (limits.min != limits.max) return limits;
  if (scale == AxisScale::Logarithmic) return {limits.min / 10, limits.max * 10};
  const double half = limits.min == 0 ? 1.0 : std::abs(limits.min) / 10;
  return {limits.min - half, limits.max + half};
}

AxisLimits PaddedLimits(AxisLimits data, AxisScale scale) {
  if (scale == AxisScale::Logarithmic) {
    const double factor = std::pow(data.max / data.min, 0.05);
    return {data.min / factor, data.max * factor};
  }
  const double pad = (data.max - data.min) / 20;
  return {data.min - pad, data.max + pad};
}

AxisLimits ZoomedLimits(AxisLimits rectangle, AxisLimits saved, AxisScale scale) {
  if (rectangle.min > rectangle.max) std::swap(rectangle.min, rectangle.max);
  const bool log = scale == AxisScale::Logarithmic;
  const auto toScale = [log](double v) { return log ? std::log10(v) : v; };
  const auto fromScale = [log](double v) { return log ? std::pow(10.0, v) : v; };
  const double low = toScale(rectangle.min);
  const double high = toScale(rectangle.max);
  const double least = std::abs(toScale(saved.max) - toScale(saved.min)) / 1000;
  if (high - low >= least) return rectangle;
  const double centre = (low + high) / 2;
  return {fromScale(centre - least / 2), fromScale(centre + least / 2)};
}

}  // namespace quorrel
