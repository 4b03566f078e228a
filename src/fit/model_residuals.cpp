#include "fit/model_residuals.h"

#include <utility>

#include "common/error.h"

namespace quorrel {

ModelResiduals::ModelResiduals(const LayerStack& stack, ChiSquareEvaluator& evaluator,
                               ProfileEvaluator profile)
    : evaluator_(evaluator), profile_(std::move(profile)), stacks_{stack} {}

bool ModelResiduals::residuals(std::span<const ParameterSet> sets, std::span<double> out) {
  while (stacks_.size() < sets.size()) stacks_.push_back(stacks_.front());
  std::vector<const LayerStack*> stacks;
  for (std::size_t k = 0; k < sets.size(); ++k) {
    try {
      ApplyParameterSet(sets[k], stacks_[k], profile_);
    } catch (const ArithmeticFault&) {
      return false;
    }
    stacks.push_back(&stacks_[k]);
  }
  return evaluator_.residuals(stacks, out);
}

}  // namespace quorrel
