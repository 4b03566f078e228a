#include "physics/transmission.h"

#include <cmath>
#include <numbers>

#include "common/error.h"
#include "physics/cxmath.h"

namespace quorrel {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kFourPi = 4 * std::numbers::pi;
constexpr double kAngstromPerMm = 1e7;

//! d / sin(theta) in one medium: the real part of 2π·d/λ divided by its kz.
double PathInMedium(double d, double rho, double imRho, double wavelength, double qz) {
  const double phase = kTwoPi * d / wavelength;
  if (!std::isfinite(phase)) throw ArithmeticFault("division by the wavelength", qz);
  const Complex kz = CSqrt({qz * qz / 4 - kFourPi * rho, kFourPi * imRho});
  return CDiv({phase, 0.0}, kz).re;
}

}  // namespace

double TransmissionPathLength(int layerCount, const LayerStack& stack, double thicknessMm,
                              double wavelength, double qz) {
  double length = 0.0;
  for (int j = 1; j <= layerCount; ++j) {
    length += PathInMedium(std::fabs(stack.thickness(j)), stack.rho(j), stack.imRho(j),
                           wavelength, qz);
  }
  const int substrate = layerCount + 1;
  length += PathInMedium(thicknessMm * kAngstromPerMm, stack.rho(substrate),
                         stack.imRho(substrate), wavelength, qz);
  if (!std::isfinite(length)) throw ArithmeticFault("overflow in the transmission path", qz);
  return length;
}

double Transmission(int layerCount, const LayerStack& stack, double thicknessMm,
                    double wavelength, double qz) {
  const double length = TransmissionPathLength(layerCount, stack, thicknessMm, wavelength, qz);
  if (!(length > 0.0)) return 0.0;
  const double result = std::exp(-2 * wavelength * stack.imRho(layerCount + 1) * length);
  if (!std::isfinite(result)) throw ArithmeticFault("overflow in the transmission", qz);
  return result;
}

}  // namespace quorrel
