// The posterior sampler's curve calculations per second through the pooled objective, on one
// and on all cores: the multilayer example against its measured data, and a 400-point film
// measurement with a resolution column (the nine-point kernel at every point's own width).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/fit_inputs.h"
#include "physics/fast/compute_pool.h"
#include "shell/fit_session.h"
#include "shell/sampling_session.h"

namespace quorrel {
namespace {

struct Problem {
  const char* model;
  std::vector<std::string> data;  //!< the data file and its options
  std::vector<std::pair<std::string, Bounds>> sampled;
};

const Problem kProblems[] = {
    {QUORREL_EXAMPLES "/multilayer.par",
     {QUORREL_EXAMPLES "/multilayer_measured.dat"},
     {{"sigma_1", {2, 6}}, {"d_ML1", {66, 74}}, {"d_ML2", {66, 74}}, {"rho_bulk", {1e-6, 3e-6}}}},
    {QUORREL_EXAMPLES "/contrasts/film_true.par",
     {QUORREL_EXAMPLES "/sampling/film400.dat", "--columns", "q,R,dR,sQz",
      "--resolution-from-data"},
     {{"d_1", {2, 30}}, {"rho_1", {0, 8e-6}}, {"sigma_1", {0, 8}}, {"d_2", {60, 110}},
      {"rho_2", {0, 3e-6}}, {"sigma_2", {1, 12}}, {"scale", {0.7, 1.1}}}},
};

//! The problem's session as quorrel-cli sample opens it, with its entries ticked and bounded.
FitProblem Open(const Problem& problem) {
  std::vector<std::string> raw(problem.data.begin() + 1, problem.data.end());
  const cli::Arguments args(raw, cli::FitArgumentRules({}));
  std::ostringstream warnings;
  cli::FitInputs inputs =
      cli::LoadFitInputs({problem.model, problem.data.front()}, args, warnings);
  FitSession session;
  session.setIncludeResolution(true);
  session.open(inputs.model.model, std::move(inputs.data));
  const std::vector<FitParameter> entries = session.entries();
  for (const auto& [name, bounds] : problem.sampled) {
    for (std::size_t e = 0; e < entries.size(); ++e) {
      if (entries[e].label.rfind(name, 0) != 0) continue;
      session.toggleVary(static_cast<int>(e));
      session.setBounds(static_cast<int>(e), bounds);
      break;
    }
  }
  return session.problem();
}

void BM_SamplerEvaluationsPerSecond(benchmark::State& state) {
  const Problem& problem = kProblems[state.range(0)];
  const int threads = state.range(1) == 0
                          ? 1
                          : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  const FitProblem opened = Open(problem);
  fast::ComputePool pool(threads);
  SamplingSession sampling;
  long long evaluations = 0;
  for (auto _ : state) {
    const SampledPosterior posterior = sampling.run(opened, {64, 0, 20, 1, 1}, {}, pool);
    evaluations += posterior.result.evaluations;
  }
  state.SetLabel(std::string(state.range(0) == 0 ? "multilayer" : "film400 sQz") + ", " +
                 std::to_string(threads) + " threads");
  state.counters["evaluations_per_second"] =
      benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SamplerEvaluationsPerSecond)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace quorrel
