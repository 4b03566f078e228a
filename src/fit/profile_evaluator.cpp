#include "fit/profile_evaluator.h"

#include <memory>
#include <optional>

#include "model/profile_function.h"

namespace quorrel {

namespace {

//! The function of the parameters evaluated last: rebuilt only when they change, since a
//! trial evaluates every step with the same parameters.
class TrialProfile {
 public:
  TrialProfile(const SampleModel& model, std::function<void()> userFunctionFailed)
      : model_(model), userFunctionFailed_(std::move(userFunctionFailed)) {}

  double operator()(double z, double rhoStart, double rhoEnd,
                    const std::array<double, 5>& parameters) {
    if (!function_ || parameters != model_.function.parameters) {
      model_.function.parameters = parameters;
      function_.emplace(model_);
    }
    const double value = function_->Evaluate(z, rhoStart, rhoEnd, &notes_);
    if (!notes_.statusText.empty()) {
      notes_.statusText.clear();
      if (userFunctionFailed_) userFunctionFailed_();
    }
    return value;
  }

 private:
  SampleModel model_;
  std::optional<ProfileFunction> function_;
  std::function<void()> userFunctionFailed_;
  BuildNotes notes_;
};

}  // namespace

ProfileEvaluator MakeProfileEvaluator(const SampleModel& model,
                                      std::function<void()> userFunctionFailed) {
  // Shared by the copies a std::function makes of its target; the parser inside must not move.
  auto profile = std::make_shared<TrialProfile>(model, std::move(userFunctionFailed));
  return [profile](double z, double rhoStart, double rhoEnd,
                   const std::array<double, 5>& parameters) {
    return (*profile)(z, rhoStart, rhoEnd, parameters);
  };
}

}  // namespace quorrel
