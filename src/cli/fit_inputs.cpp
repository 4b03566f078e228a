#include "cli/fit_inputs.h"

#include <charconv>
#include <map>
#include <utility>

#include "cli/command.h"
#include "common/number_conversion.h"
#include "files/file_kind.h"
#include "cli/fit_entry_options.h"
#include "shell/fit_project.h"
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

//! The measurement that DATASET names: its label or its number from 1.
Measurement& MeasurementNamed(std::vector<Measurement>& measurements, const std::string& name,
                              const std::string& option) {
  for (Measurement& m : measurements) {
    if (m.label == name) return m;
  }
  const std::optional<int> number = ReadInteger(name);
  if (number && *number >= 1 && *number <= static_cast<int>(measurements.size())) {
    return measurements[static_cast<std::size_t>(*number - 1)];
  }
  throw UsageError(option + ": there is no data set '" + name + "'");
}

//! --override "DATASET:N=VALUE": the data set's own value of model entry N (a number or a
//! name such as rho_bulk).
void ApplyOverrides(const Arguments& args, const SampleModel& model,
                    std::vector<Measurement>& measurements) {
  for (const std::string& text : args.values("--override")) {
    const std::size_t colon = text.rfind(':', text.find('='));
    const std::size_t equals = text.find('=');
    if (colon == std::string::npos || equals == std::string::npos || equals < colon) {
      throw UsageError("--override takes DATASET:N=VALUE, not '" + text + "'");
    }
    Measurement& m = MeasurementNamed(measurements, text.substr(0, colon), "--override");
    const int entry = ModelEntryNamed(model, text.substr(colon + 1, equals - colon - 1));
    std::optional<double> value = ReadNumber(text.substr(equals + 1));
    if (!value) value = LocaleToDouble(text.substr(equals + 1), '.');
    if (!value) throw UsageError("--override: '" + text.substr(equals + 1) + "' is not a number");
    m.overrides.push_back({entry, *value});
  }
}

//! --label DATASET=LABEL and --channel DATASET=CHANNEL, in that order, so that a channel may
//! name its data set by the new label.
void ApplyLabelsAndChannels(const Arguments& args, std::vector<Measurement>& measurements) {
  for (const std::string& text : args.values("--label")) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals + 1 == text.size()) {
      throw UsageError("--label takes DATASET=LABEL, not '" + text + "'");
    }
    MeasurementNamed(measurements, text.substr(0, equals), "--label").label = text.substr(equals + 1);
  }
  for (const std::string& text : args.values("--channel")) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
      throw UsageError("--channel takes DATASET=CHANNEL, not '" + text + "'");
    }
    const std::string name = text.substr(equals + 1);
    const std::optional<SpinChannel> channel = SpinChannelOfName(name);
    if (!channel) {
      throw UsageError("--channel: '" + name + "' is no spin channel (R--, R-+, R+-, R++ or none)");
    }
    MeasurementNamed(measurements, text.substr(0, equals), "--channel").channel = *channel;
  }
}

}  // namespace

ArgumentRules FitArgumentRules(std::set<std::string> moreValueOptions) {
  moreValueOptions.insert({"--weighting", "--region", "--override", "--label", "--channel"});
  moreValueOptions.merge(DataValueOptions());
  return {std::move(moreValueOptions),
          {"--resolution", "--background", kResolutionFromData, kAllDataSets},
          {"--override", "--label", "--channel"}};
}

