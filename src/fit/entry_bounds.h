#pragma once
// The range a fit may move one entry in.

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorrel {

//! A closed interval; either side may be infinite. A missing bound is the infinite one.
struct Bounds {
  double lower = -std::numeric_limits<double>::infinity();
  double upper = std::numeric_limits<double>::infinity();

  bool contains(double x) const { return x >= lower && x <= upper; }
  bool finite() const { return std::isfinite(lower) && std::isfinite(upper); }
  bool unbounded() const { return std::isinf(lower) && std::isinf(upper); }
  double clamp(double x) const { return std::min(std::max(x, lower), upper); }
};

}  // namespace quorrel
