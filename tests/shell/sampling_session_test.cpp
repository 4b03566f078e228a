// Posterior sampling through the session that the window and quorrel-cli sample drive.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "../fit/fit_test_models.h"
#include "fit/search_errors.h"
#include "shell/fit_session.h"
#include "shell/posterior_bands.h"
#include "shell/sampling_session.h"

namespace quorrel {
namespace {

//! The two-layer model fitted by Levenberg-Marquardt in d_1 and sigma_1 to its own simulated
//! curve with 2 % errors: the session stays open at the minimum with wide bounds.
struct NearGaussianFit {
  NearGaussianFit() : session(5) {
    session.setMethod(FitMethod::LevenbergMarquardt);
    session.setWeighting(Weighting::GivenErrors);
    data = testing::SimulatedData(testing::TwoLayerModel(), testing::QzGrid(0.01, 0.25, 120), {},
                                  0.02, 8);
    data.measurement.label = "film";
    session.open(testing::TwoLayerModel(), data);
    for (const int entry : {2, 5}) session.toggleVary(entry);  // d_1, sigma_1
    const DoItResult fit = session.doIt();
    EXPECT_TRUE(fit.outcome && fit.outcome->uncertainties) << fit.refusal;
    if (fit.outcome && fit.outcome->uncertainties) errors = *fit.outcome->uncertainties;
    const ParameterSet set = session.parameters();
    for (std::size_t c = 0; c < errors.varied.size(); ++c) {
      const double value = set[errors.varied[c]], width = 20 * errors.standardErrors[c];
      session.setBounds(c == 0 ? 2 : 5, {value - width, value + width});
    }
  }

  FitSession session;
  FitData data;
  FitUncertainties errors;
};

//! Mean and standard deviation of value `j` over every stored sample.
std::pair<double, double> Moments(const SampleChain& chain, int j) {
  double sum = 0.0, squares = 0.0;
  const int n = chain.sampleCount();
  for (int s = 0; s < chain.steps; ++s) {
    for (int w = 0; w < chain.walkers; ++w) sum += chain.value(s, w, j);
  }
  const double mean = sum / n;
  for (int s = 0; s < chain.steps; ++s) {
    for (int w = 0; w < chain.walkers; ++w) squares += std::pow(chain.value(s, w, j) - mean, 2);
  }
  return {mean, std::sqrt(squares / (n - 1))};
}

TEST(SamplingSessionTest, ANearGaussianPosteriorHasTheLeastSquaresErrorsAndCorrelation) {
  NearGaussianFit fit;
  ASSERT_EQ(fit.errors.varied.size(), 2u);
  SamplingSession sampling;
  const SampledPosterior posterior =
      sampling.run(fit.session.problem(), {32, 300, 1500, 1, 17});
  const SampleChain& chain = posterior.result.chain;
  ASSERT_EQ(chain.steps, 1500);
  for (int j = 0; j < 2; ++j) {
    const double standardError = fit.errors.standardErrors[static_cast<std::size_t>(j)];
    EXPECT_NEAR(Moments(chain, j).second / standardError, 1.0, 0.10) << j;
  }
  EXPECT_NEAR(posterior.statistics.correlation(0, 1), fit.errors.correlation(0, 1), 0.05);
  EXPECT_GT(posterior.result.acceptance, 0.2);

  // The bands of the curves: the 68 % one inside the 95 % one, and of some width.
  const PosteriorBands bands = BandsOfPosterior(posterior, CalcSettings(), 200);
  for (const CurveBand* band : {&bands.reflectivity, &bands.profile}) {
    ASSERT_FALSE(band->x.empty());
    double widest = 0.0;
    for (std::size_t i = 0; i < band->x.size(); ++i) {
      EXPECT_LE(band->lower95[i], band->lower68[i]);
      EXPECT_LE(band->lower68[i], band->upper68[i]);
      EXPECT_LE(band->upper68[i], band->upper95[i]);
      widest = std::max(widest, (band->upper95[i] - band->lower95[i]) /
                                    std::max(std::abs(band->upper95[i]), 1e-30));
    }
    EXPECT_GT(widest, 1e-3);
  }
}

TEST(SamplingSessionTest, TheSameSeedGivesTheSameChainOnOneAndOnTwoThreads) {
  NearGaussianFit fit;
  fast::ComputePool one(1), two(2);
  SamplingSession sampling;
  const SamplingSettings settings{16, 5, 20, 2, 99};
  const SampledPosterior a = sampling.run(fit.session.problem(), settings, {}, one);
  const SampledPosterior b = sampling.run(fit.session.problem(), settings, {}, two);
  ASSERT_EQ(a.result.chain.steps, 10);
  EXPECT_EQ(a.result.chain.samples, b.result.chain.samples);
  EXPECT_EQ(a.result.chain.logProbabilities, b.result.chain.logProbabilities);
  const SampledPosterior other =
      sampling.run(fit.session.problem(), {16, 5, 20, 2, 100}, {}, two);
  EXPECT_NE(other.result.chain.samples, a.result.chain.samples);
}

TEST(SamplingSessionTest, RefusesMissingBoundsAndErrorsByNameAndStopsKeepingTheSteps) {
  NearGaussianFit fit;
  FitProblem problem = fit.session.problem();
  problem.bounds[1] = {};
  EXPECT_NE(SamplingRefusal(problem).find("give sigma_1 a lower and an upper bound"),
            std::string::npos);
  problem = fit.session.problem();
  problem.data[0].measured().dr[40] = 0.0;
  EXPECT_NE(SamplingRefusal(problem).find("film has no error at point 41"), std::string::npos)
      << SamplingRefusal(problem);
  SamplingSession sampling;
  EXPECT_THROW(sampling.run(problem, {}), SearchSetupError);

  // A stop during the run ends it after that step with the production steps so far.
  sampling.begin();
  const SampledPosterior stopped = sampling.run(
      fit.session.problem(), {16, 2, 100, 1, 3}, [&sampling](const SamplingReport& report) {
        EXPECT_GE(report.remainingSeconds, 0.0);
        if (report.step == 7) sampling.stop();
      });
  EXPECT_EQ(stopped.result.state, SamplingEndState::Stopped);
  EXPECT_EQ(stopped.result.chain.steps, 5);
}

}  // namespace
}  // namespace quorrel
