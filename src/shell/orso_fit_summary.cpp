#include "shell/orso_fit_summary.h"

#include <algorithm>

#include "fit/parameter_labels.h"

namespace quorrel {

namespace {

const char* WeightingName(Weighting weighting) {
  switch (weighting) {
    case Weighting::GivenErrors: return "use given errors";
    case Weighting::Statistical: return "use 1/y";
    case Weighting::None: return "no weight at all";
    case Weighting::Logarithmic: return "use (log(R_exp)-log(R_fit))^2";
  }
  return "";
}

}  // namespace

std::optional<OrsoFitSummary> FitSessionSummary(const FitSession& session) {
  const std::optional<double> chiSquare = session.chiSquare();
  if (!chiSquare) return std::nullopt;
  const FitSettings settings = session.settings();
  OrsoFitSummary summary;
  summary.method = FitMethodName(settings.method);
  summary.weighting = WeightingName(settings.weighting);
  summary.chiSquare = *chiSquare;
  const std::optional<FitUncertainties> uncertainties = session.uncertainties();
  if (uncertainties) {
    summary.reducedChiSquare = uncertainties->reducedChiSquare;
    summary.degreesOfFreedom = uncertainties->degreesOfFreedom;
  }
  const ParameterSet set = session.parameters();
  for (const FitParameter& entry : session.entries()) {
    if (!entry.vary) continue;
    OrsoFittedValue value{ParameterName(set, entry.index), set[entry.index], std::nullopt};
    if (uncertainties) {
      const auto at = std::find(uncertainties->varied.begin(), uncertainties->varied.end(), entry.index);
      if (at != uncertainties->varied.end()) {
        value.error = uncertainties->standardErrors[static_cast<std::size_t>(at - uncertainties->varied.begin())];
      }
    }
    summary.values.push_back(std::move(value));
  }
  return summary;
}

}  // namespace quorrel
