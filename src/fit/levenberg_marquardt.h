#pragma once
// The Levenberg-Marquardt fit: every varied value at once, along the derivatives of the
// residuals, by GSL's trust-region solver with geodesic acceleration; a converged run ends with
// the standard errors of the values.

#include <vector>

#include "fit/entry_bounds.h"
#include "fit/fit_engine.h"
#include "fit/parameter_set.h"
#include "fit/residual_objective.h"
#include "fit/run_control.h"

namespace quorrel {

//! What a least-squares run is asked to do.
struct LeastSquaresRequest {
  //! The indices to vary, in list order.
  std::vector<int> varied;
  //! Display graph: report the curve of every trial.
  bool displayGraph = false;
  //! The residuals are divided by the points' own errors, so the covariance is taken as it is
  //! instead of being scaled by the reduced chi-square.
  bool absoluteErrors = false;
  //! The bounds of each varied entry, in list order, or empty for none. The solver moves
  //! internal variables that map into them (BoundedVariable); the standard errors are those of
  //! the entries themselves.
  std::vector<Bounds> bounds;
};

//! One run on `set`, evaluated through `objective`, which needs more residuals than varied
//! entries. "&Stop" and a cancel end it after the current iteration. The set is left at the
//! values reached, thicknesses and roughnesses as their absolute values, as the model uses
//! them; after a fault, at the values whose evaluation failed. A converged run carries the
//! uncertainties. Throws SolverError when the solver fails for a reason of its own.
FitOutcome RunLevenbergMarquardt(ParameterSet& set, ResidualObjective& objective,
                                 const LeastSquaresRequest& request, RunControl& control,
                                 const FitEvents& events = {});

}  // namespace quorrel
