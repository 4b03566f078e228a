// Cost of the global search and the posterior sampler themselves, on an objective that costs
// almost nothing: per evaluation, what they add to a curve calculation. Also the summary of a
// chain of the size of a typical run (200 walkers, 1500 steps, 8 values).

#include <benchmark/benchmark.h>

#include "batch_test_objectives.h"
#include "fit/chain_statistics.h"
#include "fit/differential_evolution.h"
#include "fit/ensemble_sampler.h"
#include "fit/random_draws.h"

namespace quorrel {
namespace {

//! An elongated Gaussian in `values` dimensions, a few nanoseconds a point.
double CheapChiSquare(const std::vector<double>& x) {
  double sum = 0.0;
  for (std::size_t k = 0; k < x.size(); ++k) {
    const double d = (x[k] - 1.0) * static_cast<double>(k + 1);
    sum += d * d;
  }
  return sum;
}

void ReportPerEvaluation(benchmark::State& state, long long evaluations) {
  state.SetItemsProcessed(evaluations);
  // The inverted rate: run time per evaluation.
  state.counters["per_evaluation"] = benchmark::Counter(
      static_cast<double>(evaluations), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

//! 200 walkers x 100 steps over `values` values.
void BM_SamplerPerEvaluation(benchmark::State& state) {
  const int values = static_cast<int>(state.range(0));
  const std::vector<Bounds> bounds(static_cast<std::size_t>(values), Bounds{-100.0, 100.0});
  const std::vector<double> start(static_cast<std::size_t>(values), 1.0);
  EnsembleSamplerOptions options;
  options.walkers = 200;
  options.burnInSteps = 0;
  options.productionSteps = 100;
  RunControl control;
  long long evaluations = 0;
  for (auto _ : state) {
    testing::FunctionBatch objective(CheapChiSquare);
    const SamplingResult result = RunEnsembleSampler(objective, bounds, start, options, control);
    evaluations += result.evaluations;
    benchmark::DoNotOptimize(result.chain.samples.data());
  }
  ReportPerEvaluation(state, evaluations);
}
BENCHMARK(BM_SamplerPerEvaluation)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond);

//! 100 generations of 15 x `values` members.
void BM_DifferentialEvolutionPerEvaluation(benchmark::State& state) {
  const int values = static_cast<int>(state.range(0));
  const std::vector<Bounds> bounds(static_cast<std::size_t>(values), Bounds{-100.0, 100.0});
  DifferentialEvolutionOptions options;
  options.maxGenerations = 100;
  options.relativeTolerance = 0.0;
  RunControl control;
  long long evaluations = 0;
  for (auto _ : state) {
    testing::FunctionBatch objective(CheapChiSquare);
    const DifferentialEvolutionResult result =
        RunDifferentialEvolution(objective, bounds, options, control);
    evaluations += result.evaluations;
    benchmark::DoNotOptimize(result.best.data());
  }
  ReportPerEvaluation(state, evaluations);
}
BENCHMARK(BM_DifferentialEvolutionPerEvaluation)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_SummaryOfAChain(benchmark::State& state) {
  SampleChain chain;
  chain.walkers = 200;
  chain.values = 8;
  std::mt19937_64 random(1);
  std::vector<std::vector<double>> positions(200, std::vector<double>(8, 0.0));
  for (int s = 0; s < 1500; ++s) {
    for (auto& position : positions) {
      for (double& x : position) x = 0.9 * x + UniformUnit(random);
    }
    chain.append(positions, std::vector<double>(200, 0.0));
  }
  for (auto _ : state) benchmark::DoNotOptimize(SummariseChain(chain).values.data());
}
BENCHMARK(BM_SummaryOfAChain)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorrel
