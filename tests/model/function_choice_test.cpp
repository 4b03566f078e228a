// The function dialog's choices: which built-in function, and the names that confirming
// gives the parameters.

#include "model/function_choice.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace quorrel {
namespace {

using Names = std::array<std::string, 5>;

TEST(FunctionChoice, ConfirmingOscillatingNamesThreeAndLeavesTheRest) {
  FunctionSettings function;
  function.parameterNames = Names{"xsi", "c", "k", "d", "w"};
  ChooseBuiltInFunction(function, 2);
  ConfirmFunction(function);
  EXPECT_EQ(function.parameterNames, (Names{"A", "lam", "phi", "d", "w"}));
  EXPECT_EQ(function.numParameters, 3);
}

TEST(FunctionChoice, ConfirmingAUserFunctionNamesAllFiveByLetter) {
  FunctionSettings function;
  ChooseBuiltInFunction(function, 4);
  function.parameterNames = Names{"A", "lam", "phi", "xsi", "w"};
  function.kind = FunctionKind::UserDefined;
  ConfirmFunction(function);
  EXPECT_EQ(function.parameterNames, (Names{"A", "B", "C", "D", "E"}));
  EXPECT_EQ(function.numParameters, 4);  // the count is the user's, confirming keeps it
}

TEST(FunctionChoice, ChoosingAFunctionTakesItsParameterCount) {
  const std::array<int, 5> counts{1, 2, 3, 4, 4};
  FunctionSettings function;
  function.numParameters = 0;
  for (int index : {4, 0, 3, 1, 2}) {
    ChooseBuiltInFunction(function, index);
    EXPECT_EQ(function.builtInIndex, index);
    EXPECT_EQ(function.numParameters, counts[static_cast<std::size_t>(index)]) << index;
  }
}

TEST(FunctionChoice, AnIndexOutsideTheCatalogueIsIgnored) {
  FunctionSettings function;
  ChooseBuiltInFunction(function, 1);
  for (int index : {-1, 5, 99}) {
    ChooseBuiltInFunction(function, index);
    EXPECT_EQ(function.builtInIndex, 1) << index;
    EXPECT_EQ(function.numParameters, 2) << index;
  }
}

}  // namespace
}  // namespace quorrel
