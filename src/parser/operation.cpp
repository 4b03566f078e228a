#include "parser/operation.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "common/error.h"

namespace quorrel {

namespace {

double X(const Operation& op) { return *op.left; }
double Y(const Operation& op) { return *op.right; }

//! trunc(x) as a 64-bit integer; a value outside that range is an invalid operation.
std::int64_t TruncToInt64(double x) {
  const double t = std::trunc(x);
  if (!(t >= -9223372036854775808.0 && t < 9223372036854775808.0)) {
    throw ArithmeticFault("invalid operation");
  }
  return static_cast<std::int64_t>(t);
}

void RunNegate(Operation& op) { op.result = -X(op); }
void RunAdd(Operation& op) { op.result = CheckedResult(X(op) + Y(op)); }
void RunSubtract(Operation& op) { op.result = CheckedResult(X(op) - Y(op)); }
void RunMultiply(Operation& op) { op.result = CheckedResult(X(op) * Y(op)); }
void RunDivide(Operation& op) { op.result = CheckedDivide(X(op), Y(op)); }

void RunMod(Operation& op) {
  const std::int64_t x = TruncToInt64(X(op));
  const std::int64_t y = TruncToInt64(Y(op));
  if (y == 0) throw ArithmeticFault("division by zero");
  // x % -1 is 0, and asking the machine for INT64_MIN % -1 would be undefined.
  op.result = y == -1 ? 0.0 : static_cast<double>(x % y);
}

void RunDiv(Operation& op) {
  const std::int64_t x = TruncToInt64(X(op));
  const std::int64_t y = TruncToInt64(Y(op));
  if (y == 0) throw ArithmeticFault("division by zero");
  if (y == -1 && x == std::numeric_limits<std::int64_t>::min()) throw ArithmeticFault("overflow");
  op.result = static_cast<double>(x / y);
}

// Up to this many factors the power is the product of its factors, as written. Above it
// the factors are multiplied by squaring, which takes a few dozen multiplications where
// repeated ones would take up to a million per evaluation (x near 1 neither overflows nor
// vanishes); the results agree to rounding.
constexpr double kMaxRepeatedFactors = 64;
// Beyond this the exponent is no longer an exact integer in a 64-bit word.
constexpr double kMaxSquaredExponent = 9007199254740992.0;  // 2^53

double PowerBySquaring(double x, std::uint64_t n) {
  double result = 1.0;
  double factor = x;
  while (n > 0) {
    if ((n & 1u) != 0) result *= factor;
    n >>= 1;
    if (n > 0) factor *= factor;
  }
  return result;
}

void RunWholePower(Operation& op) {
  const double x = X(op);
  const double y = Y(op);
  const double n = std::trunc(std::fabs(y));
  double result = 1.0;
  if (n > kMaxSquaredExponent) {
    result = std::pow(x, n);
  } else if (n > kMaxRepeatedFactors) {
    result = PowerBySquaring(x, static_cast<std::uint64_t>(n));
  } else if (n >= 1.0) {
    result = x;
    // Once 0 or infinite the product stays so; stopping early changes nothing.
    for (double i = 1.0; i < n && result != 0.0 && std::isfinite(result); i += 1.0) result *= x;
  }
  result = CheckedResult(result);
  op.result = y < 0.0 ? CheckedDivide(1.0, result) : result;
}

void RunPower(Operation& op) {
  const double x = X(op);
  if (x == 0.0) {
    op.result = 0.0;
    return;
  }
  if (x < 0.0) throw ArithmeticFault("logarithm of a negative number");
  op.result = CheckedResult(std::exp(Y(op) * std::log(x)));
}

void RunSquare(Operation& op) { op.result = CheckedResult(X(op) * X(op)); }
void RunCube(Operation& op) { op.result = CheckedResult(X(op) * (X(op) * X(op))); }
void RunFourthPower(Operation& op) {
  const double square = X(op) * X(op);
  op.result = CheckedResult(square * square);
}
void RunFunction1(Operation& op) { op.result = CheckedResult(op.function1(X(op))); }
void RunFunction2(Operation& op) { op.result = CheckedResult(op.function2(X(op), Y(op))); }

}  // namespace

Routine RoutineFor(OpCode code) {
  switch (code) {
    case OpCode::Variable:
    case OpCode::Constant:
      return nullptr;
    case OpCode::Negate: return RunNegate;
    case OpCode::Add: return RunAdd;
    case OpCode::Subtract: return RunSubtract;
    case OpCode::Multiply: return RunMultiply;
    case OpCode::Divide: return RunDivide;
    case OpCode::Mod: return RunMod;
    case OpCode::Div: return RunDiv;
    case OpCode::WholePower: return RunWholePower;
    case OpCode::Power: return RunPower;
    case OpCode::Square: return RunSquare;
    case OpCode::Cube: return RunCube;
    case OpCode::FourthPower: return RunFourthPower;
    case OpCode::Function1: return RunFunction1;
    case OpCode::Function2: return RunFunction2;
  }
  return nullptr;
}

bool IsBinary(OpCode code) {
  switch (code) {
    case OpCode::Variable:
    case OpCode::Constant:
    case OpCode::Negate:
    case OpCode::Function1:
      return false;
    default:
      return true;
  }
}

}  // namespace quorrel
