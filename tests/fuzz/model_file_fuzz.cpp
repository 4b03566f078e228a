// The model file reader under both decimal separators: it never throws on the content, and
// whatever it read is a model the editor could hold and the writer can write.

#include <cstdlib>

#include "common/decimal_separator.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"
#include "fuzz_support.h"
#include "model/editor_fields.h"

using namespace quorrel;

namespace {

bool Within(long long value, long long lowest, long long highest) {
  return value >= lowest && value <= highest;
}

void Read(std::string_view text, char separator) {
  const ScopedDecimalSeparator scoped(separator);
  SampleModel model;
  CalcSettings settings;
  EditorState editor;
  const ModelFileOutcome outcome = ReadModelText(text, model, settings, editor);
  if (outcome.message.has_value() != outcome.stopLine.has_value()) std::abort();
  if (!outcome.message && !outcome.sampleComplete) std::abort();
  if (model.baseGrid.rowCount() != model.edtLayers + 3 ||
      model.mlGrid.rowCount() != model.edtStackedLayers + 1 ||
      settings.resltnGrid.rowCount() != settings.edtRegions + 1) {
    std::abort();
  }
  if (!Within(model.edtLayers, 0, kMaxEditorLayers) ||
      !Within(model.edtStackedLayers, 1, kMaxStackedLayers) ||
      !Within(model.edtRepts, 1, kMaxRepetitions) ||
      !Within(model.edtFunctionLayer, 0, model.edtLayers) ||
      !Within(model.edtInsertLayer, 0, model.edtLayers) ||
      !Within(model.edtNumCalcLayers, 0, kMaxFunctionSteps) ||
      !Within(model.function.numParameters, 0, kMaxFunctionParameters)) {
    std::abort();
  }
  // Every value read is finite, so the model can be saved again.
  (void)ModelFileText(model, settings);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view text = fuzz::AsText(bytes, size);
  Read(text, '.');
  Read(text, ',');
  return 0;
}
