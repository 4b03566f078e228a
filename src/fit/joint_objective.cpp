#include "fit/joint_objective.h"

#include <cmath>
#include <stdexcept>
#include <utility>

#include "calc/point_background.h"
#include "common/error.h"
#include "fit/measurement_entries.h"
#include "fit/symmetry_ties.h"

namespace quorrel {

struct JointObjective::Term {
  Term(FitData data, ChiSquareOptions options)
      : fit(std::move(data)),
        evaluator(fit.measured(), fit.pointResolution, {}, RegionPoints(fit.measured()), options),
        backgroundSettings(SettingsForMeasurement(CalcSettings(), fit.measurement)) {}

  FitData fit;
  ChiSquareEvaluator evaluator;
  CalcSettings backgroundSettings;  // the measurement's background form, values from entries
  int offset = 0;                   // of its residuals among the joined ones
  int scaleIndex = 0;
  std::vector<std::pair<MeasurementQuantity, int>> backgroundIndices;
  std::vector<std::pair<int, int>> overrides;  // (model entry, set index of its value)
  std::vector<LayerStack> stacks;              // one per set of the largest batch so far
  //! For a spin channel: the term whose spin-flip values this one reads (itself, or an
  //! earlier channel of the same points), and the values it calculated last.
  std::size_t spinSource = 0;
  std::vector<SpinReflectances> spinValues;

  int points() const { return evaluator.pointCount(); }

  //! The background of one set's values at the region points.
  std::vector<double> background(const ParameterSet& set) {
    CalcSettings& s = backgroundSettings;
    for (const auto& [quantity, index] : backgroundIndices) {
      switch (quantity) {
        case MeasurementQuantity::BackgroundY0:
          s.edtY0 = set[index];
          break;
        case MeasurementQuantity::BackgroundM:
          s.edtM = set[index];
          break;
        case MeasurementQuantity::PeakA:
          s.edtPeakA = set[index];
          break;
        case MeasurementQuantity::PeakW:
          s.edtPeakW = set[index];
          break;
        case MeasurementQuantity::PeakXC:
          s.edtPeakXC = set[index];
          break;
        default:
          break;
      }
    }
    const std::span<const double> qz = evaluator.qz();
    return PointBackgrounds(s, qz);
  }
};

JointObjective::JointObjective(const ParameterSet& start, const LayerStack& stack,
                               std::vector<FitData> measurements, ChiSquareOptions options,
                               EntryLinks links, ProfileEvaluator profile,
                               MagneticModel magnetic)
    : options_(options),
      links_(std::move(links)),
      profile_(std::move(profile)),
      magnetic_(std::move(magnetic)),
      stack_(stack),
      applied_(start) {
  if (measurements.empty()) throw std::invalid_argument("a fit needs a measurement");
  std::vector<Measurement> own;
  for (const FitData& m : measurements) own.push_back(m.measurement);
  const std::vector<MeasurementEntry> entries = MeasurementEntries(own);
  if (start.entryCount() !=
      start.count() + static_cast<int>(entries.size() + magnetic_.entries.size())) {
    throw std::invalid_argument("the set does not hold the measurements' entries");
  }
  if (HasSpinChannels(own) && magnetic_.empty()) {
    throw std::invalid_argument("a spin channel needs the model's magnetisation");
  }
  ChiSquareOptions pointOptions = options;
  pointOptions.includeBackground = false;  // added with the scale, from the entries
  for (FitData& m : measurements) {
    pointOptions.smearing = m.smearing;
    terms_.emplace_back(std::move(m), pointOptions);
  }
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const int index = start.count() + 1 + static_cast<int>(k);
    Term& term = terms_[entries[k].measurement];
    if (entries[k].quantity == MeasurementQuantity::Scale) {
      term.scaleIndex = index;
    } else if (entries[k].quantity == MeasurementQuantity::Override) {
      term.overrides.emplace_back(term.fit.measurement.overrides[entries[k].override].entry, index);
    } else {
      term.backgroundIndices.emplace_back(entries[k].quantity, index);
    }
  }
  for (std::size_t t = 0; t < terms_.size(); ++t) {
    Term& term = terms_[t];
    term.offset = residualCount_;
    residualCount_ += term.points();
    term.stacks.push_back(stack_);
    // The channels of one polarised measurement usually share their points: the four
    // channels then come from one spin-flip calculation.
    term.spinSource = t;
    for (std::size_t s = 0; s < t && term.fit.measurement.channel != SpinChannel::None; ++s) {
      const Term& other = terms_[s];
      if (other.spinSource == s && other.fit.measurement.channel != SpinChannel::None &&
          other.overrides.empty() && term.overrides.empty() &&
          other.evaluator.samePoints(term.evaluator)) {
        term.spinSource = s;
        break;
      }
    }
  }
}

JointObjective::~JointObjective() = default;

std::size_t JointObjective::measurementCount() const { return terms_.size(); }

