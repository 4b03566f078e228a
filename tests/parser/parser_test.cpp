// What expressions mean: grouping, powers, numbers and the levels of operations.

#include "parser/parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace quorrel {
namespace {

//! A parser with the variable z, as the model editor creates it.
TParser ParserWithZ(double z = 0.0) {
  TParser parser;
  parser.SetVariableValue("z", z);
  return parser;
}

double ValueOf(const std::string& expression, double z = 0.0) {
  TParser parser = ParserWithZ(z);
  parser.A() = 2.0;
  parser.B() = 3.0;
  parser.C() = 4.0;
  parser.SetExpression(expression);
  return parser.Value();
}

struct ValueCase {
  const char* expression;
  double z;
  double expected;
};

class ExpressionValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ExpressionValue, GroupsAsTheFormsSay) {
  const ValueCase& c = GetParam();
  EXPECT_DOUBLE_EQ(ValueOf(c.expression, c.z), c.expected) << c.expression;
}

INSTANTIATE_TEST_SUITE_P(
    Grouping, ExpressionValue,
    ::testing::Values(
        ValueCase{"10-4-3", 0, 3},          // minus groups to the left
        ValueCase{"10-4+3", 0, 9},
        ValueCase{"10+4-3", 0, 11},
        ValueCase{"64/4/2", 0, 8},          // slash groups to the left
        ValueCase{"7DIV2DIV2", 0, 1},
        ValueCase{"3*5DIV2", 0, 6},         // the first "*" whose left side fits
        ValueCase{"12/4*3", 0, 9},
        ValueCase{"2+3*4", 0, 14},
        ValueCase{"2*3+4", 0, 10},
        ValueCase{"2*3^2", 0, 18},
        ValueCase{"2^3*2", 0, 16},
        ValueCase{"-2^2", 0, -4},           // a power's base carries no unary minus
        ValueCase{"(-2)^2", 0, 4},
        ValueCase{"3*-2^2", 0, -12},        // the side passes as a power, then classifies as -(2^2)
        ValueCase{"-z+3", 2, 1},            // unary minus binds to its operand only
        ValueCase{"-z*3", 2, -6},
        ValueCase{"-(z+1)", 2, -3},
        ValueCase{"A*-3", 0, -6},           // -3 is a number
        ValueCase{"((z))+1", 2, 3},
        ValueCase{" z+1 ", 2, 3},           // outer blanks are removed
        ValueCase{"2E-3+1", 0, 1.002},
        ValueCase{"1.5E+2*2", 0, 300},
        ValueCase{"7.9DIV2", 0, 3},
        ValueCase{"-7DIV2", 0, -3},         // integer division truncates
        ValueCase{"-7MOD2", 0, -1},         // the remainder has the dividend's sign
        ValueCase{"7MOD-2", 0, 1},
        ValueCase{"MAX(A,MAX(B,C))", 0, 4},
        ValueCase{"MAX(MAX(A,B),C)", 0, 4},
        ValueCase{"MIN(3,-2)", 0, -2},
        ValueCase{"MAX((A),B*C)", 0, 12},
        ValueCase{"sin(z)*0+SIN(Z)", 1, std::sin(1.0)},
        ValueCase{"pi", 0, std::numbers::pi},
        ValueCase{"-PI*2", 0, -2 * std::numbers::pi},
        ValueCase{"X+Y+T", 0, 0}));

INSTANTIATE_TEST_SUITE_P(
    Powers, ExpressionValue,
    ::testing::Values(ValueCase{"z^0", 0, 1}, ValueCase{"z^0", 7, 1}, ValueCase{"z^1", 7, 7},
                      ValueCase{"z^2", 3, 9}, ValueCase{"z^3", 3, 27}, ValueCase{"z^4", 3, 81},
                      ValueCase{"z^5", 2, 32}, ValueCase{"z^-2", 2, 0.25},
                      ValueCase{"z^-3", 2, 0.125}, ValueCase{"z^2.0", 3, 9},
                      ValueCase{"z^0.5", 4, 2}, ValueCase{"z^0.5", 0, 0},
                      ValueCase{"z^A", 3, 9}, ValueCase{"z^(1)", 3, 3},
                      ValueCase{"2^SQRT(4)", 0, 4}, ValueCase{"SQRT(4)^3", 0, 8}));

