#pragma once
// Differential evolution as a fit method: the global search over the bounded box of the varied
// entries, then a Levenberg-Marquardt polish from its best point for the standard errors.

#include <cstdint>

#include "fit/fit_engine.h"
#include "fit/levenberg_marquardt.h"
#include "fit/parameter_set.h"
#include "fit/pooled_objective.h"
#include "fit/residual_objective.h"
#include "fit/run_control.h"

namespace quorrel {

//! Searches with `search` (whose varied entries are request.varied) inside request.bounds,
//! every one finite, then polishes the best point by Levenberg-Marquardt on `polish`. The set is
//! left at the best values, links not yet applied. "&Stop" during the search keeps its best
//! point without a polish; a polish that fails or is stopped leaves the search's best point or
//! the polish's own, whichever is better, without standard errors. The outcome counts the
//! search's chi-square evaluations; FitEvents::step tells each generation. Throws
//! MissingBoundsError for a varied entry without finite bounds.
FitOutcome RunDifferentialEvolutionFit(ParameterSet& set, PooledObjective& search,
                                       ResidualObjective& polish,
                                       const LeastSquaresRequest& request, std::uint64_t seed,
                                       RunControl& control, const FitEvents& events = {});

}  // namespace quorrel
