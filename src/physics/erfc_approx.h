#pragma once
// The complementary error function of the density profile, as a Chebyshev-fitted
// approximation with a fractional error below 1.2e-7.

namespace quorrel {

//! erfc(x) approximated; 0 far on the positive side, 2 far on the negative side.
double ErfcApprox(double x);

}  // namespace quorrel
