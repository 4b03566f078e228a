#include "physics/density_profile.h"

#include <cmath>
#include <numbers>

#include "common/error.h"
#include "common/number_format.h"
#include "physics/erfc_approx.h"

namespace quorrel {

DensityProfile::DensityProfile(const LayerStack& stack) : ambientRho_(stack.rho(0)) {
  const int n = stack.layerCount();
  interfaces_.reserve(static_cast<std::size_t>(n) + 1);
  double position = 0.0;
  for (int i = 1; i <= n + 1; ++i) {
    const double sigma = stack.sigma(i);
    interfaces_.push_back({position, stack.rho(i) - stack.rho(i - 1),
                           sigma == 0.0 ? kSharpWidth : sigma});
    if (i <= n) position += stack.thickness(i);
  }
}

double DensityProfile::rhoAt(double z) const {
  double rho = ambientRho_;
  for (const Interface& interface : interfaces_) {
    const double x = (z - interface.position) * std::numbers::sqrt2 / 2 / interface.width;
    rho += interface.step / 2 * (2 - ErfcApprox(x));
  }
  if (!std::isfinite(rho)) {
    throw ArithmeticFault("overflow in the density profile at z = " + FormatGeneral(z));
  }
  return rho;
}

}  // namespace quorrel
