#include "graph/nearest_point.h"

#include <algorithm>

namespace quorrel {

std::optional<std::size_t> NearestPointIndex(std::span<const double> xs, double x,
                                             AxisLimits axis) {
  if (xs.empty() || x < axis.min || x > axis.max) return std::nullopt;
  const auto notLess = std::lower_bound(xs.begin(), xs.end(), x);
  if (notLess == xs.end()) return xs.size() - 1;
  const auto index = static_cast<std::size_t>(notLess - xs.begin());
  if (index == 0) return 0;
  const double midpoint = (xs[index - 1] + xs[index]) / 2;
  if (x != xs[index] && x <= midpoint) return index - 1;
  return index;
}

}  // namespace quorrel
