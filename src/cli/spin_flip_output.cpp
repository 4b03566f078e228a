#include "cli/spin_flip_output.h"

#include "calc/spin_flip_model.h"
#include "cli/command_inputs.h"
#include "files/curve_files.h"
#include "files/file_kind.h"
#include "files/layer_table_file.h"

namespace quorrel::cli {

SpinFlipInput LoadSpinFlipInput(const std::string& path, std::optional<double> aguideGiven,
                                std::optional<double> fieldGiven, std::ostream& err) {
  SpinFlipInput input;
  const SpinFlipSettings defaults;
  double aguide = aguideGiven.value_or(defaults.aguide);
  double field = fieldGiven.value_or(defaults.field);
  if (FileKindOf(path) == FileKind::LayerTable) {
    input.stack = ReadLayerTable(path).stack;
  } else {
    ModelInput model = LoadModelInput(path, err);
    input.fromModelFile = true;
    input.model = model.model;
    input.settings = model.settings;
    aguide = aguideGiven.value_or(model.settings.spinFlip.aguide);
    field = fieldGiven.value_or(model.settings.spinFlip.field);
    BuildNotes notes;
    try {
      input.stack = SpinFlipStackOfModel(model.model, aguide, field, &notes);
    } catch (const QuorrelError&) {
      RethrowAtModelFile(path, model.model);
    }
    if (!notes.statusText.empty()) err << "quorrel-cli: " << notes.statusText << '\n';
  }
  input.stack.aguide = aguide;
  input.stack.field = field;
  return input;
}

std::string SpinFlipText(const SpinFlipResult& result, Precision precision) {
  const std::array<NamedCurve, 4> channels = SpinFlipChannels(result);
  CurveTable table("Qz", channels[0].name, *channels[0].curve);
  for (std::size_t i = 1; i < channels.size(); ++i) {
    table.addCurve(channels[i].name, *channels[i].curve);
  }
  return table.text(TableFormatOf(precision));
}

}  // namespace quorrel::cli
