#pragma once
// The randomised coordinate search that minimises chi-square: one varied parameter at a time,
// picked at random, searched by growing and reversing steps until its change falls below the
// tolerance, until a full cycle of searches brings no improvement.

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "calc/curves.h"
#include "fit/entry_bounds.h"
#include "fit/fit_objective.h"
#include "fit/fit_uncertainties.h"
#include "fit/parameter_set.h"
#include "fit/run_control.h"

namespace quorrel {

enum class RunMode {
  CalculateChiSquare,  //!< "calculate chi ²": one evaluation
  IterateToMinimum,    //!< "iterate to minimum"
};

//! How a run ended.
enum class FitEndState {
  Calculated,      //!< the chi-square was calculated once
  Converged,       //!< every varied parameter had a search without improvement
  BelowTolerance,  //!< the best chi-square fell below the tolerance
  Stopped,         //!< stopped or cancelled; the values reached are applied
  Failed,          //!< an evaluation met an arithmetic fault; the values are not applied
  IterationLimit,  //!< least squares only: the most iterations ran; the values are applied
};

struct FitOutcome {
  FitEndState state = FitEndState::Calculated;
  //! The chi-square the dialog shows: the evaluated one, or the best of the last search
  //! (the current values' when no search took place). 0 after a failure.
  double chiSquare = 0.0;
  //! Chi-square evaluations of the run. A FitSession reports every model curve it calculated
  //! over the region instead: the redrawn fit curves and the columns of derivatives included.
  long long evaluations = 0;
  int iterations = 0;
  //! kOutOfBoundsMessage for a failed run, otherwise empty.
  std::string message;
  //! After a converged least-squares run: the standard errors of the varied values and more.
  std::optional<FitUncertainties> uncertainties;
};

//! How a run of either method ended, with the message of a failed one.
FitOutcome EndedRun(FitEndState state, double chiSquare, long long evaluations, int iterations);

//! What a run reports while it goes, called on the thread that runs it. Any may be empty.
struct FitEvents {
  //! A trial of a search starts: the status text "index : counter".
  std::function<void(int index, int counter)> trial;
  //! Display graph only: every evaluation's chi-square and calculated points.
  std::function<void(double chiSquare, const ReflCurve& curve)> evaluated;
  //! The values changed: after every trial with display graph, after every iteration.
  std::function<void(const ParameterSet& set)> parametersChanged;
  //! A least-squares iteration starts: the status text "iteration n".
  std::function<void(int iteration)> step;
  //! An iteration ended: its best chi-square and the fit curve of the current values (empty
  //! when the values cannot be calculated).
  std::function<void(double chiSquare, const ReflCurve& curve)> iterated;
};

//! What a run is asked to do.
struct FitRequest {
  RunMode mode = RunMode::IterateToMinimum;
  //! The indices to vary, in list order.
  std::vector<int> varied;
  //! Display graph: report every evaluation and every trial's values.
  bool displayGraph = false;
  //! The bounds of each varied entry, in list order, or empty for none: a trial beyond a
  //! bound is placed on it.
  std::vector<Bounds> bounds;
};

//! Runs fits in the calling thread. Holds only its random generator; everything else is the
//! caller's, so that several engines can run at once.
class FitEngine {
 public:
  //! Seeded from the clock.
  FitEngine();
  explicit FitEngine(std::uint64_t seed);

  //! One run of "&do it" on `set`, evaluated through `objective`. The set is left at the
  //! values reached (the failing trial's after a failure) and, unless the run failed, applied.
  FitOutcome run(ParameterSet& set, FitObjective& objective, const FitRequest& request,
                 RunControl& control, const FitEvents& events = {});

 private:
  std::mt19937_64 random_;
};

}  // namespace quorrel
