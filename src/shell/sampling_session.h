#pragma once
// Posterior sampling of the open fit: the ensemble sampler over the fit's measurements and
// varied entries, with uniform priors between their bounds, its progress with an estimated
// end, a stop that keeps the samples so far, and the chain's summary. Qt-free: the window runs
// it on a worker, quorrel-cli on its own thread.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fit/chain_statistics.h"
#include "fit/ensemble_sampler.h"
#include "fit/run_control.h"
#include "physics/fast/compute_pool.h"
#include "shell/fit_session.h"

namespace quorrel {

//! The options of a run, as the dialog and quorrel-cli sample take them.
using SamplingSettings = EnsembleSamplerOptions;

//! After every step, on the thread of the run.
struct SamplingReport {
  int step = 0;
  int totalSteps = 0;
  double acceptance = 0.0;
  long long evaluations = 0;
  double elapsedSeconds = 0.0;
  //! From the mean time per step so far.
  double remainingSeconds = 0.0;
};
using SamplingReportCallback = std::function<void(const SamplingReport&)>;

//! A finished (or stopped) run: the chain of the varied entries and what it says.
struct SampledPosterior {
  FitProblem problem;
  SamplingSettings settings;
  int walkers = 0;
  SamplingResult result;
  ChainStatistics statistics;
  double seconds = 0.0;
  //! The set of one stored sample of the chain, links applied.
  ParameterSet setOf(int step, int walker) const;
};

//! Why `problem` cannot be sampled, or "": nothing varied, an entry without finite bounds,
//! a value outside its bounds, or a measurement without errors.
std::string SamplingRefusal(const FitProblem& problem);

//! "70.02 +0.31 -0.28" of every varied entry, as the summary table and quorrel-cli show it.
std::string MedianText(const ValueSummary& summary, char separator);

//! "the chain holds fewer than 50 autocorrelation times of d_1, sigma_1: run more steps" when
//! a value's estimates are not to be trusted, otherwise "".
std::string ChainLengthWarning(const SampledPosterior& posterior);

//! One sampling run at a time; stop() may be called from any thread.
class SamplingSession {
 public:
  //! Clears an earlier stop; a window calls it before handing run() to its worker, so that
  //! a Stop pressed at once already reaches the run.
  void begin();
  //! Samples `problem` in the calling thread, its curves spread over `pool`. Throws
  //! SearchSetupError with SamplingRefusal's message or the sampler's.
  SampledPosterior run(FitProblem problem, const SamplingSettings& settings,
                       const SamplingReportCallback& report = {},
                       fast::ComputePool& pool = fast::ComputePool::Shared());
  //! Ends the run after its current step; the steps so far are kept.
  void stop();

 private:
  RunControl control_;
};

}  // namespace quorrel
