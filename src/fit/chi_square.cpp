#include "fit/chi_square.h"

#include <cmath>
#include <stdexcept>

#include "common/error.h"
#include "physics/spin_flip_point.h"

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

//! The residual of one point, the root of its term with its sign; nullopt where forming the
//! residual or its square is an arithmetic fault.
std::optional<double> Residual(Weighting weighting, double r, double dr, double fit) {
  double residual = 0.0;
  switch (weighting) {
    case Weighting::GivenErrors:
      if (dr == 0.0) return std::nullopt;
      residual = (r - fit) / dr;
      break;
    case Weighting::Statistical:
      if (r == 0.0) return std::nullopt;
      residual = (r - fit) / r;
      break;
    case Weighting::None:
      residual = r - fit;
      break;
    case Weighting::Logarithmic:
      if (!(r > 0.0) || !(fit > 0.0)) return std::nullopt;
      residual = std::log(r) / std::log(10.0) - std::log(fit) / std::log(10.0);
      break;
  }
  if (!std::isfinite(residual * residual)) return std::nullopt;
  return residual;
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
}

bool ChiSquareEvaluator::calculatePoints(std::span<const LayerStack* const> stacks) {
  const PointOptions point{options_.includeResolution, options_.includeBackground,
                           options_.smearing};
  const std::size_t n = qz_.size();
  fit_.resize(stacks.size() * n);
  std::vector<std::span<double>> out;
  for (std::size_t k = 0; k < stacks.size(); ++k) out.emplace_back(fit_.data() + k * n, n);
  curvesCalculated_ += static_cast<long long>(stacks.size());
  try {
    PointReflectivityBatch(stacks, point, background_, resolution_, qz_, out, options_.kernel,
                           options_.threading);
  } catch (const ArithmeticFault&) {
    return false;
  }
  return true;
}

bool ChiSquareEvaluator::spinFlipPoints(std::span<const SpinFlipStack* const> stacks,
                                        std::vector<SpinReflectances>& values) {
  const PointOptions point{options_.includeResolution, options_.includeBackground,
                           options_.smearing};
  const std::size_t n = qz_.size();
  values.resize(stacks.size() * n);
  try {
    for (std::size_t k = 0; k < stacks.size(); ++k) {
      SpinFlipPointBatch(*stacks[k], point, background_, resolution_, qz_,
                         std::span(values).subspan(k * n, n), options_.kernel, options_.threading);
    }
  } catch (const ArithmeticFault&) {
    return false;
  }
  return true;
}

bool ChiSquareEvaluator::samePoints(const ChiSquareEvaluator& other) const {
  const ChiSquareOptions& a = options_;
  const ChiSquareOptions& b = other.options_;
  return qz_ == other.qz_ && resolution_ == other.resolution_ &&
         background_ == other.background_ && a.includeResolution == b.includeResolution &&
         a.includeBackground == b.includeBackground && a.kernel == b.kernel &&
         a.smearing == b.smearing;
}

std::optional<double> ChiSquareEvaluator::evaluate(const LayerStack& stack) {
  const LayerStack* const stacks[] = {&stack};
  residuals_.resize(qz_.size());
  if (!residuals(stacks, residuals_)) return std::nullopt;
  return chiSquareOf(residuals_);
}

std::optional<ReflCurve> ChiSquareEvaluator::calculate(const LayerStack& stack) {
  ReflCurve curve;
  if (range_.empty()) return curve;
  const LayerStack* const stacks[] = {&stack};
  if (!calculatePoints(stacks)) return std::nullopt;
  for (std::size_t i = 0; i < qz_.size(); ++i) curve.append(qz_[i], fit_[i]);
  return curve;
}

bool ChiSquareEvaluator::residuals(std::span<const LayerStack* const> stacks,
                                   std::span<double> out) {
  return residuals(stacks, {}, out);
}

bool ChiSquareEvaluator::residuals(std::span<const LayerStack* const> stacks,
                                   std::span<const CurveScaling> scalings, std::span<double> out) {
  const std::size_t n = qz_.size();
  if (out.size() != stacks.size() * n) throw std::invalid_argument("residual sizes differ");
  if (!scalings.empty() && scalings.size() != stacks.size()) {
    throw std::invalid_argument("one scaling per stack");
  }
  curve_ = ReflCurve();
  if (n == 0 || stacks.empty()) return true;
  if (!calculatePoints(stacks)) return false;
  return scoreCurves(stacks.size(), scalings, out);
}

bool ChiSquareEvaluator::residuals(std::span<const SpinReflectances> values, SpinChannel channel,
                                   std::span<const CurveScaling> scalings, std::span<double> out) {
  const std::size_t n = qz_.size();
  const std::size_t count = n == 0 ? 0 : values.size() / n;
  if (channel == SpinChannel::None) throw std::invalid_argument("a spin-flip curve needs a channel");
  if (out.size() != count * n || (!scalings.empty() && scalings.size() != count)) {
    throw std::invalid_argument("residual sizes differ");
  }
  curve_ = ReflCurve();
  if (n == 0) return true;
  curvesCalculated_ += static_cast<long long>(count);
  fit_.resize(values.size());
  for (std::size_t p = 0; p < values.size(); ++p) fit_[p] = ChannelReflectivity(values[p], channel);
  return scoreCurves(count, scalings, out);
}

bool ChiSquareEvaluator::scoreCurves(std::size_t count, std::span<const CurveScaling> scalings,
                                     std::span<double> out) {
  const std::size_t n = qz_.size();
  for (std::size_t k = 0; k < scalings.size(); ++k) {
    const CurveScaling& scaling = scalings[k];
    for (std::size_t i = 0; i < n; ++i) {
      double& fit = fit_[k * n + i];
      fit = scaling.scale * fit + (scaling.background.empty() ? 0.0 : scaling.background[i]);
    }
  }
  for (std::size_t k = 0; k < count; ++k) {
    for (std::size_t i = 0; i < n; ++i) {
      const std::optional<double> residual =
          Residual(options_.weighting, r_[i], dr_[i], fit_[k * n + i]);
      if (!residual) return false;
      out[k * n + i] = *residual;
      if (k == 0) curve_.append(qz_[i], fit_[i]);
    }
  }
  return true;
}

std::optional<double> ChiSquareEvaluator::chiSquareOf(std::span<const double> residuals) const {
  if (range_.empty()) return 0.0;
  double sum = 0.0;
  for (const double residual : residuals) {
    double term = residual;
    term *= term;
    sum += term;
  }
  // Points minus one: a region of one point has no degree of freedom and fails.
  const int divisor = range_.last - range_.first;
  if (divisor == 0 || !std::isfinite(sum)) return std::nullopt;
  return sum / divisor;
}

}  // namespace quorrel
