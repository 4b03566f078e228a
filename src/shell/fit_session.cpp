#include "shell/fit_session.h"

#include <stdexcept>
#include <utility>

#include "common/number_format.h"
#include "fit/levenberg_marquardt.h"
#include "fit/model_objective.h"
#include "fit/model_residuals.h"
#include "fit/profile_evaluator.h"
#include "fit/write_back.h"
#include "model/profile_function.h"
#include "model/layer_stack_builder.h"

namespace quorrel {

namespace {

constexpr const char* kChiSquarePattern = "0.0000E+00";
constexpr const char* kEmptyRegionMessage =
    "the fitting region holds no measured point: select a region that contains at least one";
constexpr const char* kRunningMessage = "a fit is already running";
constexpr const char* kClosedMessage = "the fit dialog is not open";
constexpr const char* kFewPointsMessage =
    "the fitting region holds no more measured points than there are values to vary: "
    "Levenberg-Marquardt needs more points";
constexpr double kMinTolerance = 1e-37;
constexpr double kMaxTolerance = 1.0;

}  // namespace

FitSession::FitSession() = default;

FitSession::FitSession(std::uint64_t seed) : engine_(seed) {}

void FitSession::open(const SampleModel& model, FitData data, ProfileEvaluator profile) {
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  ParameterSet set = CollectParameterSet(model, stack);
  const std::lock_guard lock(mutex_);
  if (state_ == FitDialogState::Running) {
    throw std::logic_error("the fit dialog cannot open while a fit is running");
  }
  model_ = model;
  data_ = std::move(data);
  profile_ = std::move(profile);
  stack_ = std::move(stack);
  set_ = std::move(set);
  flags_ = VaryFlags(set_.count());
  uncertainties_.reset();
  entries_ = listLocked();
  state_ = FitDialogState::Idle;
  result_ = DialogResult::None;
  // A failed run of an earlier opening does not keep "&OK" disabled.
  okEnabled_ = true;
  okPending_ = false;
  cancelPending_ = false;
  convergedShown_ = false;
  // A chi-square of an earlier opening belongs to values the dialog no longer shows.
  chiSquareText_ = std::string(1, '0');
  control_.clear();
  control_.setTolerance(settings_.tolerance);
}

FitSettings FitSession::settings() const {
  const std::lock_guard lock(mutex_);
  return settings_;
}

void FitSession::setRunMode(RunMode mode) {
  const std::lock_guard lock(mutex_);
  settings_.mode = mode;
}

void FitSession::setMethod(FitMethod method) {
  const std::lock_guard lock(mutex_);
  settings_.method = method;
}

bool FitSession::toleranceEnabled() const {
  const std::lock_guard lock(mutex_);
  return settings_.mode == RunMode::IterateToMinimum && settings_.method == FitMethod::RandomSearch;
}

bool FitSession::setTolerance(double tolerance) {
  if (!(tolerance >= kMinTolerance && tolerance <= kMaxTolerance)) return false;
  const std::lock_guard lock(mutex_);
  settings_.tolerance = tolerance;
  control_.setTolerance(tolerance);
  return true;
}

void FitSession::setWeighting(Weighting weighting) {
  const std::lock_guard lock(mutex_);
  settings_.weighting = weighting;
}

void FitSession::setIncludeResolution(bool on) {
  const std::lock_guard lock(mutex_);
  settings_.includeResolution = on;
}

void FitSession::setIncludeBackground(bool on) {
  const std::lock_guard lock(mutex_);
  settings_.includeBackground = on;
}

void FitSession::setDisplayGraph(bool on) {
  const std::lock_guard lock(mutex_);
  settings_.displayGraph = on;
}

std::vector<FitParameter> FitSession::entries() const {
  const std::lock_guard lock(mutex_);
  return entries_;
}

bool FitSession::toggleVary(int entry) {
  const std::lock_guard lock(mutex_);
  if (state_ != FitDialogState::Idle && state_ != FitDialogState::Failed) return false;
  if (entry < 0 || entry >= static_cast<int>(entries_.size())) {
    throw std::out_of_range("no list entry " + std::to_string(entry));
  }
  flags_.toggle(entry + 1);
  entries_[static_cast<std::size_t>(entry)].vary = flags_[entry + 1];
  convergedShown_ = false;
  return true;
}

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

DoItResult FitSession::doIt(const FitDialogEvents& events) {
  std::string refusal = start();
  if (!refusal.empty()) return {std::nullopt, std::move(refusal)};
  return runStarted(events);
}

std::string FitSession::start() {
  const std::lock_guard lock(mutex_);
  if (state_ == FitDialogState::Running) return kRunningMessage;
  if (state_ == FitDialogState::Closed) return kClosedMessage;
  const PointRange range = RegionPoints(data_.measured);
  if (range.empty()) return kEmptyRegionMessage;
  std::vector<int> varied = flags_.variedIndices();
  const bool leastSquares = settings_.mode == RunMode::IterateToMinimum &&
                            settings_.method == FitMethod::LevenbergMarquardt;
  if (leastSquares && range.last - range.first + 1 <= static_cast<int>(varied.size())) {
    return kFewPointsMessage;
  }
  state_ = FitDialogState::Running;
  control_.clearStop();
  convergedShown_ = false;
  uncertainties_.reset();
  started_ = StartedRun{range, std::move(varied), leastSquares};
  return {};
}

DoItResult FitSession::runStarted(const FitDialogEvents& events) {
  std::unique_lock lock(mutex_);
  if (!started_) return {std::nullopt, kRunningMessage};
  const StartedRun started = std::move(*started_);
  started_.reset();
  const PointRange range = started.range;
  const std::vector<int>& varied = started.varied;
  const bool leastSquares = started.leastSquares;
  // The run works on its own copies, so that the dialog can read the session meanwhile.
  ParameterSet set = set_;
  LayerStack stack = stack_;
  const FitRequest request{settings_.mode, varied, settings_.displayGraph};
  const ChiSquareOptions options{settings_.weighting, settings_.includeResolution,
                                 settings_.includeBackground, KernelKind::Fast, data_.smearing};
  ChiSquareEvaluator evaluator(data_.measured, data_.pointResolution, data_.pointBackground,
                               range, options);
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
                                                settings_.weighting == Weighting::GivenErrors};
  lock.unlock();

