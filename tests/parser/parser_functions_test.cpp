// The values of the registered functions and the faults of evaluation.

#include "parser/parser_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>

#include "common/error.h"
#include "parser/parser.h"

namespace quorrel {
namespace {

double ValueOf(const std::string& expression, double z = 0.0) {
  TParser parser;
  parser.SetVariableValue("z", z);
  parser.SetExpression(expression);
  return parser.Value();
}

struct FunctionCase {
  const char* expression;
  double expected;
};

class FunctionValue : public ::testing::TestWithParam<FunctionCase> {};

TEST_P(FunctionValue, IsTheTabulatedOne) {
  EXPECT_DOUBLE_EQ(ValueOf(GetParam().expression), GetParam().expected)
      << GetParam().expression;
}

INSTANTIATE_TEST_SUITE_P(
    Registered, FunctionValue,
    ::testing::Values(
        FunctionCase{"SIN(1)", 0.8414709848078965}, FunctionCase{"COS(1)", 0.5403023058681398},
        FunctionCase{"TAN(1)", 1.5574077246549023}, FunctionCase{"ARCTAN(1)", std::numbers::pi / 4},
        FunctionCase{"SINH(1)", 1.1752011936438014}, FunctionCase{"COSH(1)", 1.5430806348152437},
        FunctionCase{"EXP(1)", std::numbers::e}, FunctionCase{"LN(2)", std::numbers::ln2},
        FunctionCase{"SQRT(2)", std::numbers::sqrt2}, FunctionCase{"ABS(-3)", 3},
        FunctionCase{"HEAV(0)", 1}, FunctionCase{"HEAV(-0.5)", 0}, FunctionCase{"HEAV(2)", 1},
        FunctionCase{"SIGN(0)", 0}, FunctionCase{"SIGN(-2)", -1}, FunctionCase{"SIGN(3)", 1},
        FunctionCase{"ZERO(0)", 0}, FunctionCase{"ZERO(5)", 1}, FunctionCase{"ZERO(-1E-300)", 1},
        FunctionCase{"MAX(2,3)", 3}, FunctionCase{"MAX(3,2)", 3}, FunctionCase{"MIN(2,3)", 2},
        FunctionCase{"MIN(3,2)", 2},
        // Beyond 2^63 the argument reduction gives up and the value is 0.
        FunctionCase{"SIN(1E19)", 0}, FunctionCase{"COS(-1E19)", 0},
        FunctionCase{"SIN(9.2E18)*0+ZERO(SIN(9.2E18))", 1},
        // PH: a quarter period is 2/pi; the remainder of q rounds halves to even.
        FunctionCase{"PH(0)", 0}, FunctionCase{"PH(0.3183098861837907)", std::numbers::pi},
        FunctionCase{"PH(0.954929658551372)", -std::numbers::pi},
        FunctionCase{"PH(1.5915494309189535)", std::numbers::pi},
        FunctionCase{"RND(0.9)", 0}));

TEST(ParserFunctions, RndScalesAUniformNumberByTheTruncatedArgument) {
  std::set<double> seen;
  for (int i = 0; i < 50; ++i) {
    const double r = ValueOf("RND(z)", 10.7);
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, 10.0);
    seen.insert(r);
    const double negative = ValueOf("RND(z)", -5.0);
    EXPECT_LE(negative, 0.0);
    EXPECT_GT(negative, -5.0);
  }
  EXPECT_GT(seen.size(), 40u);
}

struct FaultCase {
  const char* expression;
  double z;
  const char* fault;
};

class EvaluationFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(EvaluationFault, ThrowsATypedError) {
  TParser parser;
  parser.SetVariableValue("z", GetParam().z);
  ASSERT_TRUE(parser.SetExpression(GetParam().expression));
  try {
    const double value = parser.Value();
    FAIL() << GetParam().expression << " gave " << value;
  } catch (const ArithmeticFault& fault) {
    EXPECT_EQ(fault.fault(), GetParam().fault) << GetParam().expression;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, EvaluationFault,
    ::testing::Values(FaultCase{"1/z", 0, "division by zero"},
                      FaultCase{"0^-1", 0, "division by zero"},
                      FaultCase{"z^-3", 0, "division by zero"},
                      FaultCase{"7MODz", 0, "division by zero"},
                      FaultCase{"7DIV(z)", 0.5, "division by zero"},
                      FaultCase{"TAN(z)", 1e19, "division by zero"},
                      FaultCase{"LN(z)", -1, "logarithm of a negative number"},
                      FaultCase{"LN(z)", 0, "logarithm of zero"},
                      FaultCase{"(-8)^(1/3)", 0, "logarithm of a negative number"},
                      FaultCase{"SQRT(z)", -1, "square root of a negative number"},
                      FaultCase{"EXP(z)", 1000, "overflow"},
                      FaultCase{"SINH(z)", 1000, "overflow"},
                      FaultCase{"COSH(z)", -1000, "overflow"},
                      FaultCase{"z*z", 1e200, "overflow"},
                      FaultCase{"z+z", 1.7e308, "overflow"},
                      FaultCase{"z^2", 1e200, "overflow"},
                      FaultCase{"z^7", 1e100, "overflow"},
                      FaultCase{"z^0.5*1E300^2", 1, "overflow"},
                      FaultCase{"(z)DIV1", 1e19, "invalid operation"},
                      FaultCase{"-9223372036854775808DIV(-1)", 0, "overflow"}));

TEST(ParserFunctions, ExtremeQuotientsOfIntegersStayDefined) {
  EXPECT_EQ(ValueOf("-9223372036854775808MOD(-1)"), 0.0);
  EXPECT_EQ(ValueOf("7MOD(-1)"), 0.0);
  EXPECT_EQ(ValueOf("-7DIV(-1)"), 7.0);
}

TEST(ParserFunctions, HugeWholeExponentsNeitherHangNorOverflowSilently) {
  EXPECT_EQ(ValueOf("z^1E15", 1.0), 1.0);
  EXPECT_EQ(ValueOf("z^1E15", -1.0), 1.0);
  EXPECT_EQ(ValueOf("z^1000001", -1.0), -1.0);
  EXPECT_EQ(ValueOf("z^1E15", 0.5), 0.0);
  EXPECT_THROW(ValueOf("z^1E15", 1.0000001), ArithmeticFault);
}

TEST(ParserFunctions, UnderflowGivesZero) {
  EXPECT_EQ(ValueOf("EXP(z)", -1000), 0.0);
  EXPECT_EQ(ValueOf("z*z", 1e-200), 0.0);
}

}  // namespace
}  // namespace quorrel
