#include "shell/measurement_texts.h"

#include "common/number_conversion.h"
#include "common/number_format.h"
#include "fit/parameter_labels.h"
#include "model/layer_stack_builder.h"

namespace quorrel {

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<FitParameter> ModelEntries(const SampleModel& model) {
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  const ParameterSet set = CollectParameterSet(model, stack);
  return FillParameterList(set, VaryFlags(set.count()));
}

std::string NameOf(const FitParameter& entry) {
  return Trimmed(entry.label.substr(0, entry.label.find(" =")));
}

}  // namespace

std::optional<int> ModelEntryOfName(const SampleModel& model, const std::string& name) {
  const std::string wanted = Trimmed(name);
  for (const FitParameter& entry : ModelEntries(model)) {
    if (std::to_string(entry.index) == wanted || NameOf(entry) == wanted) return entry.index;
  }
  return std::nullopt;
}

std::string OverridesText(const Measurement& measurement, const SampleModel& model) {
  const std::vector<FitParameter> entries = ModelEntries(model);
  std::string text;
  for (const ContrastOverride& o : measurement.overrides) {
    std::string name = std::to_string(o.entry);
    for (const FitParameter& entry : entries) {
      if (entry.index == o.entry) name = NameOf(entry);
    }
    if (!text.empty()) text += "; ";
    text += name + " = " + FormatGeneral(o.value);
  }
  return text;
}

OverridesRead ReadOverrides(const std::string& text, const SampleModel& model) {
  OverridesRead read;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find(';', start), text.size());
    const std::string item = Trimmed(text.substr(start, end - start));
    start = end + 1;
    if (item.empty()) continue;
    const std::size_t equals = item.find('=');
    if (equals == std::string::npos) {
      read.refusal = "\"" + item + "\" is not NAME = VALUE";
      return read;
    }
    const std::optional<int> entry = ModelEntryOfName(model, item.substr(0, equals));
    if (!entry) {
      read.refusal = "the model has no entry \"" + Trimmed(item.substr(0, equals)) + "\"";
      return read;
    }
    const std::string valueText = Trimmed(item.substr(equals + 1));
    std::optional<double> value = LocaleToDouble(valueText);
    if (!value) value = LocaleToDouble(valueText, '.');
    if (!value) {
      read.refusal = "\"" + valueText + "\" is not a number";
      return read;
    }
    read.overrides.push_back({*entry, *value});
  }
  return read;
}

std::string BackgroundText(const MeasurementBackground& background) {
  if (!background.on) return "none";
  const std::string y0 = "y0 = " + FormatPattern(background.y0, "0.000E+00");
  switch (background.kind) {
    case BackgroundKind::Constant:
      return y0;
    case BackgroundKind::Linear:
      return "linear, " + y0;
    case BackgroundKind::Gaussian:
      return "gaussian, " + y0;
    case BackgroundKind::Lorentzian:
      break;
  }
  return "lorentzian, " + y0;
}

}  // namespace quorrel