  const FitEvents engine = engineEvents(events);
  FitOutcome outcome;
  try {
    if (leastSquares) {
      ModelResiduals residuals(stack, evaluator, std::move(profile));
      outcome = RunLevenbergMarquardt(set, residuals, leastSquaresRequest, control_, engine);
    } else {
      ModelObjective objective(stack, evaluator, std::move(profile));
      outcome = engine_.run(set, objective, request, control_, engine);
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
  // Every model curve over the region counts, whichever way the run asked for it.
  outcome.evaluations = evaluator.curvesCalculated();

  lock.lock();
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

std::vector<FitParameter> FitSession::listLocked() const {
  std::vector<FitParameter> entries = FillParameterList(set_, flags_);
  if (uncertainties_) {
    for (std::size_t c = 0; c < uncertainties_->varied.size(); ++c) {
      std::string& label = entries[static_cast<std::size_t>(uncertainties_->varied[c] - 1)].label;
      label = WithStandardError(label, uncertainties_->standardErrors[c]);
    }
  }
  return entries;
}

void FitSession::finishRunLocked(const FitOutcome& outcome) {
  if (outcome.state == FitEndState::Failed) {
    okEnabled_ = false;
    state_ = FitDialogState::Failed;
    // The failing values are not written back, even when "&OK" was pressed during the run.
    okPending_ = false;
  } else {
    okEnabled_ = true;
    state_ = FitDialogState::Idle;
  }
  if (cancelPending_) {
    cancelPending_ = false;
    okPending_ = false;
    state_ = FitDialogState::Closed;
    result_ = DialogResult::Cancel;
    convergedShown_ = false;
  } else if (okPending_) {
    acceptLocked();
  }
}

void FitSession::acceptLocked() {
  WriteBackFit(set_, model_);
  fitAccepted_ = true;
  okPending_ = false;
  convergedShown_ = false;
  state_ = FitDialogState::Closed;
  result_ = DialogResult::Ok;
}

void FitSession::stop() {
  const std::lock_guard lock(mutex_);
  if (state_ == FitDialogState::Running) control_.requestStop();
}

void FitSession::cancel() {
  const std::lock_guard lock(mutex_);
  if (state_ == FitDialogState::Closed) return;
  if (state_ == FitDialogState::Running) {
    cancelPending_ = true;
    control_.requestCancel();
    return;
  }
  state_ = FitDialogState::Closed;
  result_ = DialogResult::Cancel;
  convergedShown_ = false;
}

bool FitSession::ok() {
  const std::lock_guard lock(mutex_);
  if (state_ == FitDialogState::Closed || !okEnabled_) return false;
  if (state_ == FitDialogState::Running) {
    okPending_ = true;
    return true;
  }
  acceptLocked();
  return true;
}

FitDialogState FitSession::state() const {
  const std::lock_guard lock(mutex_);
  return state_;
}

bool FitSession::okEnabled() const {
  const std::lock_guard lock(mutex_);
  return okEnabled_;
}

bool FitSession::stopEnabled() const { return state() == FitDialogState::Running; }

bool FitSession::listEnabled() const {
  const FitDialogState current = state();
  return current == FitDialogState::Idle || current == FitDialogState::Failed;
}

std::string FitSession::chiSquareText() const {
  const std::lock_guard lock(mutex_);
  return chiSquareText_;
}

std::optional<double> FitSession::chiSquare() const {
  const std::lock_guard lock(mutex_);
  return chiSquare_;
}

bool FitSession::convergedShown() const {
  const std::lock_guard lock(mutex_);
  return convergedShown_;
}

std::string FitSession::statusText() const {
  const std::lock_guard lock(mutex_);
  return statusText_;
}

DialogResult FitSession::result() const {
  const std::lock_guard lock(mutex_);
  return result_;
}

ParameterSet FitSession::parameters() const {
  const std::lock_guard lock(mutex_);
  return set_;
}

std::optional<FitUncertainties> FitSession::uncertainties() const {
  const std::lock_guard lock(mutex_);
  return uncertainties_;
}

SampleModel FitSession::model() const {
  const std::lock_guard lock(mutex_);
  return model_;
}

bool FitSession::fitAccepted() const {
  const std::lock_guard lock(mutex_);
  return fitAccepted_;
}

void FitSession::clearFitAccepted() {
  const std::lock_guard lock(mutex_);
  fitAccepted_ = false;
}

}  // namespace quorrel
