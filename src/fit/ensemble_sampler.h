#pragma once
// The affine-invariant ensemble sampler with the stretch move (Goodman and Weare 2010): the
// walkers are split into two halves, each moved along lines through walkers of the other half,
// and each half's proposals are evaluated as one batch. The log-probability is -chi-square / 2
// inside uniform priors given by the bounds; a proposal outside them is refused unevaluated.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "fit/batch_objective.h"
#include "fit/entry_bounds.h"
#include "fit/run_control.h"
#include "fit/sample_chain.h"

namespace quorrel {

//! max(32, 8 x values), the walkers of a run that names none.
int DefaultWalkers(int values);

struct EnsembleSamplerOptions {
  //! An even count of at least 2 x values; DefaultWalkers when empty.
  std::optional<int> walkers;
  int burnInSteps = 400;
  int productionSteps = 1000;
  //! Every thinning-th production step is stored.
  int thinning = 1;
  std::uint64_t seed = 0;
  //! The start ball (positive): each walker's value is the start value plus a normal draw of this
  //! standard deviation relative to |value| (to the bounds' width for a value of 0, or an
  //! absolute one when those are infinite too).
  double startBallSize = 1e-3;
  //! The stretch move's scale a: z is drawn from g(z) ~ 1 / sqrt(z) on [1/a, a].
  double stretchScale = 2.0;
};

enum class SamplingEndState {
  Completed,  //!< every production step ran
  Stopped,    //!< a stop or cancel request ended it after a step; the steps so far are kept
};

struct SamplingResult {
  SampleChain chain;
  //! Per walker and overall: the accepted fraction of the production steps run (0 without).
  std::vector<double> walkerAcceptance;
  double acceptance = 0.0;
  int burnInStepsRun = 0;
  int productionStepsRun = 0;
  long long evaluations = 0;
  SamplingEndState state = SamplingEndState::Completed;
};

//! After every step (burn-in and production), on the thread of the run.
struct SamplingProgress {
  int step = 0;        //!< from 1
  int totalSteps = 0;  //!< burn-in and production
  //! The accepted fraction of every move so far, burn-in included.
  double acceptance = 0.0;
  long long evaluations = 0;
};
using SamplingCallback = std::function<void(const SamplingProgress&)>;

//! Samples exp(-chi-square / 2) of `objective` within `bounds` (one per value, either side may
//! be infinite) from walkers around `start` (clamped into the bounds). Throws SearchSetupError
//! for options it cannot run with or when no walker of the start can be evaluated. The same
//! seed gives the same chain.
SamplingResult RunEnsembleSampler(BatchObjective& objective, const std::vector<Bounds>& bounds,
                                  const std::vector<double>& start,
                                  const EnsembleSamplerOptions& options, RunControl& control,
                                  const SamplingCallback& progress = {});

}  // namespace quorrel
