#pragma once
// The fit dialog's run control: what its handlers do and which controls they enable, without
// the widgets. A window wires its controls to one session that lives as long as the program.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "calc/curves.h"
#include "fit/chi_square.h"
#include "fit/entry_links.h"
#include "fit/entry_setup.h"
#include "fit/fit_data.h"
#include "fit/fit_engine.h"
#include "fit/magnetic_entries.h"
#include "fit/parameter_labels.h"
#include "fit/parameter_set.h"
#include "fit/run_control.h"
#include "fit/vary_flags.h"
#include "model/sample_model.h"
#include "physics/layer_stack.h"

namespace quorrel {

//! The refusal of a second run while one goes.
inline constexpr const char* kFitRunningMessage = "a fit is already running";

enum class FitDialogState {
  Closed,   //!< not shown
  Idle,     //!< shown, no run
  Running,  //!< "&do it" is running
  Failed,   //!< idle after a failed run: "&OK" disabled
};

//! How the dialog was closed.
enum class DialogResult { None, Ok, Cancel };

//! What the window shows while a run goes; called on the thread that runs "&do it".
struct FitDialogEvents {
  std::function<void(const std::string& text)> statusText;     //!< status bar panel 0
  std::function<void(const std::string& text)> chiSquareText;  //!< lblChisq
  std::function<void(const ReflCurve& curve)> fitCurve;        //!< reflectivity series slot 1
  std::function<void(const std::vector<FitParameter>& entries)> parameterList;
};

//! What "&do it" did: refused with a message, or ran to an outcome.
struct DoItResult {
  std::optional<FitOutcome> outcome;
  std::string refusal;
};

//! What a posterior sampling of the open dialog runs on: copies of the fit's inputs at the
//! current values, the entries ticked and not linked, their bounds and the compiled links.
struct FitProblem {
  SampleModel model;
  std::vector<FitData> data;
  ProfileEvaluator profile;
  LayerStack stack;
  ParameterSet set;
  std::vector<int> varied;         //!< set indices, in list order
  std::vector<std::string> names;  //!< of the varied entries, as the list names them
  std::vector<Bounds> bounds;      //!< of the varied entries, unbounded where none is set
  EntryLinks links;
  FitSettings settings;
  MagneticModel magnetic;  //!< the set's last entries when a measurement has a spin channel
};

//! The dialog's state machine. Every member may be called from any thread; "&do it" runs the
//! fit in the calling thread, so a window runs it on a worker and calls stop(), cancel() and
//! ok() from its own.
class FitSession {
 public:
  //! The random generators seeded from the clock, or with `seed`.
  FitSession();
  explicit FitSession(std::uint64_t seed);

  //! Opening: builds the stack with spin state 0, collects the set, recreates the vary flags
  //! all false, fills the list, hides the converged label and enables "&OK". `profile`
  //! evaluates the analytical profile function; without it the model's own function is used.
  //! Throws what the stack build throws; refuses while a run goes.
  void open(const SampleModel& model, FitData data, ProfileEvaluator profile = {});
  //! Opening for several measurements fitted together: after the model's entries the list
  //! holds each measurement's (measurement_entries.h). Needs at least one measurement. When a
  //! measurement has a spin channel, the magnetisation's entries in the guide field `guide`
  //! follow (magnetic_entries.h).
  void open(const SampleModel& model, std::vector<FitData> measurements,
            ProfileEvaluator profile = {}, const SpinFlipSettings& guide = {});

  // Options.
  FitSettings settings() const;
  void setRunMode(RunMode mode);
  void setMethod(FitMethod method);
  //! The tolerance field is enabled only when iterating to the minimum by the random search;
  //! Levenberg-Marquardt ends by its own tests.
  bool toleranceEnabled() const;
  //! Accepts 1e-37 .. 1.0 and returns false for anything else; a running fit reads it anew.
  bool setTolerance(double tolerance);
  void setWeighting(Weighting weighting);
  void setIncludeResolution(bool on);
  void setIncludeBackground(bool on);
  void setDisplayGraph(bool on);

  // The list.
  std::vector<FitParameter> entries() const;
  //! Inverts the vary flag of list entry `entry` (from 0) and hides the converged label;
  //! false while the list is disabled.
  bool toggleVary(int entry);

  //! Bounds of list entry `entry` (from 0); false while the list is disabled or when the
  //! lower bound exceeds the upper.
  bool setBounds(int entry, Bounds bounds);
  //! Links list entry `entry` to `expression` ("" removes the link). Returns why the links
  //! cannot be compiled (naming the entry), leaving them as they were, or "" when accepted.
  std::string setLink(int entry, const std::string& expression);
  //! Check marks, bounds and links of every entry that has any, by set index.
  std::vector<EntrySetup> setup() const;
  //! Takes a setup saved with a project; entries the list does not hold are refused by name
  //! in the returned message (the others are taken).
  std::string applySetup(const std::vector<EntrySetup>& setup);

