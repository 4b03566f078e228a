#pragma once
// The global search by differential evolution: the best/1/bin scheme with a mutation factor
// drawn per generation, a latin hypercube start inside finite bounds, and a whole generation of
// trials evaluated as one batch.

#include <cstdint>
#include <functional>
#include <vector>

#include "fit/batch_objective.h"
#include "fit/entry_bounds.h"
#include "fit/run_control.h"

namespace quorrel {

struct DifferentialEvolutionOptions {
  //! The population is this many times the number of values (at least 5 members).
  int populationFactor = 15;
  //! The chance that a value of a trial comes from the mutant.
  double crossover = 0.7;
  //! The mutation factor of each generation is drawn uniformly from [low, high).
  double mutationLow = 0.5;
  double mutationHigh = 1.0;
  //! Converged when std(chi-square) <= absoluteTolerance + relativeTolerance * |mean|.
  double relativeTolerance = 0.01;
  double absoluteTolerance = 0.0;
  int maxGenerations = 1000;
  std::uint64_t seed = 0;
};

enum class SearchEndState {
  Converged,        //!< the population's spread of chi-square fell below the tolerance
  GenerationLimit,  //!< the most generations ran
  Stopped,          //!< a stop or cancel request ended it after a generation
};

struct DifferentialEvolutionResult {
  //! The best point met and its chi-square (+infinity when no point could be evaluated).
  std::vector<double> best;
  double bestChiSquare = 0.0;
  int generations = 0;
  long long evaluations = 0;
  SearchEndState state = SearchEndState::Converged;
};

//! After every generation, on the thread of the run.
struct GenerationProgress {
  int generation = 0;
  double bestChiSquare = 0.0;
  long long evaluations = 0;
};
using GenerationCallback = std::function<void(const GenerationProgress&)>;

//! Minimises `objective` over the box of `bounds` (one per value, in the objective's order).
//! Throws MissingBoundsError naming the first value without finite bounds, SearchSetupError for
//! options it cannot run with. The same seed gives the same result.
DifferentialEvolutionResult RunDifferentialEvolution(BatchObjective& objective,
                                                     const std::vector<Bounds>& bounds,
                                                     const DifferentialEvolutionOptions& options,
                                                     RunControl& control,
                                                     const GenerationCallback& progress = {});

}  // namespace quorrel
