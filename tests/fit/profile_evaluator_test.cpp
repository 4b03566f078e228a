#include "fit/profile_evaluator.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "fit/chi_square.h"
#include "fit/model_objective.h"
#include "fit_test_models.h"
#include "model/layer_stack_builder.h"
#include "model/profile_function.h"

namespace quorrel {
namespace {

//! Two layers with a graded region of five 10 Å steps after layer 1.
SampleModel Graded(FunctionKind kind, int builtIn, std::array<double, 5> parameters) {
  SampleModel model = testing::MakeModel(SampleType::ProfileFunction, {"N/A", "0", "0", "N/A"},
                                         {{"20", "4e-6", "0", "2"}, {"30", "1e-6", "0", "3"}},
                                         {"N/A", "2.07e-6", "0", "4"});
  model.edtFunctionLayer = 1;
  model.edtNumCalcLayers = 5;
  model.edtLayerThickness = 10;
  model.function.kind = kind;
  model.function.builtInIndex = builtIn;
  model.function.numParameters = 3;
  model.function.parameters = parameters;
  return model;
}

LayerStack Built(const SampleModel& model) {
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  return stack;
}

void ExpectSameStack(const LayerStack& actual, const LayerStack& expected) {
  ASSERT_EQ(actual.layerCount(), expected.layerCount());
  for (std::size_t i = 0; i < actual.values().size(); ++i) {
    ASSERT_EQ(actual.values()[i], expected.values()[i]) << "value " << i;
  }
}

TEST(ProfileEvaluatorTest, TrialParametersGiveTheStackOfTheChangedModel) {
  const SampleModel model = Graded(FunctionKind::BuiltIn, 0, {10, 0, 0, 0, 0});
  LayerStack stack = Built(model);
  ParameterSet set = CollectParameterSet(model, stack);
  const ProfileEvaluator profile = MakeProfileEvaluator(model);
  ApplyParameterSet(set, stack, profile);
  ExpectSameStack(stack, Built(model));

  set[set.layout().functionParameterIndex(1)] = 25.0;
  set[set.layout().layerIndex(1, Quantity::Rho)] = 5e-6;  // the region starts at layer 1's rho
  ApplyParameterSet(set, stack, profile);
  SampleModel changed = Graded(FunctionKind::BuiltIn, 0, {25, 0, 0, 0, 0});
  changed.baseGrid.setCell(2, kColRho, "5e-6");
  ExpectSameStack(stack, Built(changed));
}

TEST(ProfileEvaluatorTest, UserFunctionsGetEveryParameter) {
  SampleModel model = Graded(FunctionKind::UserDefined, 0, {1e-7, 0, 0, 2e-6, 0});
  model.function.expression = "A*z+D";  // D is beyond the three parameters in use
  ASSERT_FALSE(CompileUserFunction(model));
  LayerStack stack = Built(model);
  ParameterSet set = CollectParameterSet(model, stack);
  set[set.layout().functionParameterIndex(1)] = 2e-7;
  ApplyParameterSet(set, stack, MakeProfileEvaluator(model));
  for (int step = 1; step <= 5; ++step) {
    EXPECT_DOUBLE_EQ(stack.rho(1 + step), 2e-7 * 10 * step + 2e-6) << step;
  }
}

TEST(ProfileEvaluatorTest, AFaultOfTheFunctionFailsTheTrial) {
  // "oscillating" with the period B = 0.
  const SampleModel model = Graded(FunctionKind::BuiltIn, 2, {1e-7, 5, 0, 0, 0});
  LayerStack stack = Built(model);
  ParameterSet set = CollectParameterSet(model, stack);
  set[set.layout().functionParameterIndex(2)] = 0.0;
  EXPECT_THROW(ApplyParameterSet(set, stack, MakeProfileEvaluator(model)), ArithmeticFault);

  FitData data = testing::SimulatedData(model, testing::QzGrid(0.01, 0.1, 10), {}, 0.01, 1);
  ChiSquareEvaluator evaluator(data.measured(), {}, {}, RegionPoints(data.measured()), {});
  ModelObjective objective(stack, evaluator, MakeProfileEvaluator(model));
  objective.apply(set);
  EXPECT_FALSE(objective.evaluate());
  set[set.layout().functionParameterIndex(2)] = 5.0;
  objective.apply(set);
  EXPECT_TRUE(objective.evaluate());
}

}  // namespace
}  // namespace quorrel
