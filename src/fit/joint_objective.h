#pragma once
// The figure of merit of one sample model against several measurements at once: each
// measurement's curve from the model with its own contrast overrides, scale and background,
// the residuals of all of them joined, and links between entries evaluated before every curve.
// A measurement of a spin channel is that channel of the spin-flip calculation.

#include <optional>
#include <span>
#include <vector>

#include "fit/chi_square.h"
#include "fit/entry_links.h"
#include "fit/fit_data.h"
#include "fit/fit_objective.h"
#include "fit/magnetic_entries.h"
#include "fit/residual_objective.h"
#include "model/measurement.h"

namespace quorrel {

//! The joint chi-square is the sum of every measurement's squared residuals over its own
//! region, divided by the number of all those points minus one: for one measurement exactly
//! the chi-square of ChiSquareEvaluator, and the same function for either fit method.
class JointObjective : public FitObjective, public ResidualObjective {
 public:
  //! `start` gives the layout (its entries after the model's are the measurements' entries,
  //! see measurement_entries.h); `stack` is the run's stack as built from the model. A
  //! measurement's background is added when it has one and `options` include backgrounds.
  //! `magnetic` gives the set's last entries when a measurement has a spin channel.
  JointObjective(const ParameterSet& start, const LayerStack& stack,
                 std::vector<FitData> measurements, ChiSquareOptions options,
                 EntryLinks links = {}, ProfileEvaluator profile = {},
                 MagneticModel magnetic = {});
  ~JointObjective() override;

  // FitObjective: the search.
  void apply(const ParameterSet& set) override;
  std::optional<double> evaluate() override;
  const ReflCurve& evaluatedCurve() const override;
  std::optional<ReflCurve> calculate() override;

  // ResidualObjective: Levenberg-Marquardt. Residuals run measurement after measurement.
  int residualCount() const override { return residualCount_; }
  bool residuals(std::span<const ParameterSet> sets, std::span<double> out) override;
  std::optional<double> chiSquareOf(std::span<const double> residuals) const override;

  std::size_t measurementCount() const;
  //! Each measurement's own chi-square (its squared residuals over its points minus one) of
  //! one set's joined residuals; nullopt for a measurement where that cannot be formed.
  std::vector<std::optional<double>> measurementChiSquares(
      std::span<const double> residuals) const;
  //! The fitted curve of every measurement of the first set of the last evaluation.
  std::vector<ReflCurve> curves() const;
  //! Model curves over a region calculated so far, one per measurement and set.
  long long curvesCalculated() const;

 private:
  struct Term;
  //! The set with its links evaluated; false when a link faults.
  bool linked(const ParameterSet& set, ParameterSet& out) const;

  std::vector<Term> terms_;
  ChiSquareOptions options_;
  EntryLinks links_;
  ProfileEvaluator profile_;
  MagneticModel magnetic_;
  LayerStack stack_;
  int residualCount_ = 0;
  ParameterSet applied_;
  std::vector<double> appliedResiduals_;
};

}  // namespace quorrel
