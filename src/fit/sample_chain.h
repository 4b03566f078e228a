#pragma once
// The stored steps of an ensemble sampler: the positions of every walker and their
// log-probabilities.

#include <cstddef>
#include <span>
#include <vector>

namespace quorrel {

//! Stored steps x walkers x values, in that order (C order), with one log-probability per
//! walker and stored step.
struct SampleChain {
  int walkers = 0;
  int values = 0;
  //! Stored steps: the production steps run, every `thinning`-th kept.
  int steps = 0;
  int thinning = 1;
  std::vector<double> samples;
  std::vector<double> logProbabilities;

  //! Every stored position, steps x walkers rows.
  int sampleCount() const { return steps * walkers; }
  std::span<const double> point(int step, int walker) const {
    return std::span<const double>(samples).subspan(Offset(step, walker) * values, values);
  }
  double value(int step, int walker, int value) const { return point(step, walker)[value]; }
  double logProbability(int step, int walker) const {
    return logProbabilities[Offset(step, walker)];
  }
  //! Appends one step of every walker.
  void append(const std::vector<std::vector<double>>& positions,
              const std::vector<double>& logProbability) {
    for (const auto& position : positions)
      samples.insert(samples.end(), position.begin(), position.end());
    logProbabilities.insert(logProbabilities.end(), logProbability.begin(), logProbability.end());
    ++steps;
  }

 private:
  std::size_t Offset(int step, int walker) const {
    return static_cast<std::size_t>(step) * walkers + walker;
  }
};

}  // namespace quorrel
