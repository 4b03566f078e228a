#include "physics/reflectance.h"

#include <cmath>
#include <numbers>

#include "common/error.h"

namespace quorrel {

namespace {

constexpr double kFourPi = 4 * std::numbers::pi;

//! The interface coefficient r_j between media j and j + 1, roughness sigma of medium j + 1.
Complex RoughInterface(const Complex& upper, const Complex& lower, double sigma) {
  const Complex difference = CSub(upper, lower);
  const Complex sum = CAdd(upper, lower);
  RequireFinite(sum, "addition");
  const Complex fresnel = CDiv(difference, sum);
  const Complex product = CMul(upper, lower);
  RequireFinite(product, "multiplication");
  const Complex exponent = CScale(product, -2 * (sigma * sigma));
  RequireFinite(exponent, "scaling");
  const Complex r = CMul(fresnel, CExp(exponent));
  RequireFinite(r, "multiplication");
  return r;
}

}  // namespace

void ReflectanceWorkspace::reserve(int layerCount) {
  kz_.resize(static_cast<std::size_t>(layerCount) + 2);
}

double Reflectance(const LayerStack& stack, double qz, ReflectanceWorkspace& workspace) {
  const int n = stack.layerCount();
  if (workspace.kz_.size() < static_cast<std::size_t>(n) + 2) workspace.reserve(n);
  Complex* kz = workspace.kz_.data();

  // Vacuum wave number from the ambient medium's wave-vector component Qz/2.
  const Complex ambient{qz * qz / 4 + kFourPi * stack.rho(0), kFourPi * stack.imRho(0)};
  const double k = CAbs(CSqrt(ambient));
  if (!std::isfinite(k * k)) throw ArithmeticFault("overflow in the vacuum wave number");
  const double k2 = k * k;
  for (int j = 0; j <= n + 1; ++j) {
    kz[j] = CSqrt({k2 - kFourPi * stack.rho(j), kFourPi * stack.imRho(j)});
    RequireFinite(kz[j], "square root");
  }

  Complex x = RoughInterface(kz[n], kz[n + 1], stack.sigma(n + 1));
  for (int j = n - 1; j >= 0; --j) {
    const Complex r = RoughInterface(kz[j], kz[j + 1], stack.sigma(j + 1));
    const double d = std::fabs(stack.thickness(j + 1));
    const Complex phaseArgument = CMul(kz[j + 1], {0.0, 2 * d});
    RequireFinite(phaseArgument, "multiplication");
    const Complex w = CMul(CExp(phaseArgument), x);
    RequireFinite(w, "multiplication");
    Complex denominator = CMul(r, w);
    denominator.re += 1.0;
    RequireFinite(denominator, "multiplication");
    const Complex numerator = CAdd(r, w);
    RequireFinite(numerator, "addition");
    x = CDiv(numerator, denominator);
  }
  const double result = x.re * x.re + x.im * x.im;
  if (!std::isfinite(result)) throw ArithmeticFault("overflow in the reflectance");
  return result;
}

double PointReflectivity(const LayerStack& stack, PointOptions options, double background,
                         double resolution, double qz, ReflectanceWorkspace& workspace) {
  double value = Reflectance(stack, qz, workspace);
  if (options.smear) {
    const double b = resolution;
    // Gaussian of standard deviation b/2, accumulated outside-in; 4.89 is the sum of the weights.
    value += 0.135 * Reflectance(stack, qz - b, workspace);
    value += 0.135 * Reflectance(stack, qz + b, workspace);
    value += 0.325 * Reflectance(stack, qz - 0.75 * b, workspace);
    value += 0.325 * Reflectance(stack, qz + 0.75 * b, workspace);
    value += 0.605 * Reflectance(stack, qz - b / 2, workspace);
    value += 0.605 * Reflectance(stack, qz + b / 2, workspace);
    value += 0.88 * Reflectance(stack, qz - b / 4, workspace);
    value += 0.88 * Reflectance(stack, qz + b / 4, workspace);
    value /= 4.89;
  }
  if (options.addBackground) value += background;
  if (!std::isfinite(value)) throw ArithmeticFault("overflow in the reflectivity");
  return value;
}

}  // namespace quorrel
