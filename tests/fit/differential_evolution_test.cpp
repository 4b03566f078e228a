#include "fit/differential_evolution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "batch_test_objectives.h"
#include "fit/search_errors.h"

namespace quorrel {
namespace {

//! Rastrigin's function around (1.5, -2, 0.5), plus 1: many local minima on a grid of spacing
//! 1, the global one of chi-square 1.
double Rastrigin(const std::vector<double>& x) {
  const double center[] = {1.5, -2.0, 0.5};
  double sum = 1.0;
  for (std::size_t k = 0; k < x.size(); ++k) {
    const double d = x[k] - center[k];
    sum += 10.0 + d * d - 10.0 * std::cos(2.0 * std::numbers::pi * d);
  }
  return sum;
}

TEST(DifferentialEvolution, FindsTheGlobalMinimumAmongManyEvaluatingWholeGenerations) {
  testing::FunctionBatch objective(Rastrigin);
  const std::vector<Bounds> bounds(3, Bounds{-5.12, 5.12});
  DifferentialEvolutionOptions options;
  options.seed = 7;
  RunControl control;
  std::vector<GenerationProgress> reports;
  const DifferentialEvolutionResult result =
      RunDifferentialEvolution(objective, bounds, options, control,
                               [&](const GenerationProgress& p) { reports.push_back(p); });

  EXPECT_EQ(result.state, SearchEndState::Converged);
  ASSERT_EQ(result.best.size(), 3u);
  EXPECT_NEAR(result.best[0], 1.5, 0.02);
  EXPECT_NEAR(result.best[1], -2.0, 0.02);
  EXPECT_NEAR(result.best[2], 0.5, 0.02);
  EXPECT_NEAR(result.bestChiSquare, 1.0, 0.05);
  EXPECT_DOUBLE_EQ(result.bestChiSquare, Rastrigin(result.best));

  // The start and every generation are one batch of the whole population, 15 x 3.
  ASSERT_EQ(objective.batches().size(), static_cast<std::size_t>(result.generations) + 1);
  for (const std::size_t batch : objective.batches()) EXPECT_EQ(batch, 45u);
  EXPECT_EQ(result.evaluations, 45LL * (result.generations + 1));
  ASSERT_EQ(reports.size(), static_cast<std::size_t>(result.generations));
  for (std::size_t g = 1; g < reports.size(); ++g) {
    EXPECT_EQ(reports[g].generation, static_cast<int>(g) + 1);
    EXPECT_LE(reports[g].bestChiSquare, reports[g - 1].bestChiSquare);
  }

  // Reproducible from the seed; another seed takes another path.
  testing::FunctionBatch again(Rastrigin);
  const DifferentialEvolutionResult repeated =
      RunDifferentialEvolution(again, bounds, options, control);
  EXPECT_EQ(repeated.best, result.best);
  EXPECT_EQ(repeated.generations, result.generations);
  options.seed = 8;
  testing::FunctionBatch other(Rastrigin);
  EXPECT_NE(RunDifferentialEvolution(other, bounds, options, control).best, result.best);
}

TEST(DifferentialEvolution, EvaluatesOnlyPointsInsideTheBounds) {
  const std::vector<Bounds> bounds{{0.0, 1.0}, {-3.0, -2.0}};
  bool outside = false;
  // The minimum lies beyond both bounds, so the mutants keep pushing past them.
  testing::FunctionBatch objective([&](const std::vector<double>& x) {
    if (!bounds[0].contains(x[0]) || !bounds[1].contains(x[1])) outside = true;
    return (x[0] - 4.0) * (x[0] - 4.0) + (x[1] + 9.0) * (x[1] + 9.0);
  });
  DifferentialEvolutionOptions options;
  options.maxGenerations = 60;
  options.relativeTolerance = 0.0;
  RunControl control;
  const DifferentialEvolutionResult result =
      RunDifferentialEvolution(objective, bounds, options, control);
  EXPECT_FALSE(outside);
  EXPECT_NEAR(result.best[0], 1.0, 1e-3);
  EXPECT_NEAR(result.best[1], -3.0, 1e-3);
}

TEST(DifferentialEvolution, RefusesAValueWithoutFiniteBoundsNamingIt) {
  testing::FunctionBatch objective(Rastrigin);
  RunControl control;
  const double inf = std::numeric_limits<double>::infinity();
  try {
    RunDifferentialEvolution(objective, {{0, 1}, {0, inf}, {0, 1}}, {}, control);
    FAIL() << "no error";
  } catch (const MissingBoundsError& error) {
    EXPECT_EQ(error.position(), 1);
    EXPECT_STREQ(error.what(), "varied value 2 needs a finite lower and upper bound");
  }
  EXPECT_THROW(RunDifferentialEvolution(objective, {{-inf, 1}}, {}, control), MissingBoundsError);
  EXPECT_TRUE(objective.batches().empty());
}

TEST(DifferentialEvolution, StopEndsAfterTheGenerationKeepingTheBest) {
  testing::FunctionBatch objective(Rastrigin);
  RunControl control;
  DifferentialEvolutionOptions options;
  double bestReported = 0.0;
  const DifferentialEvolutionResult result =
      RunDifferentialEvolution(objective, std::vector<Bounds>(3, Bounds{-5.12, 5.12}), options,
                               control, [&](const GenerationProgress& p) {
                                 bestReported = p.bestChiSquare;
                                 if (p.generation == 4) control.requestStop();
                               });
  EXPECT_EQ(result.state, SearchEndState::Stopped);
  EXPECT_EQ(result.generations, 4);
  EXPECT_EQ(result.bestChiSquare, bestReported);
  EXPECT_EQ(result.bestChiSquare, Rastrigin(result.best));
}

}  // namespace
}  // namespace quorrel
