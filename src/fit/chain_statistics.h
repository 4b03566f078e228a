#pragma once
// What a sampled chain says about each value: its median and credible intervals, the
// correlations, and how many independent samples the chain is worth.

#include <string>
#include <vector>

#include "fit/sample_chain.h"

namespace quorrel {

//! The chain's marginal of one value, over every stored sample of every walker.
struct ValueSummary {
  double median = 0.0;
  //! The 15.87 % and 84.13 % percentiles: one standard deviation of a Gaussian either side.
  double lower68 = 0.0;
  double upper68 = 0.0;
  //! The 2.5 % and 97.5 % percentiles.
  double lower95 = 0.0;
  double upper95 = 0.0;
  //! The integrated autocorrelation time in stored steps.
  double autocorrelationTime = 0.0;
  //! Every stored sample / the autocorrelation time.
  double effectiveSamples = 0.0;
  //! Fewer stored steps than 50 autocorrelation times: the estimates are not to be trusted.
  bool chainTooShort = false;
};

struct ChainStatistics {
  std::vector<ValueSummary> values;
  //! values x values, row-major; NaN beside a value that never changed.
  std::vector<double> correlations;

  double correlation(int a, int b) const {
    return correlations[static_cast<std::size_t>(a) * values.size() + b];
  }
  bool chainTooShort() const;
};

//! The summary of every value of `chain`. A chain without samples gives NaN figures, no
//! effective samples and the too-short flag.
ChainStatistics SummariseChain(const SampleChain& chain);

//! The `fraction` percentile of `samples` in ascending order, interpolated linearly between
//! the neighbouring order statistics.
double Percentile(const std::vector<double>& samples, double fraction);

//! The integrated autocorrelation time of value `value` in stored steps: the normalised
//! autocorrelation functions of the walkers averaged, summed as 2 * sum - 1 up to the first lag
//! M with M >= window * tau(M) (Sokal's window). A walker that never moved counts as fully
//! correlated.
double IntegratedAutocorrelationTime(const SampleChain& chain, int value, double window = 5.0);

//! "70.02 +0.31 -0.28": the median and its distances to the upper and lower percentiles, all
//! rounded to the place of the second significant digit of the smaller distance.
std::string FormatMedianWithErrors(double median, double minus, double plus, char separator);

}  // namespace quorrel
