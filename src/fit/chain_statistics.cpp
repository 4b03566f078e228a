#include "fit/chain_statistics.h"

#include <gsl/gsl_fft_complex.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace quorrel {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
//! A chain shorter than this many autocorrelation times gives unreliable estimates of them.
constexpr double kReliableLength = 50.0;

std::vector<double> ValueSamples(const SampleChain& chain, int value) {
  std::vector<double> samples;
  samples.reserve(static_cast<std::size_t>(chain.sampleCount()));
  for (int s = 0; s < chain.steps; ++s) {
    for (int w = 0; w < chain.walkers; ++w) samples.push_back(chain.value(s, w, value));
  }
  return samples;
}

std::size_t PowerOfTwoAtLeast(std::size_t n) {
  std::size_t p = 1;
  while (p < n) p *= 2;
  return p;
}

//! Adds the power spectrum of one walker's series, padded to twice its length so that no lag
//! wraps, divided by its sum: the inverse transform of the sum is then the sum of the walkers'
//! autocorrelation functions, each 1 at lag 0. Returns false for a series without variance.
bool AddNormalisedSpectrum(const std::vector<double>& series, std::vector<double>& packed,
                           std::vector<double>& spectrum) {
  double mean = 0.0;
  for (const double x : series) mean += x;
  mean /= static_cast<double>(series.size());
  std::fill(packed.begin(), packed.end(), 0.0);
  for (std::size_t t = 0; t < series.size(); ++t) packed[2 * t] = series[t] - mean;
  const std::size_t length = spectrum.size();
  gsl_fft_complex_radix2_forward(packed.data(), 1, length);
  double total = 0.0;
  for (std::size_t f = 0; f < length; ++f) {
    packed[2 * f] = packed[2 * f] * packed[2 * f] + packed[2 * f + 1] * packed[2 * f + 1];
    total += packed[2 * f];
  }
  if (!(total > 0.0)) return false;
  for (std::size_t f = 0; f < length; ++f) spectrum[f] += packed[2 * f] / total;
  return true;
}

std::vector<double> CorrelationMatrix(const SampleChain& chain) {
  const std::size_t values = static_cast<std::size_t>(chain.values);
  if (chain.sampleCount() == 0) return std::vector<double>(values * values, kNaN);
  // Deviations from the first sample, so that a value that never changed has none at all.
  const auto first = chain.point(0, 0);
  std::vector<double> mean(values, 0.0);
  for (int s = 0; s < chain.steps; ++s) {
    for (int w = 0; w < chain.walkers; ++w) {
      for (std::size_t a = 0; a < values; ++a) mean[a] += chain.value(s, w, a) - first[a];
    }
  }
  for (double& m : mean) m /= chain.sampleCount();
  std::vector<double> covariance(values * values, 0.0);
  std::vector<double> deviation(values);
  for (int s = 0; s < chain.steps; ++s) {
    for (int w = 0; w < chain.walkers; ++w) {
      const auto point = chain.point(s, w);
      for (std::size_t a = 0; a < values; ++a) deviation[a] = point[a] - first[a] - mean[a];
      for (std::size_t a = 0; a < values; ++a) {
        for (std::size_t b = 0; b < values; ++b) {
          covariance[a * values + b] += deviation[a] * deviation[b];
        }
      }
    }
  }
  std::vector<double> correlations(values * values);
  for (std::size_t a = 0; a < values; ++a) {
    for (std::size_t b = 0; b < values; ++b) {
      correlations[a * values + b] =
          covariance[a * values + b] /
          std::sqrt(covariance[a * values + a] * covariance[b * values + b]);
    }
  }
  return correlations;
}

//! `value` rounded to a multiple of 10^-decimals, written with max(decimals, 0) decimals.
std::string Fixed(double value, int decimals, char separator) {
  if (decimals < 0) {
    const double unit = std::pow(10.0, -decimals);
    value = std::round(value / unit) * unit;
  }
  char buffer[400];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                 std::max(decimals, 0))
                       .ptr;
  std::string text(buffer, end);
  // A small negative value rounded to zero is shown as zero, not "-0.00".
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

}  // namespace

