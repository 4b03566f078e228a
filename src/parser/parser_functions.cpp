#include "parser/parser_functions.h"

#include <cmath>
#include <cstdint>
#include <random>

#include "common/error.h"

namespace quorrel {

namespace {

constexpr double kTwoPower63 = 9223372036854775808.0;
constexpr double kTwoOverPi = 0.6366197723675814;
constexpr double kTwoPi = 6.283185307179586;

//! A uniform number in [0, 1). Each thread has its own generator, so parsers evaluated
//! on different threads never share state.
double UniformUnit() {
  thread_local std::mt19937_64 engine{std::random_device{}()};
  // 53 random bits scaled by 2^-53 can never round up to 1.
  return static_cast<double>(engine() >> 11) * 0x1.0p-53;
}

}  // namespace

double CheckedResult(double value) {
  if (std::isnan(value)) throw ArithmeticFault("invalid operation");
  if (std::isinf(value)) throw ArithmeticFault("overflow");
  return value;
}

double CheckedDivide(double x, double y) {
  if (y == 0.0) throw ArithmeticFault("division by zero");
  return CheckedResult(x / y);
}

double ReducedSin(double x) { return std::fabs(x) >= kTwoPower63 ? 0.0 : std::sin(x); }
double ReducedCos(double x) { return std::fabs(x) >= kTwoPower63 ? 0.0 : std::cos(x); }

double ParserSin(double x) { return ReducedSin(x); }
double ParserCos(double x) { return ReducedCos(x); }
double ParserTan(double x) { return CheckedDivide(ReducedSin(x), ReducedCos(x)); }
double ParserArcTan(double x) { return std::atan(x); }
double ParserSinh(double x) { return CheckedResult((std::exp(x) - std::exp(-x)) / 2.0); }
double ParserCosh(double x) { return CheckedResult((std::exp(x) + std::exp(-x)) / 2.0); }
double ParserExp(double x) { return CheckedResult(std::exp(x)); }

double ParserLn(double x) {
  if (x < 0.0) throw ArithmeticFault("logarithm of a negative number");
  if (x == 0.0) throw ArithmeticFault("logarithm of zero");
  return CheckedResult(std::log(x));
}

double ParserSqrt(double x) {
  if (x < 0.0) throw ArithmeticFault("square root of a negative number");
  return std::sqrt(x);
}

double ParserAbs(double x) { return std::fabs(x); }
double ParserHeav(double x) { return x >= 0.0 ? 1.0 : 0.0; }
double ParserSign(double x) { return x > 0.0 ? 1.0 : (x < 0.0 ? -1.0 : 0.0); }
double ParserZero(double x) { return x == 0.0 ? 0.0 : 1.0; }

double ParserPh(double x) {
  const double q = x / kTwoOverPi;
  // nearbyint rounds to nearest with ties to even in the default rounding mode.
  return CheckedResult((q - std::nearbyint(q)) * kTwoPi);
}

double ParserRnd(double x) { return std::trunc(x) * UniformUnit(); }

double ParserMax(double x, double y) { return x >= y ? x : y; }
double ParserMin(double x, double y) { return x < y ? x : y; }

}  // namespace quorrel
