// The profile function of one calculation: built-in or user-defined, and when the user
// expression is compiled.

#include "model/profile_function.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "common/error.h"

namespace quorrel {
namespace {

SampleModel UserModel(std::string expression) {
  SampleModel model;
  model.type = SampleType::ProfileFunction;
  model.function.kind = FunctionKind::UserDefined;
  model.function.expression = std::move(expression);
  return model;
}

TEST(ProfileFunction, UserExpressionIsAnAbsoluteDensity) {
  SampleModel model = UserModel("A*z");
  ASSERT_EQ(CompileUserFunction(model), std::nullopt);
  model.function.parameters = {1e-7, 0, 0, 0, 0};
  ProfileFunction function(model);
  BuildNotes notes;
  EXPECT_DOUBLE_EQ(function.Evaluate(10, 4e-6, 2e-6, &notes), 1e-6);
  EXPECT_DOUBLE_EQ(function.Evaluate(10, -1, 7, &notes), 1e-6);
  EXPECT_EQ(notes.statusText, "");
}

TEST(ProfileFunction, AllFiveParametersReachTheUserFunction) {
  SampleModel model = UserModel("A+B+C+D+E+X+Y+T");
  model.function.numParameters = 3;  // the hidden D and E are passed all the same
  model.function.parameters = {1, 2, 4, 8, 16};
  CompileUserFunction(model);
  ProfileFunction function(model);
  EXPECT_EQ(function.Evaluate(0, 0, 0, nullptr), 31.0);
}

TEST(ProfileFunction, FaultOfTheUserFunctionGivesZeroForThatDepthOnly) {
  SampleModel model = UserModel("1/(z-20)");
  CompileUserFunction(model);
  ProfileFunction function(model);
  BuildNotes notes;
  EXPECT_DOUBLE_EQ(function.Evaluate(10, 0, 0, &notes), -0.1);
  EXPECT_EQ(notes.statusText, "");
  EXPECT_EQ(function.Evaluate(20, 0, 0, &notes), 0.0);
  EXPECT_EQ(notes.statusText, "error in user function");
  EXPECT_DOUBLE_EQ(function.Evaluate(30, 0, 0, &notes), 0.1);
  EXPECT_NO_THROW(function.Evaluate(20, 0, 0, nullptr));
}

TEST(ProfileFunction, ExpressionThatDoesNotCompileIsReportedAndEvaluatesAsAnError) {
  SampleModel model = UserModel("z + 1");
  EXPECT_EQ(CompileUserFunction(model), "Expression has blanks");
  ProfileFunction function(model);
  BuildNotes notes;
  EXPECT_EQ(function.Evaluate(10, 1, 1, &notes), 0.0);
  EXPECT_EQ(notes.statusText, "error in user function");
}

TEST(ProfileFunction, EmptyExpressionGivesZeroWithoutAMessage) {
  SampleModel model = UserModel("");
  EXPECT_EQ(CompileUserFunction(model), std::nullopt);
  ProfileFunction function(model);
  BuildNotes notes;
  EXPECT_EQ(function.Evaluate(10, 1, 1, &notes), 0.0);
  EXPECT_EQ(notes.statusText, "");
}

TEST(ProfileFunction, ExpressionChangedSinceCompilingIsNotEvaluatedStale) {
  SampleModel model = UserModel("z");
  CompileUserFunction(model);
  model.function.expression = "2*z";  // as a loaded model or a cancelled dialog leaves it
  ProfileFunction function(model);
  EXPECT_EQ(function.Evaluate(10, 0, 0, nullptr), 20.0);
  // The calculation compiled its own copy; the model is not touched.
  EXPECT_EQ(model.userFunction.source(), "z");
  // A model that was never compiled computes with its expression, not with nothing.
  const SampleModel fresh = UserModel("z*3");
  EXPECT_EQ(ProfileFunction(fresh).Evaluate(10, 0, 0, nullptr), 30.0);
}

TEST(ProfileFunction, CopiedModelsEvaluateIndependently) {
  SampleModel original = UserModel("A*z");
  CompileUserFunction(original);
  SampleModel copy = original;
  original.function.parameters[0] = 1.0;
  copy.function.parameters[0] = 2.0;
  ProfileFunction a(original);
  ProfileFunction b(copy);
  EXPECT_EQ(a.Evaluate(10, 0, 0, nullptr), 10.0);
  EXPECT_EQ(b.Evaluate(10, 0, 0, nullptr), 20.0);
  EXPECT_EQ(a.Evaluate(5, 0, 0, nullptr), 5.0);
}

TEST(ProfileFunction, BuiltInKindUsesTheCatalogueWithTheStepsLength) {
  SampleModel model = UserModel("z");
  CompileUserFunction(model);
  model.function.kind = FunctionKind::BuiltIn;  // e.g. chosen and then cancelled
  model.function.builtInIndex = 0;
  model.function.parameters = {10, 0, 0, 0, 0};
  EXPECT_DOUBLE_EQ(ProfileFunction(model).Evaluate(10, 4e-6, 2e-6, nullptr),
                   2e-6 + 2e-6 * std::exp(-1.0));
  // "oscillating" without amplitude ends at rho_e at z = N * d.
  model.function.builtInIndex = 2;
  model.function.parameters = {0, 50, 0.3, 0, 0};
  model.edtNumCalcLayers = 7;
  model.edtLayerThickness = 3;
  EXPECT_DOUBLE_EQ(ProfileFunction(model).Evaluate(21, 4e-6, 2e-6, nullptr), 2e-6);
  model.edtLayerThickness = 0;
  EXPECT_THROW(ProfileFunction(model).Evaluate(0, 4e-6, 2e-6, nullptr), ArithmeticFault);
}

}  // namespace
}  // namespace quorrel
