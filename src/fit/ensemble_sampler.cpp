#include "fit/ensemble_sampler.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "fit/random_draws.h"
#include "fit/search_errors.h"

namespace quorrel {

namespace {

using Positions = std::vector<std::vector<double>>;

constexpr double kMinusInfinity = -std::numeric_limits<double>::infinity();

int CheckedWalkers(const EnsembleSamplerOptions& options, int values) {
  if (values < 1) throw SearchSetupError("sampling needs a varied value");
  const int walkers = options.walkers.value_or(DefaultWalkers(values));
  if (walkers % 2 != 0) {
    throw SearchSetupError("the number of walkers must be even, not " + std::to_string(walkers));
  }
  if (walkers < std::max(4, 2 * values)) {
    throw SearchSetupError("sampling " + std::to_string(values) + " values needs at least " +
                           std::to_string(std::max(4, 2 * values)) + " walkers, not " +
                           std::to_string(walkers));
  }
  if (options.burnInSteps < 0 || options.productionSteps < 0) {
    throw SearchSetupError("the numbers of steps cannot be negative");
  }
  if (options.thinning < 1) throw SearchSetupError("the thinning must be at least 1");
  if (!(options.stretchScale > 1.0)) throw SearchSetupError("the stretch scale must exceed 1");
  // Walkers that all start at one point never leave the line through it: the moves only
  // stretch the differences between walkers.
  if (!(options.startBallSize > 0.0))
    throw SearchSetupError("the start ball's size must be positive");
  return walkers;
}

//! The spread of the start ball around `value`: relative to |value|, else to the bounds'
//! width, else absolute.
double BallSpread(double value, const Bounds& bounds, double size) {
  if (value != 0.0) return size * std::abs(value);
  if (bounds.finite() && bounds.upper > bounds.lower) return size * (bounds.upper - bounds.lower);
  return size;
}

//! A draw beyond a bound is mirrored at it, so that walkers near a bound keep their spread
//! instead of piling up on it.
double IntoBounds(double x, const Bounds& bounds) {
  if (x < bounds.lower) x = 2.0 * bounds.lower - x;
  if (x > bounds.upper) x = 2.0 * bounds.upper - x;
  return bounds.clamp(x);
}

bool Inside(const std::vector<double>& point, const std::vector<Bounds>& bounds) {
  for (std::size_t k = 0; k < point.size(); ++k) {
    if (!bounds[k].contains(point[k])) return false;
  }
  return true;
}

double LogProbability(double chiSquare) { return -0.5 * chiSquare; }

//! The walkers, their log-probabilities and the moves they made.
class Ensemble {
 public:
  Ensemble(BatchObjective& objective, const std::vector<Bounds>& bounds,
           const EnsembleSamplerOptions& options, int walkers)
      : objective_(objective),
        bounds_(bounds),
        scale_(options.stretchScale),
        random_(options.seed),
        walkerAccepted_(static_cast<std::size_t>(walkers), 0) {}

  void start(const std::vector<double>& center, double ballSize) {
    const std::size_t walkers = walkerAccepted_.size();
    positions_.assign(walkers, std::vector<double>(bounds_.size()));
    std::vector<double> clamped(center.size());
    for (std::size_t k = 0; k < center.size(); ++k) clamped[k] = bounds_[k].clamp(center[k]);
    for (auto& position : positions_) {
      for (std::size_t k = 0; k < position.size(); ++k) {
        const double spread = BallSpread(clamped[k], bounds_[k], ballSize);
        position[k] = IntoBounds(clamped[k] + spread * StandardNormal(random_), bounds_[k]);
      }
    }
    std::vector<double> chiSquares(walkers);
    EvaluateBatch(objective_, positions_, chiSquares);
    evaluations_ += static_cast<long long>(walkers);
    logProbabilities_.resize(walkers);
    std::transform(chiSquares.begin(), chiSquares.end(), logProbabilities_.begin(), LogProbability);
    if (std::none_of(logProbabilities_.begin(), logProbabilities_.end(),
                     [](double p) { return std::isfinite(p); })) {
      throw SearchSetupError("no walker around the start values can be evaluated");
    }
  }

  //! Moves the first half, then the second against the moved first.
  void step() {
    const std::size_t half = positions_.size() / 2;
    moveHalf(0, half);
    moveHalf(half, 0);
  }

  void resetAcceptance() { std::fill(walkerAccepted_.begin(), walkerAccepted_.end(), 0); }
  const Positions& positions() const { return positions_; }
  const std::vector<double>& logProbabilities() const { return logProbabilities_; }
  const std::vector<long long>& walkerAccepted() const { return walkerAccepted_; }
  long long movesAccepted() const { return movesAccepted_; }
  long long evaluations() const { return evaluations_; }

