// A whole fit against simulated data: the values the data were made from must come back.

#include <gtest/gtest.h>

#include "fit/fit_session.h"
#include "fit_test_models.h"

namespace quorrel {
namespace {

TEST(FitRecoveryTest, TwoThicknessesAndARoughnessComeBackWithinOnePercent) {
  const SampleModel truth = testing::TwoLayerModel();
  const std::vector<double> qz = testing::QzGrid(0.01, 0.25, 200);
  std::vector<double> resolution;
  for (const double q : qz) resolution.push_back(0.0005 + 0.02 * q);
  const FitData data = testing::SimulatedData(truth, qz, resolution, 0.01, 2024);

  SampleModel start = truth;
  start.baseGrid.setCell(2, kColThickness, "66");   // d_1 = 60, +10 %
  start.baseGrid.setCell(3, kColThickness, "105");  // d_2 = 120, -12.5 %
  start.baseGrid.setCell(2, kColSigma, "4.7");      // sigma_1 = 4, +17.5 %

  FitSession session(20240601);
  session.setIncludeResolution(true);
  session.open(start, data);
  for (const int index : {3, 6, 7}) ASSERT_TRUE(session.toggleVary(index - 1));
  const DoItResult result = session.doIt();
  ASSERT_TRUE(result.outcome) << result.refusal;
  EXPECT_TRUE(result.outcome->state == FitEndState::Converged ||
              result.outcome->state == FitEndState::BelowTolerance);
  const ParameterSet fitted = session.parameters();
  EXPECT_NEAR(fitted[3], 60.0, 0.6);
  EXPECT_NEAR(fitted[7], 120.0, 1.2);
  EXPECT_NEAR(fitted[6], 4.0, 0.04);
  // Chi-square of a good fit under "use 1/y" is about the squared relative noise.
  EXPECT_LT(result.outcome->chiSquare, 2e-4);
}

}  // namespace
}  // namespace quorrel
