// The layer stack of the analytical profile type: basic layers with a graded region.

#include "model/profile_steps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/decimal_separator.h"
#include "common/error.h"
#include "model/profile_function.h"

namespace quorrel {
namespace {

void SetRow(TextGrid& grid, int row, const std::string& d, const std::string& rho,
            const std::string& imRho, const std::string& sigma, const std::string& mag = "0") {
  grid.setCell(row, kColThickness, d);
  grid.setCell(row, kColRho, rho);
  grid.setCell(row, kColImRho, imRho);
  grid.setCell(row, kColSigma, sigma);
  grid.setCell(row, kColMagRe, mag);
  grid.setCell(row, kColMagIm, mag);
}

//! Two layers between air and bulk, a user function of z and the given steps.
SampleModel GradedModel(int functionLayer, int steps, unsigned thickness,
                        const char* expression = "z*1E-7") {
  SampleModel model;
  model.type = SampleType::ProfileFunction;
  model.edtLayers = 2;
  model.baseGrid.setRowCount(5);
  SetRow(model.baseGrid, 1, "N/A", "1e-7", "1e-9", "N/A");
  SetRow(model.baseGrid, 2, "-25", "3e-6", "2e-9", "3");
  SetRow(model.baseGrid, 3, "40", "5e-6", "3e-9", "4");
  SetRow(model.baseGrid, 4, "N/A", "2e-6", "4e-9", "5");
  model.edtFunctionLayer = functionLayer;
  model.edtNumCalcLayers = steps;
  model.edtLayerThickness = thickness;
  model.function.kind = FunctionKind::UserDefined;
  model.function.expression = expression;
  CompileUserFunction(model);
  return model;
}

LayerStack Build(const SampleModel& model, SpinState spin = SpinState::None,
                 BuildNotes* notes = nullptr) {
  LayerStack stack;
  BuildLayerStack(model, spin, stack, notes);
  return stack;
}

TEST(ProfileSteps, StepsComeFirstWhenAppendedToTheAmbient) {
  const ScopedDecimalSeparator point('.');
  const LayerStack stack = Build(GradedModel(0, 3, 10));
  ASSERT_EQ(stack.layerCount(), 5);
  EXPECT_EQ(stack.rho(0), 1e-7);
  EXPECT_EQ(stack.imRho(0), 1e-9);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(stack.thickness(k), 10.0) << k;
    EXPECT_DOUBLE_EQ(stack.rho(k), k * 10 * 1e-7) << k;  // evaluated at z = 10, 20, 30
    EXPECT_EQ(stack.imRho(k), 0.0) << k;
    EXPECT_EQ(stack.sigma(k), 0.0) << k;
  }
  // The first basic layer follows with its own roughness, its thickness made positive.
  EXPECT_EQ(stack.thickness(4), 25.0);
  EXPECT_EQ(stack.rho(4), 3e-6);
  EXPECT_EQ(stack.imRho(4), 2e-9);
  EXPECT_EQ(stack.sigma(4), 3.0);
  EXPECT_EQ(stack.thickness(5), 40.0);
  EXPECT_EQ(stack.rho(6), 2e-6);
  EXPECT_EQ(stack.imRho(6), 4e-9);
  EXPECT_EQ(stack.sigma(6), 5.0);
}

TEST(ProfileSteps, BuiltInStepsRunFromTheLayerTowardsTheNextRow) {
  const ScopedDecimalSeparator point('.');
  SampleModel model = GradedModel(1, 2, 10);
  model.function.kind = FunctionKind::BuiltIn;
  model.function.builtInIndex = 0;
  model.function.parameters = {10, 0, 0, 0, 0};
  const LayerStack stack = Build(model);
  EXPECT_EQ(stack.rho(1), 3e-6);
  EXPECT_DOUBLE_EQ(stack.rho(2), 5e-6 + (3e-6 - 5e-6) * std::exp(-1.0));
  EXPECT_DOUBLE_EQ(stack.rho(3), 5e-6 + (3e-6 - 5e-6) * std::exp(-2.0));
  EXPECT_EQ(stack.rho(4), 5e-6);
  EXPECT_EQ(stack.sigma(4), 4.0);
}

TEST(ProfileSteps, StepsAboveTheSubstrateHeadForTheBulk) {
  const ScopedDecimalSeparator point('.');
  SampleModel model = GradedModel(2, 2, 5);
  model.function.kind = FunctionKind::BuiltIn;
  model.function.builtInIndex = 2;  // oscillating, no amplitude: the line to rho_e
  model.function.parameters = {0, 50, 0, 0, 0};
  const LayerStack stack = Build(model);
  ASSERT_EQ(stack.layerCount(), 4);
  EXPECT_EQ(stack.rho(2), 5e-6);
  EXPECT_DOUBLE_EQ(stack.rho(3), 3.5e-6);
  EXPECT_DOUBLE_EQ(stack.rho(4), 2e-6);
  EXPECT_EQ(stack.rho(5), 2e-6);
  EXPECT_EQ(stack.sigma(5), 5.0);
}

TEST(ProfileSteps, MagneticColumnsAreNotRead) {
  const ScopedDecimalSeparator point('.');
  SampleModel model = GradedModel(1, 2, 10);
  SetRow(model.baseGrid, 2, "25", "3e-6", "2e-9", "3", "1e-6");
  const LayerStack none = Build(model, SpinState::None);
  for (SpinState spin : {SpinState::Down, SpinState::Up}) {
    const LayerStack other = Build(model, spin);
    EXPECT_TRUE(std::equal(none.values().begin(), none.values().end(), other.values().begin()));
  }
  SetRow(model.baseGrid, 3, "40", "5e-6", "3e-9", "4", "not a number");
  EXPECT_NO_THROW(Build(model, SpinState::Up));
}

TEST(ProfileSteps, NoStepsGiveTheIndependentLayersStack) {
  const ScopedDecimalSeparator point('.');
  SampleModel model = GradedModel(1, 0, 10);
  const LayerStack graded = Build(model);
  model.type = SampleType::IndependentLayers;
  const LayerStack plain = Build(model);
  EXPECT_TRUE(std::equal(graded.values().begin(), graded.values().end(), plain.values().begin()));
}

TEST(ProfileSteps, FailingUserStepIsZeroAndNoted) {
  const ScopedDecimalSeparator point('.');
  BuildNotes notes;
  const LayerStack stack = Build(GradedModel(0, 3, 10, "1/(z-20)"), SpinState::None, &notes);
  EXPECT_DOUBLE_EQ(stack.rho(1), -0.1);
  EXPECT_EQ(stack.rho(2), 0.0);
  EXPECT_DOUBLE_EQ(stack.rho(3), 0.1);
  EXPECT_EQ(notes.statusText, "error in user function");
}

TEST(ProfileSteps, FaultOfAnOscillatingFunctionEndsTheBuild) {
  const ScopedDecimalSeparator point('.');
  SampleModel model = GradedModel(0, 3, 0);
  model.function.kind = FunctionKind::BuiltIn;
  model.function.builtInIndex = 2;
  model.function.parameters = {1e-7, 50, 0, 0, 0};
  try {
    Build(model);
    FAIL() << "built with a step thickness of 0";
  } catch (const ArithmeticFault& fault) {
    EXPECT_STREQ(fault.what(), "arithmetic fault: oscillating: division by zero at z = 0");
  }
}

TEST(ProfileSteps, CellThatIsNotANumberStopsTheBuild) {
  SampleModel model = GradedModel(0, 3, 10);
  model.baseGrid.setCell(1, kColRho, "air");
  EXPECT_THROW(Build(model), CellError);
}

TEST(ProfileSteps, FunctionLayerOutsideTheLayersIsRefused) {
  SampleModel model = GradedModel(3, 1, 10);
  EXPECT_THROW(Build(model), QuorrelError);
}

//! `n` basic layers of 10 Å, steps appended to layer `functionLayer`.
SampleModel ManyLayers(int n, int functionLayer, int steps) {
  SampleModel model;
  model.type = SampleType::ProfileFunction;
  model.edtLayers = n;
  model.baseGrid.setRowCount(n + 3);
  SetRow(model.baseGrid, 1, "N/A", "0", "0", "N/A");
  for (int row = 2; row <= n + 1; ++row) SetRow(model.baseGrid, row, "10", "1e-6", "0", "1");
  SetRow(model.baseGrid, n + 2, "N/A", "2e-6", "0", "1");
  model.edtFunctionLayer = functionLayer;
  model.edtNumCalcLayers = steps;
  model.edtLayerThickness = 5;
  model.function.parameters = {10, 0, 0, 0, 0};
  return model;
}

TEST(ProfileSteps, BasicLayersAfterTheRegionStopAtLayer2500) {
  const ScopedDecimalSeparator point('.');
  EXPECT_THROW(Build(ManyLayers(3000, 0, 0)), CapacityExceeded);
  EXPECT_NO_THROW(Build(ManyLayers(2500, 0, 0)));
  EXPECT_NO_THROW(Build(ManyLayers(2499, 0, 1)));
  EXPECT_THROW(Build(ManyLayers(2500, 0, 1)), CapacityExceeded);
  // Layers before the region are not limited by that rule.
  EXPECT_NO_THROW(Build(ManyLayers(2600, 2600, 3)));
}

TEST(ProfileSteps, StepsMayNotReachLayer9999) {
  const ScopedDecimalSeparator point('.');
  const LayerStack full = Build(ManyLayers(9800, 9800, 198));
  EXPECT_EQ(full.layerCount(), 9998);
  EXPECT_EQ(full.thickness(9998), 5.0);
  EXPECT_THROW(Build(ManyLayers(9800, 9800, 199)), CapacityExceeded);
}

}  // namespace
}  // namespace quorrel
