#include "fit/differential_evolution.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "fit/random_draws.h"
#include "fit/search_errors.h"

namespace quorrel {

namespace {

using Population = std::vector<std::vector<double>>;

void CheckSetup(const std::vector<Bounds>& bounds, const DifferentialEvolutionOptions& options) {
  if (bounds.empty()) throw SearchSetupError("differential evolution needs a varied value");
  for (std::size_t k = 0; k < bounds.size(); ++k) {
    if (!bounds[k].finite() || !(bounds[k].lower <= bounds[k].upper)) {
      throw MissingBoundsError(static_cast<int>(k));
    }
  }
  if (options.populationFactor < 1) {
    throw SearchSetupError("the population factor of differential evolution must be at least 1");
  }
  if (!(options.crossover >= 0.0 && options.crossover <= 1.0)) {
    throw SearchSetupError("the crossover of differential evolution must lie in [0, 1]");
  }
  if (!(options.mutationLow > 0.0 && options.mutationLow <= options.mutationHigh)) {
    throw SearchSetupError("the mutation factors of differential evolution must be positive");
  }
  if (options.maxGenerations < 0) {
    throw SearchSetupError("the generation limit of differential evolution cannot be negative");
  }
}

//! One member per stratum of every value, the strata of each value in a random order, each
//! member uniform within its stratum.
Population LatinHypercube(const std::vector<Bounds>& bounds, std::size_t members,
                          std::mt19937_64& random) {
  Population population(members, std::vector<double>(bounds.size()));
  std::vector<std::size_t> strata(members);
  for (std::size_t k = 0; k < bounds.size(); ++k) {
    std::iota(strata.begin(), strata.end(), 0);
    for (std::size_t i = members - 1; i > 0; --i) {
      std::swap(strata[i], strata[UniformIndex(random, i + 1)]);
    }
    const double width = bounds[k].upper - bounds[k].lower;
    for (std::size_t i = 0; i < members; ++i) {
      const double position =
          (static_cast<double>(strata[i]) + UniformUnit(random)) / static_cast<double>(members);
      population[i][k] = bounds[k].clamp(bounds[k].lower + position * width);
    }
  }
  return population;
}

std::size_t BestMember(const std::vector<double>& chiSquares) {
  // +infinity loses to every number; EvaluateBatch leaves no NaN.
  return static_cast<std::size_t>(std::min_element(chiSquares.begin(), chiSquares.end()) -
                                  chiSquares.begin());
}

bool SpreadBelowTolerance(const std::vector<double>& chiSquares,
                          const DifferentialEvolutionOptions& options) {
  const double n = static_cast<double>(chiSquares.size());
  const double mean = std::accumulate(chiSquares.begin(), chiSquares.end(), 0.0) / n;
  if (!std::isfinite(mean)) return false;
  double squares = 0.0;
  for (const double c : chiSquares) squares += (c - mean) * (c - mean);
  return std::sqrt(squares / n) <=
         options.absoluteTolerance + options.relativeTolerance * std::abs(mean);
}

//! Three distinct members other than `self`: the mutant's difference takes the last two.
std::pair<std::size_t, std::size_t> TwoOthers(std::size_t self, std::size_t members,
                                              std::mt19937_64& random) {
  std::size_t a = self;
  while (a == self) a = UniformIndex(random, members);
  std::size_t b = self;
  while (b == self || b == a) b = UniformIndex(random, members);
  return {a, b};
}

//! best/1/bin: the best member plus a scaled difference of two others, crossed with the parent;
//! a value outside its bounds lands uniformly between the parent's value and the bound passed.
std::vector<double> Trial(const Population& population, std::size_t parent, std::size_t best,
                          double mutation, const std::vector<Bounds>& bounds, double crossover,
                          std::mt19937_64& random) {
  const auto [a, b] = TwoOthers(parent, population.size(), random);
  const std::size_t values = bounds.size();
  const std::size_t forced = UniformIndex(random, values);
  std::vector<double> trial = population[parent];
  for (std::size_t k = 0; k < values; ++k) {
    if (k != forced && UniformUnit(random) >= crossover) continue;
    double x = population[best][k] + mutation * (population[a][k] - population[b][k]);
    if (x < bounds[k].lower || x > bounds[k].upper) {
      const double bound = x < bounds[k].lower ? bounds[k].lower : bounds[k].upper;
      x = population[parent][k] + UniformUnit(random) * (bound - population[parent][k]);
    }
    trial[k] = bounds[k].clamp(x);
  }
  return trial;
}

}  // namespace

DifferentialEvolutionResult RunDifferentialEvolution(BatchObjective& objective,
                                                     const std::vector<Bounds>& bounds,
                                                     const DifferentialEvolutionOptions& options,
                                                     RunControl& control,
                                                     const GenerationCallback& progress) {
  CheckSetup(bounds, options);
  std::mt19937_64 random(options.seed);
  const std::size_t members =
      std::max<std::size_t>(5, static_cast<std::size_t>(options.populationFactor) * bounds.size());

  Population population = LatinHypercube(bounds, members, random);
  std::vector<double> chiSquares(members);
  EvaluateBatch(objective, population, chiSquares);

  DifferentialEvolutionResult result;
  result.evaluations = static_cast<long long>(members);
  result.state = SearchEndState::GenerationLimit;
  Population trials(members);
  std::vector<double> trialChiSquares(members);
  while (result.generations < options.maxGenerations) {
    if (SpreadBelowTolerance(chiSquares, options)) {
      result.state = SearchEndState::Converged;
      break;
    }
    if (control.stopRequested() || control.cancelRequested()) {
      result.state = SearchEndState::Stopped;
      break;
    }
    // Every trial of a generation is built from the same population, so that all of them can
    // be evaluated as one batch.
    const std::size_t best = BestMember(chiSquares);
    const double mutation = UniformIn(random, options.mutationLow, options.mutationHigh);
    for (std::size_t i = 0; i < members; ++i) {
      trials[i] = Trial(population, i, best, mutation, bounds, options.crossover, random);
    }
    EvaluateBatch(objective, trials, trialChiSquares);
    for (std::size_t i = 0; i < members; ++i) {
      if (trialChiSquares[i] <= chiSquares[i]) {
        population[i].swap(trials[i]);
        chiSquares[i] = trialChiSquares[i];
      }
    }
    ++result.generations;
    result.evaluations += static_cast<long long>(members);
    if (progress)
      progress({result.generations, chiSquares[BestMember(chiSquares)], result.evaluations});
  }
  if (result.state == SearchEndState::GenerationLimit &&
      SpreadBelowTolerance(chiSquares, options)) {
    result.state = SearchEndState::Converged;
  }
  const std::size_t best = BestMember(chiSquares);
  result.best = population[best];
  result.bestChiSquare = chiSquares[best];
  return result;
}

}  // namespace quorrel
