#include "fit/chi_square.h"

#include <cmath>

#include "common/error.h"

namespace quorrel {

namespace {

//! The index before the first point whose Qz exceeds `bound` (N when none does).
int WalkTo(const MeasuredData& data, double bound) {
  int i = 1;
  while (i <= data.count() && data.qz[static_cast<std::size_t>(i - 1)] <= bound) ++i;
  return i - 1;
}

//! Value i - 1 of `values`, or 0 where it was never computed.
double PointValue(std::span<const double> values, int i) {
  const auto at = static_cast<std::size_t>(i - 1);
  return at < values.size() ? values[at] : 0.0;
}

//! The term of one point; nullopt where it is an arithmetic fault.
std::optional<double> Term(Weighting weighting, double r, double dr, double fit) {
  double term = 0.0;
  switch (weighting) {
    case Weighting::GivenErrors:
      if (dr == 0.0) return std::nullopt;
      term = (r - fit) / dr;
      break;
    case Weighting::Statistical:
      if (r == 0.0) return std::nullopt;
      term = (r - fit) / r;
      break;
    case Weighting::None:
      term = r - fit;
      break;
    case Weighting::Logarithmic:
      if (!(r > 0.0) || !(fit > 0.0)) return std::nullopt;
      term = std::log(r) / std::log(10.0) - std::log(fit) / std::log(10.0);
      break;
  }
  term *= term;
  if (!std::isfinite(term)) return std::nullopt;
  return term;
}

}  // namespace

PointRange RegionPoints(const MeasuredData& data) {
  if (data.fitRegionLow == -1.0 && data.fitRegionHigh == -1.0) return {1, data.count()};
  const int first = WalkTo(data, data.fitRegionLow);
  return {first < 1 ? 1 : first, WalkTo(data, data.fitRegionHigh)};
}

ChiSquareEvaluator::ChiSquareEvaluator(const MeasuredData& data,
                                       std::span<const double> pointResolution,
                                       std::span<const double> pointBackground, PointRange range,
                                       ChiSquareOptions options)
    : range_(range), options_(options) {
  if (!range.empty() && (range.first < 1 || range.last > data.count())) {
    throw std::out_of_range("the fitting region lies outside the measured points");
  }
  for (int i = range.first; i <= range.last; ++i) {
    const auto at = static_cast<std::size_t>(i - 1);
    qz_.push_back(data.qz[at]);
    r_.push_back(data.r[at]);
    dr_.push_back(data.dr[at]);
    resolution_.push_back(PointValue(pointResolution, i));
    background_.push_back(PointValue(pointBackground, i));
  }
  fit_.resize(qz_.size());
}

bool ChiSquareEvaluator::calculatePoints(const LayerStack& stack) {
  const PointOptions point{options_.includeResolution, options_.includeBackground,
                           options_.smearing};
  try {
    PointReflectivityBatch(stack, point, background_, resolution_, qz_, fit_, options_.kernel);
  } catch (const ArithmeticFault&) {
    return false;
  }
  return true;
}

std::optional<double> ChiSquareEvaluator::evaluate(const LayerStack& stack) {
  curve_ = ReflCurve();
  if (range_.empty()) return 0.0;
  if (!calculatePoints(stack)) return std::nullopt;
  double sum = 0.0;
  for (std::size_t i = 0; i < qz_.size(); ++i) {
    const std::optional<double> term = Term(options_.weighting, r_[i], dr_[i], fit_[i]);
    if (!term) return std::nullopt;
    sum += *term;
    curve_.append(qz_[i], fit_[i]);
  }
  // Points minus one: a region of one point has no degree of freedom and fails.
  const int divisor = range_.last - range_.first;
  if (divisor == 0 || !std::isfinite(sum)) return std::nullopt;
  return sum / divisor;
}

std::optional<ReflCurve> ChiSquareEvaluator::calculate(const LayerStack& stack) {
  ReflCurve curve;
  if (range_.empty()) return curve;
  if (!calculatePoints(stack)) return std::nullopt;
  for (std::size_t i = 0; i < qz_.size(); ++i) curve.append(qz_[i], fit_[i]);
  return curve;
}

}  // namespace quorrel
