#include "physics/cxmath.h"

#include <cmath>
#include <numbers>
#include <string>

#include "common/error.h"

namespace quorrel {

namespace {
constexpr double kArgEpsilon = 1e-298;
constexpr double kTrigLimit = 9223372036854775808.0;  // 2^63
constexpr double kFaultValue = 1e37;
}  // namespace

void RequireFinite(const Complex& z, const char* operation) {
  if (!std::isfinite(z.re) || !std::isfinite(z.im)) {
    throw ArithmeticFault(std::string("overflow in complex ") + operation);
  }
}

Complex CAdd(const Complex& a, const Complex& b) { return {a.re + b.re, a.im + b.im}; }

Complex CSub(const Complex& a, const Complex& b) { return {a.re - b.re, a.im - b.im}; }

Complex CMul(const Complex& a, const Complex& b) {
  return {a.re * b.re - a.im * b.im, a.re * b.im + b.re * a.im};
}

Complex CScale(const Complex& a, double x) { return {x * a.re, x * a.im}; }

Complex CDiv(const Complex& a, const Complex& b) {
  const double e = b.re * b.re + b.im * b.im;
  if (!std::isfinite(e)) throw ArithmeticFault("overflow in complex division");
  if (e == 0.0) return {kFaultValue, kFaultValue};
  const Complex q{(a.re * b.re + a.im * b.im) / e, (a.im * b.re - a.re * b.im) / e};
  if (!std::isfinite(q.re) || !std::isfinite(q.im)) return {kFaultValue, kFaultValue};
  return q;
}

double CAbs(const Complex& a) {
  const double x = std::fabs(a.re);
  const double y = std::fabs(a.im);
  if (x == 0.0) return y;
  if (y == 0.0) return x;
  const double larger = x > y ? x : y;
  const double smaller = x > y ? y : x;
  const double s = larger >= 1.0 ? larger : smaller;
  const double u = a.re / s;
  const double v = a.im / s;
  const double result = s * std::sqrt(u * u + v * v);
  if (!std::isfinite(result)) throw ArithmeticFault("overflow in complex modulus");
  return result;
}

double CArg(const Complex& a) {
  double result = 0.0;
  bool onAxis = false;
  if (std::fabs(a.im) < kArgEpsilon) {
    result = a.re > 0.0 ? 0.0 : -std::numbers::pi;
    onAxis = true;
  }
  if (std::fabs(a.re) < kArgEpsilon) {
    return a.im >= 0.0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
  }
  if (onAxis) return result;
  const double t = std::atan(a.im / a.re);
  if (a.re < 0.0) return t + std::numbers::pi;
  if (a.im < 0.0) return t + 2 * std::numbers::pi;
  return t;
}

Complex CSqrt(const Complex& a) {
  double angle = CArg(a);
  // The argument's negative axis values would give a root below the real axis; the
  // recursion needs the decaying wave there, so take the same direction one turn up.
  if (angle < 0.0) angle += 2 * std::numbers::pi;
  const double modulus = std::sqrt(CAbs(a));
  return {modulus * BoundedCos(angle / 2), modulus * BoundedSin(angle / 2)};
}

Complex CExp(const Complex& a) {
  const double magnitude = std::exp(a.re);
  if (!std::isfinite(magnitude)) return {0.0, 0.0};
  return {magnitude * BoundedCos(a.im), magnitude * BoundedSin(a.im)};
}

double BoundedSin(double x) { return std::fabs(x) >= kTrigLimit ? 0.0 : std::sin(x); }

double BoundedCos(double x) { return std::fabs(x) >= kTrigLimit ? 0.0 : std::cos(x); }

}  // namespace quorrel
