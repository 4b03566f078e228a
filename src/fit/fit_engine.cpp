#include "fit/fit_engine.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <string>

#include "fit/chi_square.h"
#include "fit/symmetry_ties.h"

namespace quorrel {

namespace {

// Constants of the step search.
constexpr double kRelativeFirstStep = 0.1;
constexpr double kFirstStepAtZero = 1e-7;
constexpr int kUncheckedTrials = 100;  // accepted trials run untested while the counter is below
constexpr int kMinimumTrials = 2;      // the tolerance may end a search once the counter exceeds

//! The state of one run.
class Run {
 public:
  Run(ParameterSet& set, FitObjective& objective, const FitRequest& request, RunControl& control,
      const FitEvents& events, std::mt19937_64& random)
      : set_(set),
        objective_(objective),
        request_(request),
        control_(control),
        events_(events),
        random_(random) {}

  FitOutcome calculateOnce() {
    objective_.apply(set_);
    const double chi = evaluate();
    return finish(failed_ ? FitEndState::Failed : FitEndState::Calculated, chi);
  }

  FitOutcome iterate() {
    objective_.apply(set_);
    const std::vector<int>& varied = request_.varied;
    const int m = static_cast<int>(varied.size());
    std::vector<int> mayImprove(static_cast<std::size_t>(m), 1);
    int lastPick = -1;
    double best = 0.0;
    bool converged = false;
    for (;;) {
      ++iterations_;
      const int slot = pick(m, lastPick);
      lastPick = slot;
      if (slot < 0) {
        // Nothing to search: the label shows the current values' chi-square.
        best = evaluate();
      } else if (mayImprove[static_cast<std::size_t>(slot)] == 1) {
        const double before = evaluate();
        best = search(varied[static_cast<std::size_t>(slot)]);
        if (best >= before) {
          mayImprove[static_cast<std::size_t>(slot)] = 0;
        } else {
          std::fill(mayImprove.begin(), mayImprove.end(), 1);
        }
      }
      redraw(best);
      if (events_.parametersChanged) events_.parametersChanged(set_);
      converged = std::accumulate(mayImprove.begin(), mayImprove.end(), 0) == 0;
      if (control_.cancelRequested() || control_.stopRequested() || failed_ ||
          control_.tolerance() > best || converged) {
        break;
      }
    }
    if (failed_) return finish(FitEndState::Failed, best);
    objective_.apply(set_);
    if (converged) return finish(FitEndState::Converged, best);
    if (control_.stopRequested() || control_.cancelRequested()) {
      return finish(FitEndState::Stopped, best);
    }
    return finish(FitEndState::BelowTolerance, best);
  }

 private:
  //! EvaluateChiSquare: 0 and the failure on an arithmetic fault.
  double evaluate() {
    ++evaluations_;
    const std::optional<double> chi = objective_.evaluate();
    if (!chi) failed_ = true;
    const double value = chi.value_or(0.0);
    if (request_.displayGraph && events_.evaluated) {
      events_.evaluated(value, objective_.evaluatedCurve());
    }
    return value;
  }

  //! Changes entry `index`, within its bounds, and keeps the dependent entries and the
  //! calculation in step.
  void place(int index, double value) {
    for (std::size_t slot = 0; slot < request_.bounds.size(); ++slot) {
      if (request_.varied[slot] == index) value = request_.bounds[slot].clamp(value);
    }
    SetTiedValue(set_, index, value);
    objective_.apply(set_);
  }

  //! SearchParameter: the step search along one entry; returns the best chi-square.
  double search(int index) {
    double best = evaluate();
    const double start = set_[index];
    const double step = start != 0.0 ? kRelativeFirstStep * start : kFirstStepAtZero;
    double factor = 1.0;
    int counter = 0;
    for (;;) {
      ++counter;
      if (events_.trial) events_.trial(index, counter);
      const double accepted = set_[index];
      place(index, accepted + step * factor);
      if (request_.displayGraph && events_.parametersChanged) events_.parametersChanged(set_);
      const double trial = evaluate();
      const double lastChange = best - trial;
      const bool improved = lastChange >= 0.0;
      if (improved) {
        best = trial;
        factor *= 2.0;
      } else {
        // Back to the accepted value exactly, so that rounding cannot drift it.
        factor = -factor;
        place(index, accepted);
      }
      if (improved && counter < kUncheckedTrials && !control_.stopRequested() && !failed_) {
        continue;
      }
      factor /= 2.0;
      if (control_.cancelRequested()) control_.requestStop();
      const double tolerance = control_.tolerance();
      if ((tolerance >= std::fabs(lastChange) && counter > kMinimumTrials) ||
          control_.stopRequested() || failed_) {
        return best;
      }
    }
  }

  //! A slot of the varied list, never the last one picked again; -1 when nothing is varied.
  int pick(int m, int lastPick) {
    if (m <= 1) return m - 1;
    int slot = lastPick;
    while (slot == lastPick) {
      const double u = static_cast<double>(random_() >> 11) * 0x1.0p-53;  // [0, 1)
      slot = std::min(static_cast<int>(u * m), m - 1);
    }
    return slot;
  }

  //! The fit curve of the current values. After a failure they may not be calculable; the
  //! curve is then left empty instead of ending the run with a fault.
  void redraw(double best) {
    if (!events_.iterated) return;
    const std::optional<ReflCurve> curve = objective_.calculate();
    if (!curve) failed_ = true;
    events_.iterated(best, curve.value_or(ReflCurve()));
  }

  FitOutcome finish(FitEndState state, double chiSquare) {
    return EndedRun(state, chiSquare, evaluations_, iterations_);
  }

  ParameterSet& set_;
  FitObjective& objective_;
  const FitRequest& request_;
  RunControl& control_;
  const FitEvents& events_;
  std::mt19937_64& random_;
  bool failed_ = false;
  long long evaluations_ = 0;
  int iterations_ = 0;
};

std::uint64_t ClockSeed() {
  return static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

}  // namespace

FitOutcome EndedRun(FitEndState state, double chiSquare, long long evaluations, int iterations) {
  FitOutcome outcome;
  outcome.state = state;
  outcome.chiSquare = chiSquare;
  outcome.evaluations = evaluations;
  outcome.iterations = iterations;
  if (state == FitEndState::Failed) outcome.message = kOutOfBoundsMessage;
  return outcome;
}

FitEngine::FitEngine() : random_(ClockSeed()) {}

FitEngine::FitEngine(std::uint64_t seed) : random_(seed) {}

FitOutcome FitEngine::run(ParameterSet& set, FitObjective& objective, const FitRequest& request,
                          RunControl& control, const FitEvents& events) {
  for (const int index : request.varied) {
    if (!set.variable(index)) {
      throw std::out_of_range("parameter " + std::to_string(index) + " cannot be varied");
    }
  }
  Run run(set, objective, request, control, events, random_);
  return request.mode == RunMode::CalculateChiSquare ? run.calculateOnce() : run.iterate();
}

}  // namespace quorrel
