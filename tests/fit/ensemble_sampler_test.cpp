#include "fit/ensemble_sampler.h"

#include <gtest/gtest.h>

#include <cmath>

#include "batch_test_objectives.h"
#include "fit/search_errors.h"

namespace quorrel {
namespace {

//! Mean, standard deviation of value `a` and its correlation with `b` over every sample.
struct Moments {
  double mean = 0, sd = 0, correlation = 0;
};
Moments MomentsOf(const SampleChain& chain, int a, int b) {
  double n = 0, sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
  for (int s = 0; s < chain.steps; ++s) {
    for (int w = 0; w < chain.walkers; ++w) {
      const double x = chain.value(s, w, a), y = chain.value(s, w, b);
      n += 1;
      sa += x, sb += y, saa += x * x, sbb += y * y, sab += x * y;
    }
  }
  const double va = saa / n - sa * sa / n / n, vb = sbb / n - sb * sb / n / n;
  return {sa / n, std::sqrt(va), (sab / n - sa * sb / n / n) / std::sqrt(va * vb)};
}

//! A Gaussian of standard deviations 1 and 2 and correlation 0.8, centred on (3, -1).
double CorrelatedGaussian(const std::vector<double>& x) {
  const double s1 = 1.0, s2 = 2.0, rho = 0.8;
  const double u = (x[0] - 3.0) / s1, v = (x[1] + 1.0) / s2;
  return (u * u - 2.0 * rho * u * v + v * v) / (1.0 - rho * rho);
}

EnsembleSamplerOptions Options(int burnIn, int production, std::uint64_t seed) {
  EnsembleSamplerOptions options;
  options.burnInSteps = burnIn;
  options.productionSteps = production;
  options.seed = seed;
  return options;
}

TEST(EnsembleSampler, ReproducesTheCovarianceOfACorrelatedGaussian) {
  testing::FunctionBatch objective(CorrelatedGaussian);
  RunControl control;
  // Started in a tiny ball away from the centre: the burn-in must find and fill the posterior.
  const SamplingResult result = RunEnsembleSampler(objective, {{-50, 50}, {-50, 50}}, {2.0, 0.0},
                                                   Options(300, 1000, 11), control);
  EXPECT_EQ(result.state, SamplingEndState::Completed);
  ASSERT_EQ(result.chain.walkers, 32);
  ASSERT_EQ(result.chain.steps, 1000);
  ASSERT_EQ(result.chain.samples.size(), 1000u * 32 * 2);
  const Moments m = MomentsOf(result.chain, 0, 1);
  EXPECT_NEAR(m.mean, 3.0, 0.1);
  EXPECT_NEAR(m.sd, 1.0, 0.1);
  EXPECT_NEAR(MomentsOf(result.chain, 1, 0).sd, 2.0, 0.2);
  EXPECT_NEAR(m.correlation, 0.8, 0.05);
  // The stored log-probabilities belong to the stored points.
  EXPECT_DOUBLE_EQ(
      result.chain.logProbability(999, 31),
      -0.5 * CorrelatedGaussian({result.chain.value(999, 31, 0), result.chain.value(999, 31, 1)}));
  // The stretch move's acceptance on a 2-D Gaussian is about 0.6-0.7.
  EXPECT_GT(result.acceptance, 0.4);
  EXPECT_LT(result.acceptance, 0.9);
  ASSERT_EQ(result.walkerAcceptance.size(), 32u);
}

TEST(EnsembleSampler, KeepsWalkersInBothModesOfABimodalPosterior) {
  // Two narrow Gaussians at -5 and +5, separated by a valley of exp(-50).
  testing::FunctionBatch objective([](const std::vector<double>& x) {
    const double a = (x[0] + 5.0) / 0.5, b = (x[0] - 5.0) / 0.5;
    return -2.0 * std::log(std::exp(-0.5 * a * a) + std::exp(-0.5 * b * b));
  });
  EnsembleSamplerOptions options = Options(200, 300, 5);
  options.startBallSize = 0.2;  // of the bounds' width, since the start value is 0
  RunControl control;
  const SamplingResult result = RunEnsembleSampler(objective, {{-10, 10}}, {0.0}, options, control);
  int left = 0, right = 0;
  for (int s = 0; s < result.chain.steps; ++s) {
    for (int w = 0; w < result.chain.walkers; ++w) {
      const double x = result.chain.value(s, w, 0);
      if (std::abs(x + 5.0) < 2.0) ++left;
      if (std::abs(x - 5.0) < 2.0) ++right;
    }
  }
  // The valley between holds about 3e-4 of the posterior.
  EXPECT_GE(left + right, result.chain.sampleCount() * 99 / 100);
  EXPECT_GT(left, result.chain.sampleCount() / 5);
  EXPECT_GT(right, result.chain.sampleCount() / 5);
}

TEST(EnsembleSampler, SamplesTheUniformPriorWithoutEvaluatingOutsideIt) {
  bool outside = false;
  testing::FunctionBatch objective([&](const std::vector<double>& x) {
    if (x[0] < 0.0 || x[0] > 1.0 || x[1] < 2.0 || x[1] > 4.0) outside = true;
    return 0.0;
  });
  RunControl control;
  const SamplingResult result =
      RunEnsembleSampler(objective, {{0, 1}, {2, 4}}, {0.5, 3.0}, Options(100, 400, 3), control);
  EXPECT_FALSE(outside);
  // Proposals outside the box are refused without an evaluation.
  EXPECT_LT(result.evaluations, 32LL * 501);
  const Moments m = MomentsOf(result.chain, 0, 1);
  EXPECT_NEAR(m.mean, 0.5, 0.05);
  EXPECT_NEAR(m.sd, 1.0 / std::sqrt(12.0), 0.03);
  EXPECT_NEAR(m.correlation, 0.0, 0.1);
}

TEST(EnsembleSampler, TheSameSeedGivesTheSameChainOnAnyThreadCount) {
  const std::vector<Bounds> bounds{{-50, 50}, {-50, 50}};
  RunControl control;
  testing::FunctionBatch serial(CorrelatedGaussian, 1);
  testing::FunctionBatch threaded(CorrelatedGaussian, 3);
  const SamplingResult a = RunEnsembleSampler(serial, bounds, {2, 0}, Options(10, 30, 42), control);
  const SamplingResult b =
      RunEnsembleSampler(threaded, bounds, {2, 0}, Options(10, 30, 42), control);
  EXPECT_EQ(a.chain.samples, b.chain.samples);
  EXPECT_EQ(a.chain.logProbabilities, b.chain.logProbabilities);
  EXPECT_EQ(a.walkerAcceptance, b.walkerAcceptance);
  // The start, then two half-ensembles a step.
  ASSERT_EQ(serial.batches().size(), 1u + 2 * 40);
  EXPECT_EQ(serial.batches()[0], 32u);
  for (std::size_t i = 1; i < serial.batches().size(); ++i) EXPECT_LE(serial.batches()[i], 16u);
  testing::FunctionBatch other(CorrelatedGaussian, 1);
  EXPECT_NE(RunEnsembleSampler(other, bounds, {2, 0}, Options(10, 30, 43), control).chain.samples,
            a.chain.samples);
}

TEST(EnsembleSampler, StopKeepsTheThinnedStepsSoFar) {
  testing::FunctionBatch objective(CorrelatedGaussian);
  RunControl control;
  EnsembleSamplerOptions options = Options(5, 100, 1);
  options.walkers = 10;
  options.thinning = 3;
  std::vector<SamplingProgress> reports;
  const SamplingResult result = RunEnsembleSampler(
      objective, {{-50, 50}, {-50, 50}}, {3, -1}, options, control, [&](const SamplingProgress& p) {
        reports.push_back(p);
        if (p.step == 16) control.requestStop();
      });
  EXPECT_EQ(result.state, SamplingEndState::Stopped);
  EXPECT_EQ(result.burnInStepsRun, 5);
  EXPECT_EQ(result.productionStepsRun, 11);
  EXPECT_EQ(result.chain.steps, 3);  // production steps 3, 6 and 9
  EXPECT_EQ(result.chain.samples.size(), 3u * 10 * 2);
  EXPECT_EQ(result.chain.logProbabilities.size(), 3u * 10);
  ASSERT_EQ(reports.size(), 16u);
  EXPECT_EQ(reports.back().totalSteps, 105);
  EXPECT_EQ(reports.back().evaluations, result.evaluations);
  EXPECT_GT(reports.back().acceptance, 0.0);
}

TEST(EnsembleSampler, RefusesWhatItCannotRun) {
  testing::FunctionBatch objective(CorrelatedGaussian);
  RunControl control;
  const std::vector<Bounds> bounds{{-50, 50}, {-50, 50}};
  EnsembleSamplerOptions options;
  options.walkers = 33;
  EXPECT_THROW(
      {
        try {
          RunEnsembleSampler(objective, bounds, {0, 0}, options, control);
        } catch (const SearchSetupError& error) {
          EXPECT_STREQ(error.what(), "the number of walkers must be even, not 33");
          throw;
        }
      },
      SearchSetupError);
  options.walkers = 2;
  EXPECT_THROW(RunEnsembleSampler(objective, bounds, {0, 0}, options, control), SearchSetupError);
  EXPECT_THROW(RunEnsembleSampler(objective, bounds, {0, std::nan("")}, {}, control),
               SearchSetupError);
  EXPECT_TRUE(objective.batches().empty());
  EXPECT_EQ(DefaultWalkers(2), 32);
  EXPECT_EQ(DefaultWalkers(8), 64);
  testing::FunctionBatch nowhere(
      [](const std::vector<double>&) { return std::numeric_limits<double>::infinity(); });
  EXPECT_THROW(RunEnsembleSampler(nowhere, bounds, {0, 0}, {}, control), SearchSetupError);
}

}  // namespace
}  // namespace quorrel