 private:
  //! Stretch moves of walkers first .. first + half - 1 towards or away from random walkers of
  //! the other half; the draws come in a fixed order, whatever the batch's evaluation.
  void moveHalf(std::size_t first, std::size_t other) {
    const std::size_t half = positions_.size() / 2;
    const double d = static_cast<double>(bounds_.size());
    proposals_.assign(half, {});
    stretches_.assign(half, 0.0);
    batch_.clear();
    batchWalkers_.clear();
    for (std::size_t i = 0; i < half; ++i) {
      const auto& walker = positions_[first + i];
      const auto& partner = positions_[other + UniformIndex(random_, half)];
      const double u = UniformUnit(random_);
      const double root = (scale_ - 1.0) * u + 1.0;
      stretches_[i] = root * root / scale_;
      auto& proposal = proposals_[i];
      proposal.resize(walker.size());
      for (std::size_t k = 0; k < walker.size(); ++k) {
        proposal[k] = partner[k] + stretches_[i] * (walker[k] - partner[k]);
      }
      if (Inside(proposal, bounds_)) {
        batch_.push_back(proposal);
        batchWalkers_.push_back(i);
      }
    }
    chiSquares_.resize(batch_.size());
    EvaluateBatch(objective_, batch_, chiSquares_);
    evaluations_ += static_cast<long long>(batch_.size());
    proposed_.assign(half, kMinusInfinity);
    for (std::size_t b = 0; b < batchWalkers_.size(); ++b) {
      proposed_[batchWalkers_[b]] = LogProbability(chiSquares_[b]);
    }
    for (std::size_t i = 0; i < half; ++i) {
      const std::size_t walker = first + i;
      const double logRatio =
          (d - 1.0) * std::log(stretches_[i]) + proposed_[i] - logProbabilities_[walker];
      // A walker stuck where nothing evaluates takes any evaluable proposal (logRatio = +inf);
      // -inf against -inf gives NaN, which is refused.
      if (std::log(UniformUnit(random_)) < logRatio) {
        positions_[walker].swap(proposals_[i]);
        logProbabilities_[walker] = proposed_[i];
        ++walkerAccepted_[walker];
        ++movesAccepted_;
      }
    }
  }

  BatchObjective& objective_;
  const std::vector<Bounds>& bounds_;
  double scale_;
  std::mt19937_64 random_;
  Positions positions_;
  std::vector<double> logProbabilities_;
  std::vector<long long> walkerAccepted_;
  long long movesAccepted_ = 0;
  long long evaluations_ = 0;
  // Work space of one half's move.
  Positions proposals_;
  std::vector<double> stretches_;
  Positions batch_;
  std::vector<std::size_t> batchWalkers_;
  std::vector<double> chiSquares_;
  std::vector<double> proposed_;
};

}  // namespace

int DefaultWalkers(int values) { return std::max(32, 8 * values); }

SamplingResult RunEnsembleSampler(BatchObjective& objective, const std::vector<Bounds>& bounds,
                                  const std::vector<double>& start,
                                  const EnsembleSamplerOptions& options, RunControl& control,
                                  const SamplingCallback& progress) {
  const int values = static_cast<int>(bounds.size());
  const int walkers = CheckedWalkers(options, values);
  if (start.size() != bounds.size()) {
    throw SearchSetupError("the start has " + std::to_string(start.size()) +
                           " values, the bounds " + std::to_string(bounds.size()));
  }
  for (std::size_t k = 0; k < start.size(); ++k) {
    if (!std::isfinite(start[k])) {
      throw SearchSetupError("start value " + std::to_string(k + 1) + " is not a finite number");
    }
  }
  Ensemble ensemble(objective, bounds, options, walkers);
  ensemble.start(start, options.startBallSize);

  SamplingResult result;
  result.chain.walkers = walkers;
  result.chain.values = values;
  result.chain.thinning = options.thinning;
  const int totalSteps = options.burnInSteps + options.productionSteps;
  for (int step = 1; step <= totalSteps; ++step) {
    if (control.stopRequested() || control.cancelRequested()) {
      result.state = SamplingEndState::Stopped;
      break;
    }
    const bool production = step > options.burnInSteps;
    if (step == options.burnInSteps + 1) ensemble.resetAcceptance();
    ensemble.step();
    if (production) {
      ++result.productionStepsRun;
      if (result.productionStepsRun % options.thinning == 0) {
        result.chain.append(ensemble.positions(), ensemble.logProbabilities());
      }
    } else {
      ++result.burnInStepsRun;
    }
    if (progress) {
      progress(
          {step, totalSteps,
           static_cast<double>(ensemble.movesAccepted()) / (static_cast<double>(step) * walkers),
           ensemble.evaluations()});
    }
  }
  result.evaluations = ensemble.evaluations();
  result.walkerAcceptance.assign(static_cast<std::size_t>(walkers), 0.0);
  if (result.productionStepsRun > 0) {
    long long accepted = 0;
    for (int w = 0; w < walkers; ++w) {
      accepted += ensemble.walkerAccepted()[w];
      result.walkerAcceptance[w] =
          static_cast<double>(ensemble.walkerAccepted()[w]) / result.productionStepsRun;
    }
    result.acceptance =
        static_cast<double>(accepted) / (static_cast<double>(result.productionStepsRun) * walkers);
  }
  return result;
}

}  // namespace quorrel
