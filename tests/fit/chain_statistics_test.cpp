#include "fit/chain_statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "fit/random_draws.h"

namespace quorrel {
namespace {

//! `walkers` independent AR(1) series x(t) = phi x(t-1) + e(t) for each phi, one value each.
SampleChain AutoregressiveChain(const std::vector<double>& phis, int walkers, int steps) {
  SampleChain chain;
  chain.walkers = walkers;
  chain.values = static_cast<int>(phis.size());
  std::mt19937_64 random(2024);
  std::vector<std::vector<double>> positions(walkers, std::vector<double>(phis.size(), 0.0));
  for (int s = 0; s < steps; ++s) {
    for (auto& position : positions) {
      for (std::size_t v = 0; v < phis.size(); ++v) {
        position[v] = phis[v] * position[v] + StandardNormal(random);
      }
    }
    chain.append(positions, std::vector<double>(walkers, 0.0));
  }
  return chain;
}

TEST(ChainStatistics, AutocorrelationTimeOfAnAutoregressiveSeriesIsAnalytic) {
  // tau = (1 + phi) / (1 - phi): 9 for 0.8, 1 for independent draws.
  const SampleChain chain = AutoregressiveChain({0.8, 0.0}, 32, 3000);
  const ChainStatistics statistics = SummariseChain(chain);
  EXPECT_NEAR(statistics.values[0].autocorrelationTime, 9.0, 0.9);
  EXPECT_NEAR(statistics.values[1].autocorrelationTime, 1.0, 0.1);
  EXPECT_NEAR(statistics.values[0].effectiveSamples, 32 * 3000 / 9.0, 32 * 3000 / 9.0 * 0.1);
  EXPECT_FALSE(statistics.chainTooShort());
  // The stationary spread of the series is 1 / sqrt(1 - phi^2).
  const double sd = 1.0 / std::sqrt(1.0 - 0.64);
  EXPECT_NEAR(statistics.values[0].median, 0.0, 0.05);
  EXPECT_NEAR(statistics.values[0].upper68 - statistics.values[0].lower68, 2 * sd, 0.1);
  EXPECT_NEAR(statistics.values[0].upper95 - statistics.values[0].lower95, 2 * 1.96 * sd, 0.2);
  EXPECT_NEAR(statistics.correlation(0, 1), 0.0, 0.02);

  // tau = 19 needs 950 steps.
  const ChainStatistics short_ = SummariseChain(AutoregressiveChain({0.0, 0.9}, 8, 600));
  EXPECT_FALSE(short_.values[0].chainTooShort);
  EXPECT_TRUE(short_.values[1].chainTooShort);
  EXPECT_TRUE(short_.chainTooShort());
}

TEST(ChainStatistics, PercentilesInterpolateAndCorrelationsSpanMinusOneToOne) {
  // One walker through 0 .. 1000 in a shuffled order, a second value falling with the first, a
  // third that never changes.
  SampleChain chain;
  chain.walkers = 1;
  chain.values = 3;
  std::vector<double> order(1001);
  for (int k = 0; k <= 1000; ++k) order[k] = k;
  std::shuffle(order.begin(), order.end(), std::mt19937_64(1));
  for (const double x : order) chain.append({{x, 3.0 - 2.0 * x, 7.0}}, {0.0});
  const ChainStatistics statistics = SummariseChain(chain);
  EXPECT_DOUBLE_EQ(statistics.values[0].median, 500.0);
  EXPECT_DOUBLE_EQ(statistics.values[0].lower68, 158.7);
  EXPECT_DOUBLE_EQ(statistics.values[0].upper68, 841.3);
  EXPECT_DOUBLE_EQ(statistics.values[0].lower95, 25.0);
  EXPECT_DOUBLE_EQ(statistics.values[0].upper95, 975.0);
  EXPECT_DOUBLE_EQ(statistics.values[1].median, -997.0);
  EXPECT_DOUBLE_EQ(statistics.values[1].lower68, 3.0 - 2.0 * 841.3);
  EXPECT_DOUBLE_EQ(statistics.correlation(0, 0), 1.0);
  EXPECT_NEAR(statistics.correlation(0, 1), -1.0, 1e-12);
  EXPECT_NEAR(statistics.correlation(1, 0), -1.0, 1e-12);
  EXPECT_TRUE(std::isnan(statistics.correlation(0, 2)));
  // A walker that never moves is fully correlated: its time spans the whole chain.
  EXPECT_DOUBLE_EQ(statistics.values[2].autocorrelationTime, 2.0 * 1001 - 1.0);
  EXPECT_TRUE(statistics.values[2].chainTooShort);

  SampleChain empty;
  empty.walkers = 4;
  empty.values = 1;
  const ChainStatistics none = SummariseChain(empty);
  EXPECT_TRUE(std::isnan(none.values[0].median));
  EXPECT_EQ(none.values[0].effectiveSamples, 0.0);
  EXPECT_TRUE(none.chainTooShort());
}

TEST(ChainStatistics, FormatsTheMedianToTheSecondDigitOfTheSmallerError) {
  struct Case {
    double median, minus, plus;
    const char* text;
  };
  const Case cases[] = {
      {70.0213, 0.2812, 0.3109, "70.02 +0.31 -0.28"},
      {70.0213, 0.3109, 0.2812, "70.02 +0.28 -0.31"},
      {1234.56, 12.3, 15.1, "1235 +15 -12"},
      {12344.0, 163.0, 151.0, "12340 +150 -160"},
      {1.0, 0.0996, 0.123, "1.00 +0.12 -0.10"},
      {2.5e-7, 3.14e-9, 4.0e-9, "0.0000002500 +0.0000000040 -0.0000000031"},
      {-0.001, 0.2, 0.3, "0.00 +0.30 -0.20"},
      {5.0, 0.0, 0.0, "5 +0 -0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatMedianWithErrors(c.median, c.minus, c.plus, '.'), c.text) << c.text;
  }
  EXPECT_EQ(FormatMedianWithErrors(70.0213, 0.2812, 0.3109, ','), "70,02 +0,31 -0,28");
}

}  // namespace
}  // namespace quorrel
