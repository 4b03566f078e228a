#include "shell/sampling_session.h"

#include <chrono>
#include <utility>

#include "fit/given_errors.h"
#include "fit/pooled_objective.h"
#include "fit/search_errors.h"
#include "fit/symmetry_ties.h"

namespace quorrel {

namespace {

// Fewer stored steps than this many autocorrelation times leave the estimates untrustworthy.
constexpr int kTrustedTaus = 50;

}  // namespace

ParameterSet SampledPosterior::setOf(int step, int walker) const {
  ParameterSet set = problem.set;
  const std::span<const double> point = result.chain.point(step, walker);
  for (std::size_t j = 0; j < problem.varied.size(); ++j) {
    SetTiedValue(set, problem.varied[j], point[j]);
  }
  problem.links.apply(set);
  return set;
}

std::string SamplingRefusal(const FitProblem& problem) {
  if (problem.varied.empty()) return "tick the entries whose posterior to sample";
  for (std::size_t j = 0; j < problem.varied.size(); ++j) {
    if (!problem.bounds[j].finite()) {
      return "sampling draws every value from a uniform prior between its bounds: give " +
             problem.names[j] + " a lower and an upper bound";
    }
    if (!problem.bounds[j].contains(problem.set[problem.varied[j]])) {
      return "the value of " + problem.names[j] +
             " lies outside its bounds: change the value or the bounds";
    }
  }
  return MissingErrorsRefusal(problem.data);
}

std::string MedianText(const ValueSummary& summary, char separator) {
  return FormatMedianWithErrors(summary.median, summary.median - summary.lower68,
                                summary.upper68 - summary.median, separator);
}

std::string ChainLengthWarning(const SampledPosterior& posterior) {
  std::string names;
  for (std::size_t j = 0; j < posterior.statistics.values.size(); ++j) {
    if (!posterior.statistics.values[j].chainTooShort) continue;
    names += (names.empty() ? "" : ", ") + posterior.problem.names[j];
  }
  if (names.empty()) return {};
  return "the chain holds fewer than " + std::to_string(kTrustedTaus) +
         " autocorrelation times of " + names + ": run more steps before trusting the figures";
}

void SamplingSession::begin() { control_.clear(); }

void SamplingSession::stop() { control_.requestStop(); }

SampledPosterior SamplingSession::run(FitProblem problem, const SamplingSettings& settings,
                                      const SamplingReportCallback& report,
                                      fast::ComputePool& pool) {
  const std::string refusal = SamplingRefusal(problem);
  if (!refusal.empty()) throw SearchSetupError(refusal);
  // The log-likelihood -chi-square / 2 is the one of the measured errors, whatever the fit's
  // weighting.
  const ChiSquareOptions options{Weighting::GivenErrors,
                                 problem.settings.includeResolution,
                                 problem.settings.includeBackground,
                                 KernelKind::Fast,
                                 SmearingKernel::Standard,
                                 fast::Threading::CallingThread};
  PooledObjective objective(JointObjectiveFactory(problem.set, problem.stack, problem.data,
                                                  options, problem.links, problem.model,
                                                  problem.profile, problem.magnetic),
                            problem.set, problem.varied, pool);
  std::vector<double> start;
  for (const int index : problem.varied) start.push_back(problem.set[index]);

  using Clock = std::chrono::steady_clock;
  const Clock::time_point started = Clock::now();
  const auto seconds = [started] {
    return std::chrono::duration<double>(Clock::now() - started).count();
  };
  SamplingResult result = RunEnsembleSampler(
      objective, problem.bounds, start, settings, control_,
      [&report, &seconds](const SamplingProgress& progress) {
        if (!report) return;
        const double elapsed = seconds();
        const double perStep = elapsed / progress.step;
        report({progress.step, progress.totalSteps, progress.acceptance, progress.evaluations,
                elapsed, perStep * (progress.totalSteps - progress.step)});
      });
  SampledPosterior posterior{std::move(problem), settings, result.chain.walkers,
                             std::move(result), {}, seconds()};
  posterior.statistics = SummariseChain(posterior.result.chain);
  return posterior;
}

}  // namespace quorrel
