#include "fit/model_objective.h"

#include <utility>

#include "common/error.h"

namespace quorrel {

ModelObjective::ModelObjective(LayerStack& stack, ChiSquareEvaluator& evaluator,
                               ProfileEvaluator profile)
    : stack_(stack), evaluator_(evaluator), profile_(std::move(profile)) {}

void ModelObjective::apply(const ParameterSet& set) {
  try {
    ApplyParameterSet(set, stack_, profile_);
    applyFailed_ = false;
  } catch (const ArithmeticFault&) {
    applyFailed_ = true;
  }
}

std::optional<double> ModelObjective::evaluate() {
  if (applyFailed_) return std::nullopt;
  return evaluator_.evaluate(stack_);
}

std::optional<ReflCurve> ModelObjective::calculate() {
  if (applyFailed_) return std::nullopt;
  return evaluator_.calculate(stack_);
}

}  // namespace quorrel
