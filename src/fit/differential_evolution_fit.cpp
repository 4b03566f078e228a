#include "fit/differential_evolution_fit.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "fit/differential_evolution.h"

namespace quorrel {

namespace {

FitEndState EndStateOf(SearchEndState state) {
  switch (state) {
    case SearchEndState::Converged:
      return FitEndState::Converged;
    case SearchEndState::GenerationLimit:
      return FitEndState::IterationLimit;
    case SearchEndState::Stopped:
      break;
  }
  return FitEndState::Stopped;
}

}  // namespace

FitOutcome RunDifferentialEvolutionFit(ParameterSet& set, PooledObjective& search,
                                       ResidualObjective& polish,
                                       const LeastSquaresRequest& request, std::uint64_t seed,
                                       RunControl& control, const FitEvents& events) {
  DifferentialEvolutionOptions options;
  options.seed = seed;
  const DifferentialEvolutionResult found = RunDifferentialEvolution(
      search, request.bounds, options, control, [&events](const GenerationProgress& progress) {
        if (events.step) events.step(progress.generation);
      });
  // The search's sums of squares, as the chi-square of the fit (points minus one).
  const double divisor = std::max(1, polish.residualCount() - 1);
  if (found.best.empty() || !std::isfinite(found.bestChiSquare)) {
    return EndedRun(FitEndState::Failed, 0.0, found.evaluations, found.generations);
  }
  set = search.setOf(found.best);
  const double searchChiSquare = found.bestChiSquare / divisor;
  if (found.state == SearchEndState::Stopped || control.cancelRequested()) {
    return EndedRun(FitEndState::Stopped, searchChiSquare, found.evaluations, found.generations);
  }
  ParameterSet polished = set;
  FitOutcome outcome = RunLevenbergMarquardt(polished, polish, request, control, events);
  outcome.evaluations += found.evaluations;
  outcome.iterations += found.generations;
  if (outcome.state != FitEndState::Failed && outcome.chiSquare <= searchChiSquare) {
    set = std::move(polished);
    return outcome;
  }
  FitOutcome kept = EndedRun(outcome.state == FitEndState::Stopped ? FitEndState::Stopped
                                                                   : EndStateOf(found.state),
                             searchChiSquare, outcome.evaluations, outcome.iterations);
  return kept;
}

}  // namespace quorrel
