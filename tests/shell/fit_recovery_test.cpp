// Whole fits against simulated data: the values the data were made from must come back, and
// the standard errors of the least-squares fit must describe how far they scatter.

#include <gtest/gtest.h>

#include <cmath>

#include "shell/fit_session.h"
#include "../fit/fit_test_models.h"

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

constexpr int kD1 = 3, kSigma1 = 6, kD2 = 7;

std::vector<double> Resolution(const std::vector<double>& qz) {
  std::vector<double> resolution;
  for (const double q : qz) resolution.push_back(0.0005 + 0.02 * q);
  return resolution;
}

//! The two-layer model's smeared reflectivity at 200 points with relative noise `noise`.
FitData TwoLayerData(double noise, unsigned seed) {
  const std::vector<double> qz = testing::QzGrid(0.01, 0.25, 200);
  return testing::SimulatedData(testing::TwoLayerModel(), qz, Resolution(qz), noise, seed);
}

SampleModel Start(const char* d1, const char* d2, const char* sigma1) {
  SampleModel start = testing::TwoLayerModel();
  start.baseGrid.setCell(2, kColThickness, d1);
  start.baseGrid.setCell(3, kColThickness, d2);
  start.baseGrid.setCell(2, kColSigma, sigma1);
  return start;
}

//! A fit of d_1, sigma_1 and d_2 by `method` with resolution.
DoItResult Fit(FitSession& session, FitMethod method, const SampleModel& start, FitData data) {
  session.setIncludeResolution(true);
  session.setMethod(method);
  session.open(start, std::move(data));
  for (const int index : {kD1, kSigma1, kD2}) EXPECT_TRUE(session.toggleVary(index - 1));
  return session.doIt();
}

TEST(FitRecoveryTest, LevenbergMarquardtComesBackFromTwentyPercentOffWithErrorsCoveringTheTruth) {
  FitSession session(1);
  const DoItResult result = Fit(session, FitMethod::LevenbergMarquardt, Start("72", "144", "3.2"),
                                TwoLayerData(0.01, 2024));
  ASSERT_TRUE(result.outcome) << result.refusal;
  ASSERT_EQ(result.outcome->state, FitEndState::Converged);
  const std::optional<FitUncertainties> u = session.uncertainties();
  ASSERT_TRUE(u);
  EXPECT_TRUE(u->undetermined.empty());
  const ParameterSet fitted = session.parameters();
  const double truth[] = {60.0, 4.0, 120.0};
  for (std::size_t c = 0; c < 3; ++c) {
    const double error = u->standardErrors[c];
    EXPECT_GT(error, 0.0);
    EXPECT_LT(std::fabs(fitted[u->varied[c]] - truth[c]), 3 * error) << u->varied[c];
  }
  EXPECT_LT(result.outcome->chiSquare, 2e-4);
  // 1 % noise under "use 1/y": the reduced chi-square is the squared noise.
  EXPECT_NEAR(u->reducedChiSquare, 1e-4, 2e-5);
  EXPECT_EQ(u->degreesOfFreedom, 197);
}

TEST(FitRecoveryTest, StandardErrorsAgreeWithTheScatterOfFiftyRefitsOfRenoisedData) {
  constexpr int kRefits = 50;
  std::vector<std::vector<double>> values(3);
  std::vector<double> meanError(3, 0.0);
  for (int refit = 1; refit <= kRefits; ++refit) {
    FitSession session(1);
    session.setWeighting(Weighting::GivenErrors);
    const DoItResult result = Fit(session, FitMethod::LevenbergMarquardt, testing::TwoLayerModel(),
                                  TwoLayerData(0.01, static_cast<unsigned>(refit)));
    ASSERT_TRUE(result.outcome && result.outcome->state == FitEndState::Converged) << refit;
    const FitUncertainties u = *session.uncertainties();
    for (std::size_t c = 0; c < 3; ++c) {
      values[c].push_back(session.parameters()[u.varied[c]]);
      meanError[c] += u.standardErrors[c] / kRefits;
    }
  }
  for (std::size_t c = 0; c < 3; ++c) {
    double mean = 0.0;
    for (const double v : values[c]) mean += v / kRefits;
    double variance = 0.0;
    for (const double v : values[c]) variance += (v - mean) * (v - mean) / (kRefits - 1);
    const double ratio = meanError[c] / std::sqrt(variance);
    EXPECT_GT(ratio, 0.7) << c;
    EXPECT_LT(ratio, 1.3) << c;
  }
}

TEST(FitRecoveryTest, EachWeightingFitsWithItsOwnResidualsAndScale) {
  // 0.1 % noise with errors to match: the given errors make the reduced chi-square 1, the
  // relative weightings the squared relative noise, in decimal logarithms for "log".
  struct Case {
    Weighting weighting;
    double reducedChiSquare;
  };
  const double logNoise = 1e-3 / std::log(10.0);
  for (const Case expected :
       {Case{Weighting::GivenErrors, 1.0}, Case{Weighting::Statistical, 1e-6},
        Case{Weighting::Logarithmic, logNoise * logNoise}, Case{Weighting::None, 0.0}}) {
    SCOPED_TRACE(static_cast<int>(expected.weighting));
    FitSession session(1);
    session.setWeighting(expected.weighting);
    const DoItResult result = Fit(session, FitMethod::LevenbergMarquardt, Start("66", "132", "4.4"),
                                  TwoLayerData(1e-3, 7));
    ASSERT_TRUE(result.outcome && result.outcome->state == FitEndState::Converged);
    const FitUncertainties u = *session.uncertainties();
    const double truth[] = {60.0, 4.0, 120.0};
    for (std::size_t c = 0; c < 3; ++c) {
      EXPECT_LT(std::fabs(session.parameters()[u.varied[c]] - truth[c]), 4 * u.standardErrors[c]);
    }
    if (expected.weighting != Weighting::None) {
      EXPECT_NEAR(u.reducedChiSquare, expected.reducedChiSquare, 0.2 * expected.reducedChiSquare);
    }
  }
}

}  // namespace
}  // namespace quorrel