FitInputs LoadFitInputs(const std::vector<std::string>& positional, const Arguments& args,
                        std::ostream& err) {
  if (positional.empty()) throw UsageError("a model file or a project is needed");
  const std::string& modelPath = positional[0];
  FitInputs inputs;
  if (IsProjectPath(modelPath)) {
    inputs.project = LoadProjectInput(modelPath, err);
    inputs.model = {inputs.project->model, inputs.project->settings};
  } else {
    inputs.model = LoadModelInput(modelPath, err);
  }
  CalcSettings& settings = inputs.model.settings;
  std::vector<Measurement> measurements;
  if (positional.size() > 1) {
    const DataOptions dataOptions = ReadDataOptions(args);
    for (std::size_t k = 1; k < positional.size(); ++k) {
      const std::string& dataPath = positional[k];
      if (dataOptions.orsoDataSets == OrsoDataSets::All && FileKindOf(dataPath) == FileKind::Orso) {
        std::vector<Measurement> sets =
            LoadOrsoMeasurementsInput(dataPath, settings, DataLineRule::ReportAndSkip, err);
        for (Measurement& m : sets) {
          ApplyDataOptions(dataOptions, m.data, dataPath + " (data set \"" + m.label + "\")",
                           settings);
          m.resolution = settings.resolutionFromData ? ResolutionSource::Data
                                                     : ResolutionSource::Settings;
          measurements.push_back(std::move(m));
        }
        continue;
      }
      MeasuredData measured =
          LoadDataInput(dataPath, dataOptions, DataLineRule::ReportAndSkip, err);
      ApplyDataOptions(dataOptions, measured, dataPath, settings);
      measurements.push_back(MeasurementOfData(std::move(measured), settings));
    }
  } else if (inputs.project && !inputs.project->measurements.empty()) {
    measurements = inputs.project->measurements;
  } else {
    throw UsageError("a fit needs measured data: data files after the model, or a project "
                     "that holds measurements");
  }
  LabelApart(measurements);
  ApplyLabelsAndChannels(args, measurements);
  for (Measurement& m : measurements) ApplyRegion(args, m.data);
  ApplyOverrides(args, inputs.model.model, measurements);
  // A fit calculates at the measured points.
  SetUserQRange(settings, false, measurements.front().data);
  for (Measurement& m : measurements) inputs.data.push_back(FitDataFor(settings, std::move(m)));
  return inputs;
}

void OpenFitSession(FitSession& session, FitInputs& inputs, std::ostream& err) {
  session.open(inputs.model.model, std::move(inputs.data), {}, inputs.model.settings.spinFlip);
  if (!inputs.project) return;
  const std::string refused = session.applySetup(inputs.project->fit.entries);
  if (!refused.empty()) err << "quorrel-cli: warning: the project's fit setup: " << refused << '\n';
}

Project ProjectOf(const FitInputs& inputs, const FitSession& session,
                  std::optional<FitRecord> record) {
  Project project = inputs.project.value_or(Project{});
  project.model = session.model();
  project.settings = inputs.model.settings;
  project.measurements = session.measurements();
  if (HasSpinChannels(project.measurements)) project.settings.spinFlip = session.guideField();
  project.fit = FitSetupOf(session);
  if (record) project.lastFit = std::move(record);
  return project;
}

std::optional<FitMethod> MethodOption(const Arguments& args) {
  const std::optional<std::string> method = args.value("--method");
  if (!method) return std::nullopt;
  if (*method == "search") return FitMethod::RandomSearch;
  if (*method == "lm") return FitMethod::LevenbergMarquardt;
  if (*method == "de") return FitMethod::DifferentialEvolution;
  throw UsageError("--method takes search, lm or de, not '" + *method + "'");
}

std::optional<std::uint64_t> SeedOption(const Arguments& args) {
  const std::optional<std::string> text = args.value("--seed");
  if (!text) return std::nullopt;
  std::uint64_t seed = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seed);
  if (error != std::errc() || end != text->data() + text->size()) {
    throw UsageError("--seed takes a whole number from 0, not '" + *text + "'");
  }
  return seed;
}

void ApplyFitBackgroundOption(const Arguments& args, FitSession& session, FitInputs& inputs) {
  if (!args.has(kFitBackground)) return;
  session.setIncludeBackground(true);
  for (FitData& data : inputs.data) data.measurement.background.on = true;
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
  // Switches add to what a project's fit setup includes.
  if (args.has("--resolution")) session.setIncludeResolution(true);
  if (args.has("--background")) session.setIncludeBackground(true);
}

}  // namespace quorrel::cli