  // Run control.
  //! "&do it". Refused while a run goes, when the dialog is closed, when the fitting region
  //! holds no measured point, and for Levenberg-Marquardt when it holds no more points than
  //! there are varied entries.
  DoItResult doIt(const FitDialogEvents& events = {});
  //! "&do it" in two halves for a window that runs the fit on a worker. start(), on the
  //! window's thread, refuses as doIt() does (the message) or marks the run as going, so that
  //! a "&Stop" pressed at once already reaches it; runStarted() then runs it on the worker.
  std::string start();
  DoItResult runStarted(const FitDialogEvents& events = {});
  //! The fit's inputs for a sampling run. Throws SearchSetupError with the refusal while a run
  //! goes, when the dialog is closed or when the links do not compile.
  FitProblem problem() const;

  //! "&Stop".
  void stop();
  //! "&Cancel" or the close box: closes without write-back; during a run, once it ended.
  void cancel();
  //! "&OK": closes with write-back; during a run, once it ended. Refused (false) while
  //! "&OK" is disabled, and the write-back is refused when the run it waited for failed.
  bool ok();

  // What the dialog shows.
  FitDialogState state() const;
  bool okEnabled() const;
  bool stopEnabled() const;
  bool listEnabled() const;
  std::string chiSquareText() const;
  //! The chi-square of the last run as a number; nothing before the first run.
  std::optional<double> chiSquare() const;
  bool convergedShown() const;
  std::string statusText() const;
  DialogResult result() const;
  //! The current values of the set.
  ParameterSet parameters() const;
  //! Those of the last run when it was a converged Levenberg-Marquardt fit; the list then
  //! shows each varied value with "± error". Cleared when a run starts or the dialog opens.
  std::optional<FitUncertainties> uncertainties() const;

  //! The model as the dialog was opened with, and after "&OK" with the fitted values written
  //! back. The caller then resets the fitting region and recalculates.
  SampleModel model() const;

  //! The measurements as opened, and after "&OK" with their fitted entries written back.
  std::vector<Measurement> measurements() const;
  //! The guide field as opened, and after "&OK" with a fitted AGUIDE.
  SpinFlipSettings guideField() const;
  //! Each measurement's own chi-square at the values of the last run (nullopt where it
  //! cannot be formed); empty before the first run.
  std::vector<std::optional<double>> measurementChiSquares() const;

  //! Set when the dialog is closed with "&OK"; cleared when a measured data file is loaded.
  bool fitAccepted() const;
  void clearFitAccepted();

 private:
  void acceptLocked();
  void finishRunLocked(const FitOutcome& outcome);
  FitEvents engineEvents(const FitDialogEvents& events);
  //! The list of the current values, with their standard errors when there are any.
  std::vector<FitParameter> listLocked() const;
  std::vector<Measurement> measurementsLocked() const;

  //! What start() decided for the run that runStarted() carries out.
  struct StartedRun {
    std::vector<int> varied;
    std::vector<Bounds> bounds;
    EntryLinks links;
    //! Iterating to the minimum by the method; nothing when calculating the chi-square once.
    std::optional<FitMethod> method;
  };
  //! The compiled links of `links` (by set index) over the current list; throws LinkError.
  EntryLinks compileLinksLocked(const std::map<int, std::string>& links) const;
  //! The ticked entries that are not linked, in list order.
  std::vector<int> variedLocked() const;
  std::vector<Bounds> boundsLocked(const std::vector<int>& varied) const;
  //! Why the run cannot start, or "".
  std::string refusalLocked(const std::vector<int>& varied) const;
  //! The run's method when it iterates to the minimum.
  std::optional<FitMethod> iteratingMethodLocked() const;

  mutable std::mutex mutex_;
  std::optional<StartedRun> started_;
  std::uint64_t seed_;  // of every differential evolution
  FitEngine engine_;
  RunControl control_;
  FitSettings settings_;
  FitDialogState state_ = FitDialogState::Closed;
  DialogResult result_ = DialogResult::None;
  bool okEnabled_ = true;
  bool okPending_ = false;
  bool cancelPending_ = false;
  bool convergedShown_ = false;
  bool fitAccepted_ = false;
  std::string chiSquareText_ = "0";
  std::optional<double> chiSquare_;
  std::string statusText_;

  SampleModel model_;
  std::vector<FitData> data_;
  ProfileEvaluator profile_;
  SpinFlipSettings guide_;
  MagneticModel magnetic_;
  LayerStack stack_;
  ParameterSet set_;
  VaryFlags flags_;
  std::vector<FitParameter> entries_;
  std::map<int, Bounds> bounds_;      // by set index
  std::map<int, std::string> links_;  // by set index
  std::vector<std::optional<double>> measurementChiSquares_;
  std::optional<FitUncertainties> uncertainties_;
};

}  // namespace quorrel
