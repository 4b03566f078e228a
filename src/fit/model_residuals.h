#pragma once
// The least-squares fit's residuals for a sample model: each trial set written into its own
// copy of the run's layer stack, and all of them evaluated against the measured points in one
// batch.

#include <vector>

#include "fit/chi_square.h"
#include "fit/residual_objective.h"

namespace quorrel {

class ModelResiduals : public ResidualObjective {
 public:
  //! `stack` is the run's stack as built from the model: its layer count and multilayer block
  //! are what every trial set is written into.
  ModelResiduals(const LayerStack& stack, ChiSquareEvaluator& evaluator,
                 ProfileEvaluator profile = {});

  int residualCount() const override { return evaluator_.pointCount(); }
  //! A profile function that faults while a set's steps are regenerated fails the evaluation.
  bool residuals(std::span<const ParameterSet> sets, std::span<double> out) override;
  std::optional<double> chiSquareOf(std::span<const double> residuals) const override {
    return evaluator_.chiSquareOf(residuals);
  }
  const ReflCurve& evaluatedCurve() const override { return evaluator_.curve(); }

 private:
  ChiSquareEvaluator& evaluator_;
  ProfileEvaluator profile_;
  std::vector<LayerStack> stacks_;  // one per set of the largest batch so far
};

}  // namespace quorrel
