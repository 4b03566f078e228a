#include "cli/spin_flip_output.h"

#include "calc/spin_flip_model.h"
#include "cli/command_inputs.h"
#include "common/decimal_separator.h"
#include "common/number_format.h"
#include "common/text_case.h"
#include "files/layer_table_file.h"

namespace quorrel::cli {

bool IsLayerTable(const std::string& path) { return IsLayerTableName(path); }

SpinFlipInput LoadSpinFlipInput(const std::string& path, double aguide, double field,
                                std::ostream& err) {
  SpinFlipInput input;
  if (IsLayerTable(path)) {
    input.stack = ReadLayerTable(path).stack;
  } else {
    ModelInput model = LoadModelInput(path, err);
    input.fromModelFile = true;
    input.model = model.model;
    input.settings = model.settings;
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
  const auto format = [precision](double value) {
    return precision == Precision::Full ? FormatFull(value, DecimalSeparator())
                                        : FormatPattern(value, "0.000e-00");
  };
  std::string text;
  for (std::size_t i = 0; i < result.upUp.size(); ++i) {
    text += format(result.upUp.x[i]);
    for (const ReflCurve* curve :
         {&result.downDown, &result.downUp, &result.upDown, &result.upUp}) {
      text += '\t' + format(curve->y[i]);
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace quorrel::cli
