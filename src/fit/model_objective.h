#pragma once
// The fit's figure of merit for a sample model: trial values written into a layer stack and
// evaluated against the measured points.

#include "fit/chi_square.h"
#include "fit/fit_objective.h"
#include "fit/parameter_set.h"

namespace quorrel {

//! Writes every applied set into `stack` and evaluates it with `evaluator`. A profile
//! function that faults while the steps are regenerated makes the next evaluation fail.
class ModelObjective : public FitObjective {
 public:
  ModelObjective(LayerStack& stack, ChiSquareEvaluator& evaluator, ProfileEvaluator profile = {});

  void apply(const ParameterSet& set) override;
  std::optional<double> evaluate() override;
  const ReflCurve& evaluatedCurve() const override { return evaluator_.curve(); }
  std::optional<ReflCurve> calculate() override;

 private:
  LayerStack& stack_;
  ChiSquareEvaluator& evaluator_;
  ProfileEvaluator profile_;
  bool applyFailed_ = false;
};

}  // namespace quorrel