bool JointObjective::linked(const ParameterSet& set, ParameterSet& out) const {
  out = set;
  try {
    links_.apply(out);
  } catch (const ArithmeticFault&) {
    return false;
  }
  return true;
}

bool JointObjective::residuals(std::span<const ParameterSet> sets, std::span<double> out) {
  const std::size_t total = static_cast<std::size_t>(residualCount_);
  if (out.size() != sets.size() * total) throw std::invalid_argument("residual sizes differ");
  std::vector<ParameterSet> linkedSets(sets.size());
  for (std::size_t k = 0; k < sets.size(); ++k) {
    if (!linked(sets[k], linkedSets[k])) return false;
  }
  for (std::size_t t = 0; t < terms_.size(); ++t) {
    Term& term = terms_[t];
    const std::size_t n = static_cast<std::size_t>(term.points());
    while (term.stacks.size() < sets.size()) term.stacks.push_back(term.stacks.front());
    std::vector<const LayerStack*> stacks;
    std::vector<SpinFlipStack> spinStacks;
    const SpinChannel channel = term.fit.measurement.channel;
    std::vector<std::vector<double>> backgrounds(sets.size());
    std::vector<CurveScaling> scalings;
    try {
      for (std::size_t k = 0; k < sets.size(); ++k) {
        ParameterSet values = linkedSets[k];
        for (const auto& [entry, index] : term.overrides) SetTiedValue(values, entry, values[index]);
        // A channel that reads another's spin-flip values needs no stack of its own.
        const bool ownsCurve = channel == SpinChannel::None || term.spinSource == t;
        if (ownsCurve) {
          ApplyParameterSet(values, term.stacks[k], profile_);
          stacks.push_back(&term.stacks[k]);
        }
        if (channel != SpinChannel::None && ownsCurve) {
          spinStacks.push_back(SpinFlipStackOfTrial(term.stacks[k], values, magnetic_));
        }
        if (options_.includeBackground && term.fit.measurement.background.on) {
          backgrounds[k] = term.background(values);
        }
        scalings.push_back({values[term.scaleIndex], backgrounds[k]});
      }
    } catch (const ArithmeticFault&) {
      return false;
    }
    std::vector<double> own(sets.size() * n);
    if (channel == SpinChannel::None) {
      if (!term.evaluator.residuals(stacks, scalings, own)) return false;
    } else {
      if (term.spinSource == t) {
        std::vector<const SpinFlipStack*> pointers;
        for (const SpinFlipStack& s : spinStacks) pointers.push_back(&s);
        if (!term.evaluator.spinFlipPoints(pointers, term.spinValues)) return false;
      }
      const std::vector<SpinReflectances>& values = terms_[term.spinSource].spinValues;
      if (!term.evaluator.residuals(values, channel, scalings, own)) return false;
    }
    for (std::size_t k = 0; k < sets.size(); ++k) {
      for (std::size_t i = 0; i < n; ++i) {
        out[k * total + static_cast<std::size_t>(term.offset) + i] = own[k * n + i];
      }
    }
  }
  return true;
}

std::optional<double> JointObjective::chiSquareOf(std::span<const double> residuals) const {
  if (residualCount_ == 0) return 0.0;
  double sum = 0.0;
  for (const double residual : residuals) {
    double term = residual;
    term *= term;
    sum += term;
  }
  // Points minus one, as for a single measurement's chi-square.
  const int divisor = residualCount_ - 1;
  if (divisor == 0 || !std::isfinite(sum)) return std::nullopt;
  return sum / divisor;
}

std::vector<std::optional<double>> JointObjective::measurementChiSquares(
    std::span<const double> residuals) const {
  std::vector<std::optional<double>> chiSquares;
  for (const Term& term : terms_) {
    chiSquares.push_back(term.evaluator.chiSquareOf(
        residuals.subspan(static_cast<std::size_t>(term.offset),
                          static_cast<std::size_t>(term.points()))));
  }
  return chiSquares;
}

void JointObjective::apply(const ParameterSet& set) { applied_ = set; }

std::optional<double> JointObjective::evaluate() {
  appliedResiduals_.resize(static_cast<std::size_t>(residualCount_));
  if (!residuals({&applied_, 1}, appliedResiduals_)) return std::nullopt;
  return chiSquareOf(appliedResiduals_);
}

const ReflCurve& JointObjective::evaluatedCurve() const {
  return terms_.front().evaluator.curve();
}

std::optional<ReflCurve> JointObjective::calculate() {
  appliedResiduals_.resize(static_cast<std::size_t>(residualCount_));
  if (!residuals({&applied_, 1}, appliedResiduals_)) return std::nullopt;
  return evaluatedCurve();
}

std::vector<ReflCurve> JointObjective::curves() const {
  std::vector<ReflCurve> curves;
  for (const Term& term : terms_) curves.push_back(term.evaluator.curve());
  return curves;
}

long long JointObjective::curvesCalculated() const {
  long long total = 0;
  for (const Term& term : terms_) total += term.evaluator.curvesCalculated();
  return total;
}

}  // namespace quorrel
