// The two-contrast example fitted as its project says (eight entries: four of the film, and
// each contrast's scale and background, Levenberg-Marquardt with the data's resolution), and
// the D2O contrast alone with its scale and background, and the spin valve's four channels
// (the free layer's three angles, its magnetic density and four backgrounds): the figures of a
// real analysis.

#include <benchmark/benchmark.h>

#include <sstream>

#include "cli/fit_inputs.h"
#include "shell/fit_project.h"

namespace quorrel {
namespace {

cli::FitInputs Inputs(const std::vector<std::string>& positional) {
  std::ostringstream warnings;
  return cli::LoadFitInputs(positional, cli::Arguments({}, cli::FitArgumentRules({})), warnings);
}

//! Fits the inputs with the project's options and `setup` as often as the state asks.
void Fit(benchmark::State& state, const cli::FitInputs& inputs,
         const std::vector<EntrySetup>& setup) {
  FitOutcome outcome;
  for (auto _ : state) {
    FitSession session(1);
    ApplyFitSetup(inputs.project->fit, session);
    session.open(inputs.model.model, inputs.data, {}, inputs.model.settings.spinFlip);
    session.applySetup(setup);
    const DoItResult result = session.doIt();
    if (!result.outcome) {
      state.SkipWithError(result.refusal.c_str());
      return;
    }
    outcome = *result.outcome;
  }
  state.counters["chi_square"] = outcome.chiSquare;
  state.counters["evaluations"] = static_cast<double>(outcome.evaluations);
  state.counters["iterations"] = outcome.iterations;
}

void BM_TwoContrastProjectFit(benchmark::State& state) {
  const cli::FitInputs inputs = Inputs({QUORREL_EXAMPLES "/contrasts/film.qproj"});
  Fit(state, inputs, inputs.project->fit.entries);
}
BENCHMARK(BM_TwoContrastProjectFit)->Unit(benchmark::kMillisecond);

//! The project's first contrast alone, with the same setup but the other contrast's entries.
void BM_OneContrastWithScaleAndBackground(benchmark::State& state) {
  cli::FitInputs inputs = Inputs({QUORREL_EXAMPLES "/contrasts/film.qproj"});
  inputs.data.resize(1);
  std::vector<EntrySetup> setup;
  for (const EntrySetup& entry : inputs.project->fit.entries) {
    if (entry.index <= 15) setup.push_back(entry);  // the model's, scale [D2O], y0 [D2O]
  }
  Fit(state, inputs, setup);
}
BENCHMARK(BM_OneContrastWithScaleAndBackground)->Unit(benchmark::kMillisecond);

void BM_SpinValveFourChannelFit(benchmark::State& state) {
  const cli::FitInputs inputs = Inputs({QUORREL_EXAMPLES "/spin_valve/spin_valve.qproj"});
  Fit(state, inputs, inputs.project->fit.entries);
}
BENCHMARK(BM_SpinValveFourChannelFit)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorrel
