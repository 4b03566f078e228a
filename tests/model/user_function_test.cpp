// The compiled user function that a model carries.

#include "model/user_function.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

TEST(UserFunction, KnowsWhatItCompiledAndWhetherItFailed) {
  UserFunction function;
  EXPECT_EQ(function.source(), "");
  EXPECT_FALSE(function.failed());
  EXPECT_EQ(function.Compile("sqrt(z)"), std::nullopt);
  EXPECT_EQ(function.source(), "sqrt(z)");
  EXPECT_EQ(function.Compile("Q*z"), "Error parsing expression:\rQ\rZ");
  EXPECT_EQ(function.source(), "Q*z");
  EXPECT_TRUE(function.failed());
  EXPECT_TRUE(function.parser().empty());
}

TEST(UserFunction, HandsOutCopiesThatDoNotShareCells) {
  UserFunction function;
  ASSERT_EQ(function.Compile("z+A"), std::nullopt);
  TParser first = function.parser();
  TParser second = function.parser();
  first.SetVariableValue("z", 1.0);
  second.SetVariableValue("z", 5.0);
  second.A() = 1.0;
  EXPECT_EQ(first.Value(), 1.0);
  EXPECT_EQ(second.Value(), 6.0);
  EXPECT_EQ(function.parser().Value(), 0.0);
}

}  // namespace
}  // namespace quorrel
