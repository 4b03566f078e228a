#include "physics/erfc_approx.h"

#include <cmath>

namespace quorrel {

double ErfcApprox(double x) {
  const double u = std::fabs(x);
  const double t = 1 / (1 + u / 2);
  const double p =
      1.00002368 +
      t * (0.37409196 +
           t * (0.09678418 +
                t * (-0.18628806 +
                     t * (0.27886807 +
                          t * (-1.13520398 +
                               t * (1.48851587 + t * (-0.82215223 + t * 0.17087277)))))));
  double a = t * std::exp(-u * u - 1.26551223 + t * p);
  // A fault in the evaluation (an overflowing square, a value that is not a number) counts
  // as the tail, where the function is 0.
  if (!std::isfinite(a)) a = 0.0;
  return x >= 0 ? a : 2 - a;
}

}  // namespace quorrel