struct CodeCase {
  const char* expression;
  std::vector<OpCode> codes;
};

class OperationList : public ::testing::TestWithParam<CodeCase> {};

TEST_P(OperationList, HasItsCodesDeepestLevelFirst) {
  TParser parser = ParserWithZ();
  parser.SetExpression(GetParam().expression);
  EXPECT_EQ(parser.OperationCodes(), GetParam().codes) << GetParam().expression;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, OperationList,
    ::testing::Values(CodeCase{"z", {OpCode::Variable}}, CodeCase{"(2.5)", {OpCode::Constant}},
                      CodeCase{"-z", {OpCode::Negate}}, CodeCase{"z^2", {OpCode::Square}},
                      CodeCase{"z^3", {OpCode::Cube}}, CodeCase{"z^4", {OpCode::FourthPower}},
                      CodeCase{"z^5", {OpCode::WholePower}}, CodeCase{"z^-2", {OpCode::WholePower}},
                      CodeCase{"z^0.5", {OpCode::Power}}, CodeCase{"z^A", {OpCode::Power}},
                      CodeCase{"z^(2)", {OpCode::Power}}, CodeCase{"z^PI", {OpCode::Power}},
                      CodeCase{"SIN(z+1)*2", {OpCode::Add, OpCode::Function1, OpCode::Multiply}},
                      CodeCase{"MAX(z,1)MOD2", {OpCode::Function2, OpCode::Mod}},
                      CodeCase{"7DIV2/z", {OpCode::Div, OpCode::Divide}},
                      CodeCase{"z-1-2", {OpCode::Subtract, OpCode::Subtract}}));

std::string SumOfZ(int terms) {
  std::string sum = "Z";
  for (int i = 1; i < terms; ++i) sum += "+Z";
  return sum;
}

TEST(ParserLevels, TwentyOneTermsFitTwentyLevelsAndTwentyTwoDoNot) {
  TParser parser = ParserWithZ(1.0);
  EXPECT_TRUE(parser.SetExpression(SumOfZ(21)));
  EXPECT_EQ(parser.Value(), 21.0);
  try {
    parser.SetExpression(SumOfZ(22));
    FAIL() << "22 terms compiled";
  } catch (const ETooManyNestings& error) {
    EXPECT_STREQ(error.what(), "Expression contains too many nestings");
  }
  EXPECT_TRUE(parser.CompileFailed());
  EXPECT_EQ(parser.Value(), 0.0);
}

//! A balanced sum of depth `depth` whose leaves at the next level are the first `extra`
//! of them bracketed sums, the others plain Z.
std::string BalancedSum(int depth, int& extra) {
  if (depth == 0) {
    if (extra == 0) return "Z";
    --extra;
    return "(Z+Z)";
  }
  const std::string left = BalancedSum(depth - 1, extra);
  return "(" + left + "+" + BalancedSum(depth - 1, extra) + ")";
}

TEST(ParserLevels, FiftyOperationsFitOneLevelAndFiftyOneDoNot) {
  TParser parser = ParserWithZ(1.0);
  int fifty = 50;
  EXPECT_TRUE(parser.SetExpression(BalancedSum(6, fifty)));
  EXPECT_EQ(parser.Value(), 64.0 + 50.0);
  int fiftyOne = 51;
  try {
    parser.SetExpression(BalancedSum(6, fiftyOne));
    FAIL() << "51 operations on level 7 compiled";
  } catch (const EExpressionTooComplex& error) {
    EXPECT_STREQ(error.what(), "Expression is too complex");
  }
}