bool ChainStatistics::chainTooShort() const {
  return std::any_of(values.begin(), values.end(),
                     [](const ValueSummary& v) { return v.chainTooShort; });
}

double Percentile(const std::vector<double>& samples, double fraction) {
  if (samples.empty()) return kNaN;
  const double position = fraction * static_cast<double>(samples.size() - 1);
  const std::size_t below = static_cast<std::size_t>(std::floor(position));
  const std::size_t above = std::min(below + 1, samples.size() - 1);
  return samples[below] +
         (position - static_cast<double>(below)) * (samples[above] - samples[below]);
}

double IntegratedAutocorrelationTime(const SampleChain& chain, int value, double window) {
  if (chain.steps == 0 || chain.walkers == 0) return kNaN;
  const std::size_t steps = static_cast<std::size_t>(chain.steps);
  const std::size_t length = PowerOfTwoAtLeast(2 * steps);
  std::vector<double> spectrum(length, 0.0);
  std::vector<double> packed(2 * length);
  std::vector<double> series(steps);
  int still = 0;
  for (int w = 0; w < chain.walkers; ++w) {
    for (std::size_t s = 0; s < steps; ++s) series[s] = chain.value(static_cast<int>(s), w, value);
    if (!AddNormalisedSpectrum(series, packed, spectrum)) ++still;
  }
  for (std::size_t f = 0; f < length; ++f) {
    packed[2 * f] = spectrum[f];
    packed[2 * f + 1] = 0.0;
  }
  gsl_fft_complex_radix2_backward(packed.data(), 1, length);
  // The unscaled inverse sums the moving walkers' functions; each still walker adds 1 a lag.
  double tau = 0.0;
  for (std::size_t lag = 0; lag < steps; ++lag) {
    const double average = (packed[2 * lag] + still) / chain.walkers;
    tau += (lag == 0 ? 1.0 : 2.0) * average;
    if (static_cast<double>(lag) >= window * tau) return tau;
  }
  return tau;
}

ChainStatistics SummariseChain(const SampleChain& chain) {
  ChainStatistics statistics;
  for (int v = 0; v < chain.values; ++v) {
    std::vector<double> samples = ValueSamples(chain, v);
    std::sort(samples.begin(), samples.end());
    ValueSummary summary;
    summary.median = Percentile(samples, 0.5);
    summary.lower68 = Percentile(samples, 0.1587);
    summary.upper68 = Percentile(samples, 0.8413);
    summary.lower95 = Percentile(samples, 0.025);
    summary.upper95 = Percentile(samples, 0.975);
    summary.autocorrelationTime = IntegratedAutocorrelationTime(chain, v);
    summary.effectiveSamples =
        chain.sampleCount() > 0 ? chain.sampleCount() / summary.autocorrelationTime : 0.0;
    summary.chainTooShort = !(chain.steps >= kReliableLength * summary.autocorrelationTime);
    statistics.values.push_back(summary);
  }
  statistics.correlations = CorrelationMatrix(chain);
  return statistics;
}

std::string FormatMedianWithErrors(double median, double minus, double plus, char separator) {
  double smaller = std::min(minus, plus);
  if (!(smaller > 0.0 && std::isfinite(smaller))) smaller = std::max(minus, plus);
  int decimals = 0;
  if (smaller > 0.0 && std::isfinite(smaller)) {
    const int exponent = static_cast<int>(std::floor(std::log10(smaller)));
    decimals = 1 - exponent;
    // 0.0996 rounds to 0.100 at its second digit: one digit fewer keeps two.
    if (std::round(smaller * std::pow(10.0, decimals)) >= 100.0) --decimals;
  }
  decimals = std::min(decimals, 40);  // room in Fixed's buffer for any double
  return Fixed(median, decimals, separator) + " +" + Fixed(plus, decimals, separator) + " -" +
         Fixed(minus, decimals, separator);
}

}  // namespace quorrel
