// Compilation errors, variables, number format, the error handler and copies.

#include "parser/custom_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/decimal_separator.h"
#include "common/error.h"
#include "parser/parser.h"

namespace quorrel {
namespace {

TParser ParserWithZ() {
  TParser parser;
  parser.SetVariableValue("z", 0.0);
  return parser;
}

struct ErrorCase {
  const char* expression;
  const char* message;
};

class CompileError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(CompileError, LeavesTheParserEmptyWithItsMessage) {
  TParser parser = ParserWithZ();
  parser.SetExpression("z+1");
  try {
    parser.SetExpression(GetParam().expression);
    FAIL() << GetParam().expression << " compiled";
  } catch (const EMathParserError& error) {
    EXPECT_EQ(std::string(error.what()), GetParam().message);
  }
  EXPECT_TRUE(parser.CompileFailed());
  EXPECT_TRUE(parser.empty());
  EXPECT_EQ(parser.Value(), 0.0);
  EXPECT_EQ(parser.Expression(), GetParam().expression);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, CompileError,
    ::testing::Values(ErrorCase{"z + 1", "Expression has blanks"},
                      ErrorCase{"(z+1", "Missing brackets in expression"},
                      ErrorCase{"z+1)", "Missing brackets in expression"},
                      ErrorCase{"2*-Z", "Error parsing expression:\r2\r-Z"},
                      ErrorCase{"Q+1", "Error parsing expression:\rQ\r1"},
                      ErrorCase{"Q", "Error parsing expression:\rQ"},
                      ErrorCase{"2Z", "Error parsing expression:\r2Z"},
                      ErrorCase{"-Q", "Error parsing expression:\r-Q"},
                      ErrorCase{"A^B^C", "Error parsing expression:\rA^B\rC"},
                      ErrorCase{"A--B", "Error parsing expression:\rA-\rB"},
                      ErrorCase{"A+-B", "Error parsing expression:\rA+\rB"},
                      ErrorCase{"z*", "Error parsing expression:\rZ*"},
                      ErrorCase{"SIN(z,1)", "Error parsing expression:\rSIN(Z,1)"},
                      ErrorCase{"MAX(z)", "Error parsing expression:\rMAX(Z)"},
                      ErrorCase{")z(", "Error parsing expression:\r)Z("},
                      ErrorCase{"   ", "Error parsing expression:\r"}));

TEST(CustomParser, AcceptsWhatTheNearMissesDoNot) {
  TParser parser = ParserWithZ();
  for (const char* text : {"2*(-Z)", "(-A)^2", "A*-3", "-A^2", "-A*B", "-A+B", "Z-2E-3"}) {
    EXPECT_TRUE(parser.SetExpression(text)) << text;
    EXPECT_FALSE(parser.CompileFailed()) << text;
  }
}

TEST(CustomParser, EmptyExpressionIsZeroAndNoFailure) {
  TParser parser = ParserWithZ();
  parser.SetExpression("z+1");
  EXPECT_TRUE(parser.SetExpression(""));
  EXPECT_FALSE(parser.CompileFailed());
  EXPECT_TRUE(parser.empty());
  EXPECT_EQ(parser.Value(), 0.0);
}

TEST(CustomParser, HandlerReceivesTheErrorInsteadOfTheWriter) {
  TParser parser = ParserWithZ();
  std::string received;
  const TCustomParser* sender = nullptr;
  parser.OnParserError = [&](TCustomParser& from, const EMathParserError& error) {
    sender = &from;
    received = error.what();
  };
  EXPECT_FALSE(parser.SetExpression("z + 1"));
  EXPECT_EQ(sender, &parser);
  EXPECT_EQ(received, "Expression has blanks");
  EXPECT_TRUE(parser.CompileFailed());
  EXPECT_TRUE(parser.SetExpression("z+1"));
  EXPECT_FALSE(parser.CompileFailed());
}

TEST(CustomParser, VariablesAreSeenWithoutRecompiling) {
  TParser parser = ParserWithZ();
  parser.SetVariableValue("Z", 10.0);
  parser.A() = 1e-7;
  ASSERT_TRUE(parser.SetExpression("A*z"));
  EXPECT_DOUBLE_EQ(parser.Value(), 1e-6);
  parser.A() = 3.0;
  EXPECT_DOUBLE_EQ(parser.Value(), 30.0);
  parser.SetVariableValue("z", 2.0);
  EXPECT_DOUBLE_EQ(parser.Value(), 6.0);
  parser.SetParameters({1, 2, 3, 4, 5});
  EXPECT_DOUBLE_EQ(parser.Value(), 2.0);
}

TEST(CustomParser, NewVariablesKeepEarlierCellsInPlace) {
  TParser parser = ParserWithZ();
  double& q = parser.SetVariableValue("q", 2.0);
  ASSERT_TRUE(parser.SetExpression("Q*Z+B"));
  for (int i = 0; i < 1000; ++i) {
    std::string name = "V";  // written in two steps to spare GCC 12 a false -Wrestrict
    name += std::to_string(i);
    parser.SetVariableValue(name, i);
  }
  parser.SetVariableValue("Z", 3.0);
  q = 5.0;
  EXPECT_EQ(parser.Value(), 15.0);
  EXPECT_EQ(&parser.SetVariableValue("q", 7.0), &q);
  EXPECT_EQ(parser.Value(), 21.0);
}

TEST(CustomParser, VariableNamesMustBeIdentifiers) {
  TParser parser;
  for (const char* good : {"z", "_x1", "Depth_2"}) {
    EXPECT_NO_THROW(parser.SetVariableValue(good, 1.0)) << good;
  }
  const std::pair<const char*, const char*> bad[] = {
      {"1z", "1Z"}, {"", ""}, {"a-b", "A-B"}, {"z 1", "Z 1"}};
  for (const auto& [name, message] : bad) {
    try {
      parser.SetVariableValue(name, 1.0);
      FAIL() << "'" << name << "' accepted";
    } catch (const EBadName& error) {
      EXPECT_EQ(std::string(error.what()), message);
    }
  }
}

TEST(CustomParser, NumbersFollowPointNumberFormat) {
  const ScopedDecimalSeparator comma(',');
  TParser parser = ParserWithZ();
  EXPECT_TRUE(parser.PointNumberFormat());
  ASSERT_TRUE(parser.SetExpression("1.5*2"));
  EXPECT_EQ(parser.Value(), 3.0);
  EXPECT_THROW(parser.SetExpression("1,5*2"), ESyntaxError);
  parser.SetPointNumberFormat(false);
  ASSERT_TRUE(parser.SetExpression("1,5*2"));
  EXPECT_EQ(parser.Value(), 3.0);
  EXPECT_THROW(parser.SetExpression("1.5*2"), ESyntaxError);
}

TEST(CustomParser, CopyEvaluatesIndependentlyOfItsOriginal) {
  TParser original = ParserWithZ();
  ASSERT_TRUE(original.SetExpression("A*Z^2+SIN(0)+1"));
  TParser copy = original;
  copy.A() = 5.0;
  copy.SetVariableValue("z", 2.0);
  original.A() = 1.0;
  original.SetVariableValue("z", 3.0);
  EXPECT_EQ(copy.Value(), 21.0);
  EXPECT_EQ(original.Value(), 10.0);
  // Evaluating one leaves the other's result cells alone.
  EXPECT_EQ(copy.Value(), 21.0);

  TParser assigned = ParserWithZ();
  assigned = copy;
  assigned.A() = 2.0;
  EXPECT_EQ(assigned.Value(), 9.0);
  EXPECT_EQ(copy.Value(), 21.0);

  TParser moved = std::move(assigned);
  EXPECT_EQ(moved.Value(), 9.0);
  moved.A() = 1.0;
  EXPECT_EQ(moved.Value(), 5.0);
}

TEST(CustomParser, CopyOfAFailedOrEmptyParserStaysSo) {
  TParser failed = ParserWithZ();
  EXPECT_THROW(failed.SetExpression("Q"), ESyntaxError);
  const TParser copy = failed;
  EXPECT_TRUE(copy.CompileFailed());
  EXPECT_TRUE(copy.empty());
  EXPECT_EQ(copy.Expression(), "Q");
}

}  // namespace
}  // namespace quorrel
