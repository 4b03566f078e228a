#include "shell/fit_session.h"

// What "&do it" runs: the chosen method over the session's copies, and what it reports.

#include <utility>

#include "common/number_format.h"
#include "fit/differential_evolution_fit.h"
#include "fit/joint_objective.h"
#include "fit/levenberg_marquardt.h"
#include "fit/pooled_objective.h"
#include "fit/profile_evaluator.h"
#include "model/profile_function.h"

namespace quorrel {

namespace {

constexpr const char* kChiSquarePattern = "0.0000E+00";

//! Each measurement's chi-square at the values of `set`, by one more evaluation.
std::vector<std::optional<double>> MeasurementChiSquares(JointObjective& objective,
                                                         const ParameterSet& set) {
  std::vector<double> residuals(static_cast<std::size_t>(objective.residualCount()));
  if (!objective.residuals({&set, 1}, residuals)) {
    return std::vector<std::optional<double>>(objective.measurementCount());
  }
  return objective.measurementChiSquares(residuals);
}


}  // namespace

FitEvents FitSession::engineEvents(const FitDialogEvents& events) {
  FitEvents engine;
  const auto showChiSquare = [this, events](double chiSquare, const ReflCurve& curve) {
    const std::string text = FormatPattern(chiSquare, kChiSquarePattern);
    {
      const std::lock_guard lock(mutex_);
      chiSquareText_ = text;
    }
    if (events.chiSquareText) events.chiSquareText(text);
    if (events.fitCurve) events.fitCurve(curve);
  };
  engine.evaluated = showChiSquare;
  engine.iterated = showChiSquare;
  engine.trial = [this, events](int index, int counter) {
    const std::string text = std::to_string(index) + " : " + std::to_string(counter);
    {
      const std::lock_guard lock(mutex_);
      statusText_ = text;
    }
    if (events.statusText) events.statusText(text);
  };
  engine.step = [this, events](int iteration) {
    const std::string text = "iteration " + std::to_string(iteration);
    {
      const std::lock_guard lock(mutex_);
      statusText_ = text;
    }
    if (events.statusText) events.statusText(text);
  };
  engine.parametersChanged = [this, events](const ParameterSet& set) {
    std::vector<FitParameter> entries;
    {
      const std::lock_guard lock(mutex_);
      entries_ = FillParameterList(set, flags_);
      entries = entries_;
    }
    if (events.parameterList) events.parameterList(entries);
  };
  return engine;
}

DoItResult FitSession::runStarted(const FitDialogEvents& events) {
  std::unique_lock lock(mutex_);
  if (!started_) return {std::nullopt, kFitRunningMessage};
  StartedRun started = std::move(*started_);
  started_.reset();
  const std::vector<int>& varied = started.varied;
  const std::optional<FitMethod> method = started.method;
  // The run works on its own copies, so that the dialog can read the session meanwhile.
  ParameterSet set = set_;
  LayerStack stack = stack_;
  const FitRequest request{settings_.mode, varied, settings_.displayGraph, started.bounds};
  const ChiSquareOptions options{settings_.weighting,       settings_.includeResolution,
                                 settings_.includeBackground, KernelKind::Fast,
                                 SmearingKernel::Standard,    fast::Threading::SharedPool};
  // Each run evaluates the profile function with its own copy of the compiled function. A
  // user function that fails says so in the status text, as it does in a calculation.
  bool userFunctionFailed = false;
  ProfileEvaluator profile = profile_;
  if (!profile && model_.type == SampleType::ProfileFunction) {
    profile = MakeProfileEvaluator(model_, [&userFunctionFailed, events] {
      if (!userFunctionFailed && events.statusText) events.statusText(kUserFunctionError);
      userFunctionFailed = true;
    });
  }
  const LeastSquaresRequest leastSquaresRequest{varied, settings_.displayGraph,
                                                settings_.weighting == Weighting::GivenErrors,
                                                started.bounds};
  JointObjective objective(set, stack, data_, options, started.links, profile, magnetic_);
  // The global search spreads its population over the pool, one objective per chunk.
  PooledObjective search(JointObjectiveFactory(set, stack, data_, options, started.links, model_,
                                               profile_, magnetic_),
                         set, varied);
  const std::uint64_t seed = seed_;
  lock.unlock();

  const FitEvents engine = engineEvents(events);
  FitOutcome outcome;
  std::vector<std::optional<double>> measurementChiSquares;
  try {
    if (method == FitMethod::LevenbergMarquardt) {
      outcome = RunLevenbergMarquardt(set, objective, leastSquaresRequest, control_, engine);
    } else if (method == FitMethod::DifferentialEvolution) {
      outcome = RunDifferentialEvolutionFit(set, search, objective, leastSquaresRequest, seed,
                                            control_, engine);
    } else {
      outcome = engine_.run(set, objective, request, control_, engine);
    }
    // Every model curve over a region counts, whichever way the run asked for it.
    outcome.evaluations = objective.curvesCalculated() + search.curvesCalculated();
    if (outcome.state != FitEndState::Failed) {
      started.links.apply(set);
      measurementChiSquares = MeasurementChiSquares(objective, set);
    }
  } catch (...) {
    // Whatever ended the run, the controls return to idle.
    lock.lock();
    state_ = FitDialogState::Idle;
    okPending_ = false;
    if (cancelPending_) {
      cancelPending_ = false;
      state_ = FitDialogState::Closed;
      result_ = DialogResult::Cancel;
    }
    throw;
  }
  lock.lock();
  measurementChiSquares_ = std::move(measurementChiSquares);
  set_ = std::move(set);
  stack_ = std::move(stack);
  uncertainties_ = outcome.uncertainties;
  entries_ = listLocked();
  chiSquareText_ = FormatPattern(outcome.chiSquare, kChiSquarePattern);
  chiSquare_ = outcome.chiSquare;
  if (userFunctionFailed) {
    statusText_ = kUserFunctionError;
  } else if (request.mode == RunMode::IterateToMinimum) {
    statusText_.clear();
  }
  convergedShown_ = outcome.state == FitEndState::Converged;
  finishRunLocked(outcome);
  return {outcome, ""};
}

}  // namespace quorrel
