#include "shell/fit_project.h"

#include <ctime>

namespace quorrel {

ProjectFitSetup FitSetupOf(const FitSession& session) {
  const FitSettings settings = session.settings();
  return {settings.method,
          settings.weighting,
          settings.includeResolution,
          settings.includeBackground,
          settings.tolerance,
          session.setup()};
}

std::string ApplyFitSetup(const ProjectFitSetup& setup, FitSession& session) {
  session.setMethod(setup.method);
  session.setWeighting(setup.weighting);
  session.setIncludeResolution(setup.includeResolution);
  session.setIncludeBackground(setup.includeBackground);
  session.setTolerance(setup.tolerance);
  if (session.state() == FitDialogState::Closed) return {};
  return session.applySetup(setup.entries);
}

FitRecord RecordOfFit(const FitSession& session, const std::string& date) {
  const FitSettings settings = session.settings();
  FitRecord record{date, settings.method, settings.weighting, session.chiSquare().value_or(0.0),
                   {}, session.measurementChiSquares()};
  const ParameterSet set = session.parameters();
  const std::optional<FitUncertainties> uncertainties = session.uncertainties();
  for (const FitParameter& entry : session.entries()) {
    if (!entry.vary) continue;
    FittedValue value{entry.index, entry.label.substr(0, entry.label.find(" =")),
                      set[entry.index], std::nullopt};
    if (uncertainties) {
      for (std::size_t c = 0; c < uncertainties->varied.size(); ++c) {
        if (uncertainties->varied[c] == entry.index) value.error = uncertainties->standardErrors[c];
      }
    }
    record.values.push_back(std::move(value));
  }
  return record;
}

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return {text, length};
}

SamplingRecord RecordOfSampling(const SampledPosterior& posterior, const std::string& date) {
  SamplingRecord record{date,
                        posterior.walkers,
                        posterior.result.burnInStepsRun,
                        posterior.result.productionStepsRun,
                        posterior.settings.thinning,
                        posterior.settings.seed,
                        posterior.result.acceptance,
                        {}};
  for (std::size_t j = 0; j < posterior.problem.varied.size(); ++j) {
    const ValueSummary& v = posterior.statistics.values[j];
    record.values.push_back({posterior.problem.varied[j], posterior.problem.names[j], v.median,
                             v.median - v.lower68, v.upper68 - v.median, v.lower95, v.upper95});
  }
  return record;
}

}  // namespace quorrel
