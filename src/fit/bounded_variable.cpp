#include "fit/bounded_variable.h"

#include <cmath>

namespace quorrel {

namespace {

bool Finite(double x) { return std::isfinite(x); }

// sqrt(u² + 1) - 1 and its inverse, without the cancellation that would lose a small value
// (a background of 1e-10 above a bound of 0) in the rounding of 1.
double Rise(double u) { return u * u / (std::sqrt(u * u + 1.0) + 1.0); }
double RiseInverse(double d) { return std::sqrt(std::fmax(d * (d + 2.0), 0.0)); }

}  // namespace

double BoundedVariable::value(double u) const {
  const double lo = bounds_.lower, hi = bounds_.upper;
  if (Finite(lo) && Finite(hi)) return bounds_.clamp(lo + (hi - lo) * (std::sin(u) + 1.0) / 2.0);
  if (Finite(lo)) return lo + Rise(u);
  if (Finite(hi)) return hi - Rise(u);
  return u;
}

double BoundedVariable::internal(double v) const {
  const double lo = bounds_.lower, hi = bounds_.upper;
  v = bounds_.clamp(v);
  if (Finite(lo) && Finite(hi)) {
    if (hi == lo) return 0.0;
    // Just inside a bound, where the derivative does not vanish.
    const double s =
        std::fmax(-1.0 + 1e-9, std::fmin(1.0 - 1e-9, 2.0 * (v - lo) / (hi - lo) - 1.0));
    return std::asin(s);
  }
  // A start on the bound itself, where the derivative vanishes, is moved just off it.
  if (Finite(lo)) return RiseInverse(std::fmax(v - lo, 1e-12));
  if (Finite(hi)) return RiseInverse(std::fmax(hi - v, 1e-12));
  return v;
}

double BoundedVariable::derivative(double u) const {
  const double lo = bounds_.lower, hi = bounds_.upper;
  if (Finite(lo) && Finite(hi)) return (hi - lo) / 2.0 * std::cos(u);
  if (Finite(lo)) return u / std::sqrt(u * u + 1.0);
  if (Finite(hi)) return -u / std::sqrt(u * u + 1.0);
  return 1.0;
}

}  // namespace quorrel
