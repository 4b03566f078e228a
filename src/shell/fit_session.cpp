#include "shell/fit_session.h"

#include <chrono>
#include <stdexcept>
#include <utility>

#include "common/number_format.h"
#include "fit/measurement_entries.h"
#include "fit/search_errors.h"
#include "fit/write_back.h"
#include "model/layer_stack_builder.h"

namespace quorrel {

namespace {

constexpr const char* kEmptyRegionMessage =
    "the fitting region holds no measured point: select a region that contains at least one";
constexpr const char* kClosedMessage = "the fit dialog is not open";
constexpr const char* kFewPointsMessage =
    "the fitting region holds no more measured points than there are values to vary: "
    "Levenberg-Marquardt needs more points";
constexpr double kMinTolerance = 1e-37;
constexpr double kMaxTolerance = 1.0;

}  // namespace

FitSession::FitSession()
    : FitSession(static_cast<std::uint64_t>(
          std::chrono::high_resolution_clock::now().time_since_epoch().count())) {}

FitSession::FitSession(std::uint64_t seed) : seed_(seed), engine_(seed) {}

std::vector<Measurement> FitSession::measurementsLocked() const {
  std::vector<Measurement> own;
  for (const FitData& data : data_) own.push_back(data.measurement);
  return own;
}

void FitSession::open(const SampleModel& model, FitData data, ProfileEvaluator profile) {
  std::vector<FitData> measurements;
  measurements.push_back(std::move(data));
  open(model, std::move(measurements), std::move(profile));
}

void FitSession::open(const SampleModel& model, std::vector<FitData> measurements,
                      ProfileEvaluator profile, const SpinFlipSettings& guide) {
  if (measurements.empty()) throw std::invalid_argument("a fit needs a measurement");
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  ParameterSet set = CollectParameterSet(model, stack);
  std::vector<Measurement> own;
  for (const FitData& data : measurements) own.push_back(data.measurement);
  AppendMeasurementEntries(set, own);
  MagneticModel magnetic;
  if (HasSpinChannels(own)) magnetic = MagneticModelOf(model, guide);
  AppendMagneticEntries(set, magnetic);
  const std::lock_guard lock(mutex_);
  if (state_ == FitDialogState::Running) {
    throw std::logic_error("the fit dialog cannot open while a fit is running");
  }
  model_ = model;
  data_ = std::move(measurements);
  profile_ = std::move(profile);
  guide_ = guide;
  magnetic_ = std::move(magnetic);
  stack_ = std::move(stack);
  set_ = std::move(set);
  flags_ = VaryFlags(set_.entryCount());
  bounds_.clear();
  links_.clear();
  measurementChiSquares_.clear();
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
  FitParameter& listed = entries_[static_cast<std::size_t>(entry)];
  flags_.toggle(listed.index);
  listed.vary = flags_[listed.index];
  convergedShown_ = false;
  return true;
}

bool FitSession::setBounds(int entry, Bounds bounds) {
  const std::lock_guard lock(mutex_);
  if (state_ != FitDialogState::Idle && state_ != FitDialogState::Failed) return false;
  if (entry < 0 || entry >= static_cast<int>(entries_.size())) {
    throw std::out_of_range("no list entry " + std::to_string(entry));
  }
  if (!(bounds.lower <= bounds.upper)) return false;
  const int index = entries_[static_cast<std::size_t>(entry)].index;
  if (bounds.unbounded()) {
    bounds_.erase(index);
  } else {
    bounds_[index] = bounds;
  }
  return true;
}

EntryLinks FitSession::compileLinksLocked(const std::map<int, std::string>& links) const {
  std::vector<std::string> names(static_cast<std::size_t>(set_.entryCount()));
  const std::vector<Measurement> own = measurementsLocked();
  for (std::size_t e = 0; e < entries_.size(); ++e) {
    const int index = entries_[e].index;
    names[static_cast<std::size_t>(index - 1)] = EntryVariableName(set_, own, index, magnetic_);
  }
  std::vector<EntryLink> compiled;
  for (const auto& [index, expression] : links) compiled.push_back({index, expression});
  return EntryLinks(std::move(compiled), std::move(names));
}

std::string FitSession::setLink(int entry, const std::string& expression) {
  const std::lock_guard lock(mutex_);
  if (state_ != FitDialogState::Idle && state_ != FitDialogState::Failed) return kFitRunningMessage;
  if (entry < 0 || entry >= static_cast<int>(entries_.size())) {
    throw std::out_of_range("no list entry " + std::to_string(entry));
  }
  std::map<int, std::string> links = links_;
  const int index = entries_[static_cast<std::size_t>(entry)].index;
  if (expression.find_first_not_of(' ') == std::string::npos) {
    links.erase(index);
  } else {
    links[index] = expression;
  }
  try {
    compileLinksLocked(links);
  } catch (const LinkError& error) {
    return error.what();
  }
  links_ = std::move(links);
  return {};
}

std::vector<EntrySetup> FitSession::setup() const {
  const std::lock_guard lock(mutex_);
  std::vector<EntrySetup> setup;
  const std::vector<Measurement> own = measurementsLocked();
  for (const FitParameter& entry : entries_) {
    const auto bounds = bounds_.find(entry.index);
    const auto link = links_.find(entry.index);
    if (!entry.vary && bounds == bounds_.end() && link == links_.end()) continue;
    setup.push_back({entry.index, entry.vary,
                     bounds == bounds_.end() ? Bounds{} : bounds->second,
                     link == links_.end() ? std::string() : link->second,
                     FitEntryName(set_, own, entry.index, magnetic_)});
  }
  return setup;
}

std::string FitSession::applySetup(const std::vector<EntrySetup>& setup) {
  std::string refused;
  for (const EntrySetup& item : setup) {
    std::optional<int> entry;
    {
      const std::lock_guard lock(mutex_);
      const std::vector<Measurement> own = measurementsLocked();
      for (std::size_t e = 0; e < entries_.size(); ++e) {
        const int index = entries_[e].index;
        if (item.name.empty() ? index == item.index
                              : FitEntryName(set_, own, index, magnetic_) == item.name) {
          entry = static_cast<int>(e);
        }
      }
    }
    if (!entry) {
      refused += (refused.empty() ? "" : "; ") + std::string("the fit has no entry ") +
                 (item.name.empty() ? std::to_string(item.index) : item.name);
      continue;
    }
    if (item.vary != entries()[static_cast<std::size_t>(*entry)].vary) toggleVary(*entry);
    setBounds(*entry, item.bounds);
    const std::string linkRefusal = item.link.empty() ? std::string() : setLink(*entry, item.link);
    if (!linkRefusal.empty()) refused += (refused.empty() ? "" : "; ") + linkRefusal;
  }
  return refused;
}

DoItResult FitSession::doIt(const FitDialogEvents& events) {
  std::string refusal = start();
  if (!refusal.empty()) return {std::nullopt, std::move(refusal)};
  return runStarted(events);
}

std::string FitSession::refusalLocked(const std::vector<int>& varied) const {
  int points = 0;
  for (const FitData& data : data_) {
    const PointRange range = RegionPoints(data.measured());
    points += range.empty() ? 0 : range.last - range.first + 1;
  }
  if (points == 0) return kEmptyRegionMessage;
  const std::optional<FitMethod> method = iteratingMethodLocked();
  const bool leastSquares = method && *method != FitMethod::RandomSearch;
  if (leastSquares && points <= static_cast<int>(varied.size())) return kFewPointsMessage;
  for (const int index : varied) {
    const auto bounds = bounds_.find(index);
    if (method == FitMethod::DifferentialEvolution &&
        (bounds == bounds_.end() || !bounds->second.finite())) {
      return "differential evolution searches between the bounds of every varied entry: give " +
             FitEntryName(set_, measurementsLocked(), index, magnetic_) + " a lower and an upper bound";
    }
    if (bounds != bounds_.end() && !bounds->second.contains(set_[index])) {
      return "the value of " + FitEntryName(set_, measurementsLocked(), index, magnetic_) +
             " lies outside its bounds: change the value or the bounds";
    }
  }
  return {};
}

std::string FitSession::start() {
  const std::lock_guard lock(mutex_);
  if (state_ == FitDialogState::Running) return kFitRunningMessage;
  if (state_ == FitDialogState::Closed) return kClosedMessage;
  std::vector<int> varied = variedLocked();
  std::string refusal = refusalLocked(varied);
  if (!refusal.empty()) return refusal;
  std::vector<Bounds> bounds = boundsLocked(varied);
  EntryLinks links;
  try {
    links = compileLinksLocked(links_);
  } catch (const LinkError& error) {
    return error.what();
  }
  state_ = FitDialogState::Running;
  control_.clearStop();
  convergedShown_ = false;
  uncertainties_.reset();
  started_ = StartedRun{std::move(varied), std::move(bounds), std::move(links),
                        iteratingMethodLocked()};
  return {};
}

std::vector<int> FitSession::variedLocked() const {
  // A linked entry follows its expression and is not varied.
  std::vector<int> varied;
  for (const int index : flags_.variedIndices()) {
    if (links_.count(index) == 0) varied.push_back(index);
  }
  return varied;
}

std::vector<Bounds> FitSession::boundsLocked(const std::vector<int>& varied) const {
  std::vector<Bounds> bounds;
  for (const int index : varied) {
    const auto found = bounds_.find(index);
    bounds.push_back(found == bounds_.end() ? Bounds{} : found->second);
  }
  return bounds;
}

FitProblem FitSession::problem() const {
  const std::lock_guard lock(mutex_);
  if (state_ == FitDialogState::Running) throw SearchSetupError(kFitRunningMessage);
  if (state_ == FitDialogState::Closed) throw SearchSetupError(kClosedMessage);
  FitProblem problem{model_,         data_, profile_, stack_,    set_,
                     variedLocked(), {},    {},       {},        settings_, magnetic_};
  const std::vector<Measurement> own = measurementsLocked();
  for (const int index : problem.varied) {
    problem.names.push_back(FitEntryName(set_, own, index, magnetic_));
  }
  problem.bounds = boundsLocked(problem.varied);
  try {
    problem.links = compileLinksLocked(links_);
  } catch (const LinkError& error) {
    throw SearchSetupError(error.what());
  }
  return problem;
}

std::optional<FitMethod> FitSession::iteratingMethodLocked() const {
  if (settings_.mode != RunMode::IterateToMinimum) return std::nullopt;
  return settings_.method;
}

std::vector<FitParameter> FitSession::listLocked() const {
  std::vector<FitParameter> entries = FillFitEntries(set_, measurementsLocked(), flags_, magnetic_);
  if (uncertainties_) {
    for (std::size_t c = 0; c < uncertainties_->varied.size(); ++c) {
      for (FitParameter& entry : entries) {
        if (entry.index != uncertainties_->varied[c]) continue;
        entry.label = WithStandardError(entry.label, uncertainties_->standardErrors[c]);
      }
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
  WriteBackMagneticEntries(set_, magnetic_, model_, guide_);
  std::vector<Measurement> own = measurementsLocked();
  WriteBackMeasurementEntries(set_, own);
  for (std::size_t m = 0; m < data_.size(); ++m) data_[m].measurement = std::move(own[m]);
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

std::vector<Measurement> FitSession::measurements() const {
  const std::lock_guard lock(mutex_);
  return measurementsLocked();
}

SpinFlipSettings FitSession::guideField() const {
  const std::lock_guard lock(mutex_);
  return guide_;
}

std::vector<std::optional<double>> FitSession::measurementChiSquares() const {
  const std::lock_guard lock(mutex_);
  return measurementChiSquares_;
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
