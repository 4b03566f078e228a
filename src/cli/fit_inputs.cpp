#include "cli/fit_inputs.h"

#include <map>

#include "cli/command.h"
#include "common/number_conversion.h"
#include "model/settings_rules.h"

namespace quorrel::cli {

namespace {

//! One bound of --region: a number, or nothing for a bound that is not set (-1.0).
double RegionBound(const std::string& text, const std::string& whole) {
  if (text.empty()) return -1.0;
  std::optional<double> bound = ReadNumber(text);
  if (!bound) bound = LocaleToDouble(text, '.');
  if (!bound) throw UsageError("--region takes LO:HI, not '" + whole + "'");
  return *bound;
}

//! "LO:HI" into the data's fitting region; either side may be empty (not set).
void ApplyRegion(const Arguments& args, MeasuredData& data) {
  const std::optional<std::string> region = args.value("--region");
  if (!region) return;
  const std::size_t colon = region->find(':');
  if (colon == std::string::npos) throw UsageError("--region takes LO:HI, not '" + *region + "'");
  data.fitRegionLow = RegionBound(region->substr(0, colon), *region);
  data.fitRegionHigh = RegionBound(region->substr(colon + 1), *region);
}

}  // namespace

ArgumentRules FitArgumentRules(std::set<std::string> moreValueOptions) {
  moreValueOptions.insert({"--weighting", "--region"});
  moreValueOptions.merge(DataValueOptions());
  return {std::move(moreValueOptions), {"--resolution", "--background", kResolutionFromData}};
}

FitInputs LoadFitInputs(const std::string& modelPath, const std::string& dataPath,
                        const Arguments& args, std::ostream& err) {
  const DataOptions dataOptions = ReadDataOptions(args);
  FitInputs inputs{LoadModelInput(modelPath, err), {}};
  MeasuredData measured = LoadDataInput(dataPath, dataOptions, DataLineRule::ReportAndSkip, err);
  ApplyRegion(args, measured);
  // A fit calculates at the measured points.
  CalcSettings& settings = inputs.model.settings;
  ApplyDataOptions(dataOptions, measured, dataPath, settings);
  SetUserQRange(settings, false, measured);
  inputs.data = FitDataFor(settings, std::move(measured));
  return inputs;
}

void ApplyFitOptions(const Arguments& args, FitSession& session) {
  static const std::map<std::string, Weighting> kWeightings{{"errors", Weighting::GivenErrors},
                                                            {"stat", Weighting::Statistical},
                                                            {"none", Weighting::None},
                                                            {"log", Weighting::Logarithmic}};
  if (const std::optional<std::string> weighting = args.value("--weighting")) {
    const auto found = kWeightings.find(*weighting);
    if (found == kWeightings.end()) {
      throw UsageError("--weighting takes errors, stat, none or log, not '" + *weighting + "'");
    }
    session.setWeighting(found->second);
  }
  session.setIncludeResolution(args.has("--resolution"));
  session.setIncludeBackground(args.has("--background"));
}

}  // namespace quorrel::cli
