#include "fit/measurement_curves.h"

#include "calc/profile_run.h"
#include "common/error.h"
#include "fit/joint_objective.h"
#include "fit/measurement_entries.h"
#include "fit/symmetry_ties.h"
#include "fit/write_back.h"
#include "model/layer_stack_builder.h"

namespace quorrel {

std::vector<std::optional<ReflCurve>> MeasurementCurves(const SampleModel& model,
                                                        const CalcSettings& settings,
                                                        std::vector<Measurement> measurements) {
  std::vector<std::optional<ReflCurve>> curves;
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  ParameterSet set = CollectParameterSet(model, stack);
  AppendMeasurementEntries(set, measurements);
  // One measurement at a time, so that a fault in one leaves the others' curves.
  const ChiSquareOptions options{Weighting::None, true, true, KernelKind::Fast,
                                 SmearingKernel::Standard};
  const std::vector<MeasurementEntry> entries = MeasurementEntries(measurements);
  // A measurement of a spin channel is drawn with that channel in the settings' guide field.
  MagneticModel magnetic;
  if (HasSpinChannels(measurements)) magnetic = MagneticModelOf(model, settings.spinFlip);
  for (std::size_t m = 0; m < measurements.size(); ++m) {
    Measurement measurement = measurements[m];
    measurement.data.fitRegionLow = -1.0;  // every point, not only the fitting region's
    measurement.data.fitRegionHigh = -1.0;
    ParameterSet own = set;
    std::vector<double> extras;
    for (std::size_t k = 0; k < entries.size(); ++k) {
      if (entries[k].measurement == m) extras.push_back(set[set.count() + 1 + static_cast<int>(k)]);
    }
    const bool polarised = measurement.channel != SpinChannel::None;
    if (polarised) extras.insert(extras.end(), magnetic.start.begin(), magnetic.start.end());
    own.setExtraEntries(std::move(extras));
    std::vector<FitData> data;
    data.push_back(FitDataFor(settings, std::move(measurement)));
    JointObjective objective(own, stack, std::move(data), options, {}, {},
                             polarised ? magnetic : MagneticModel{});
    std::vector<double> residuals(static_cast<std::size_t>(objective.residualCount()));
    if (objective.residuals({&own, 1}, residuals)) {
      curves.push_back(objective.curves().front());
    } else {
      curves.emplace_back();
    }
  }
  return curves;
}

SampleModel ContrastModel(const SampleModel& model, const Measurement& measurement) {
  if (measurement.overrides.empty()) return model;
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  ParameterSet set = CollectParameterSet(model, stack);
  for (const ContrastOverride& o : measurement.overrides) SetTiedValue(set, o.entry, o.value);
  SampleModel contrast = model;
  WriteBackFit(set, contrast);
  return contrast;
}

std::vector<std::optional<ProfileCurve>> ContrastProfiles(
    const SampleModel& model, const CalcSettings& settings,
    const std::vector<Measurement>& measurements) {
  std::vector<std::optional<ProfileCurve>> profiles;
  for (const Measurement& measurement : measurements) {
    if (measurement.overrides.empty()) {
      profiles.emplace_back();
      continue;
    }
    try {
      profiles.push_back(RunProfileCalculation(ContrastModel(model, measurement), settings));
    } catch (const QuorrelError&) {
      profiles.emplace_back();  // the model's own profile says what is wrong
    }
  }
  return profiles;
}

}  // namespace quorrel