TEST(ParserLevels, BracketsAddNoLevel) {
  TParser parser = ParserWithZ(1.0);
  std::string sum = "Z";
  for (int i = 1; i < 21; ++i) sum = "(((" + sum + ")))+Z";
  EXPECT_TRUE(parser.SetExpression(sum));
  EXPECT_EQ(parser.Value(), 21.0);
}

TEST(ParserLevels, AbsurdTextsAreRefusedInsteadOfExhaustingStackOrMemory) {
  TParser parser = ParserWithZ(1.0);
  const std::string deep = std::string(100000, '(') + "Z" + std::string(100000, ')');
  EXPECT_THROW(parser.SetExpression(deep), ETooManyNestings);
  // A difference of 20000 products nests far deeper than 20 levels.
  std::string chain = "Z";
  for (int i = 0; i < 20000; ++i) chain += "-Z*Z";
  EXPECT_THROW(parser.SetExpression(chain), ETooManyNestings);
  EXPECT_TRUE(parser.CompileFailed());
}

TEST(ParserLevels, LongChainsAreRefusedByTheirDepthNotAfterMinutes) {
  // Each of these once took the recogniser seconds to minutes; the benchmarks time them.
  TParser parser = ParserWithZ(1.0);
  for (const std::string_view op : {"-", "/", "MOD", "DIV", "+", "*"}) {
    std::string chain = "1";
    for (int i = 0; i < 4000; ++i) chain.append(op).append("1");
    EXPECT_THROW(parser.SetExpression(chain), ETooManyNestings) << op;
  }
  // A chain within the limits still compiles to the same value.
  std::string twenty = "1";
  for (int i = 0; i < 19; ++i) twenty += "-1";
  ASSERT_TRUE(parser.SetExpression(twenty));
  EXPECT_EQ(parser.Value(), -18.0);
}

TEST(WholePower, LargeExponentsAgreeWithRepeatedMultiplication) {
  TParser parser = ParserWithZ();
  for (const double z : {1.0001, 0.9999, -1.00002, 2.0}) {
    for (const int n : {64, 65, 100, 1000, 100000, 1048576}) {
      double product = z;
      for (int i = 1; i < n; ++i) product *= z;
      ASSERT_TRUE(parser.SetExpression("Z^" + std::to_string(n)));
      parser.SetVariableValue("Z", z);
      if (!std::isfinite(product)) {
        EXPECT_THROW(parser.Value(), ArithmeticFault) << z << "^" << n;
        continue;
      }
      // Each product rounds once; the squares of the bigger exponents round about log2 n
      // times instead, so the two agree to some ulps per factor.
      EXPECT_NEAR(parser.Value(), product, std::abs(product) * n * 1e-15) << z << "^" << n;
    }
  }
}

TEST(WholePower, ManyLargePowersEvaluate) {
  // 240 powers of one, summed in balanced groups, once took a quarter of a second.
  std::string sum = "1^1048576";
  for (int i = 0; i < 3; ++i) sum = "(" + sum + ")+(" + sum + ")";
  TParser parser = ParserWithZ();
  ASSERT_TRUE(parser.SetExpression(sum));
  EXPECT_EQ(parser.Value(), 8.0);
}

TEST(ParserLevels, LongDifferencesCompileInReasonableTime) {
  // Without remembering the tests of each part the search for the split of a difference
  // takes time exponential in its length; twenty terms would take minutes.
  TParser parser = ParserWithZ(1.0);
  std::string chain = "Z";
  for (int i = 0; i < 19; ++i) chain += "-Z";
  ASSERT_TRUE(parser.SetExpression("(" + chain + ")*(" + chain + ")"));
  EXPECT_EQ(parser.Value(), 18.0 * 18.0);
}

}  // namespace
}  // namespace quorrel
