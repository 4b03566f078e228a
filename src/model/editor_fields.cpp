#include "model/editor_fields.h"

#include <algorithm>
#include <string>

namespace quorrel {

void SetLayerCount(SampleModel& model, int count) {
  if (count < 0) return;
  const int n = std::min(count, kMaxEditorLayers);
  model.edtLayers = n;
  model.edtFunctionLayer = std::min(model.edtFunctionLayer, n);
  model.edtInsertLayer = std::min(model.edtInsertLayer, n);

  TextGrid& grid = model.baseGrid;
  const int oldRows = grid.rowCount();
  const int rows = n + 3;
  grid.setRowCount(rows);
  const int last = rows - 1;
  grid.setCell(1, kColLabel, "air");
  grid.setCell(last, kColLabel, model.type == SampleType::SymmetricFilm ? "core" : "bulk");
  // Read the old substrate row before anything is written over it (it may be a new layer).
  CopyLayerRow(grid, oldRows - 1, last);
  if (rows > oldRows && rows > 2) {
    grid.setCell(last - 1, kColLabel, std::to_string(n));
    ZeroLayerRow(grid, last - 1);
  }
}

void SetStackedLayerCount(SampleModel& model, int count) {
  const int room = kMaxEditorLayers - model.edtLayers;
  int m = std::min(count, kMaxStackedLayers);
  if (m > room) m = room;
  if (m < 1) return;
  model.edtStackedLayers = m;
  TextGrid& grid = model.mlGrid;
  const int oldRows = grid.rowCount();
  grid.setRowCount(m + 1);
  if (m + 1 > oldRows) {
    grid.setCell(m, kColLabel, std::to_string(m));
    ZeroLayerRow(grid, m);
  }
}

void SetInsertLayer(SampleModel& model, int layer) {
  model.edtInsertLayer = std::clamp(layer, 0, model.edtLayers);
}

void SetFunctionLayer(SampleModel& model, int layer) {
  model.edtFunctionLayer = std::clamp(layer, 0, model.edtLayers);
}

void SetRepetitions(SampleModel& model, int repetitions) {
  model.edtRepts = std::clamp(repetitions, 1, kMaxRepetitions);
}

void SetNumCalcLayers(SampleModel& model, int steps) {
  model.edtNumCalcLayers = std::clamp(steps, 0, kMaxFunctionSteps);
}

void SetNumParameters(SampleModel& model, int count) {
  model.function.numParameters = std::clamp(count, 0, kMaxFunctionParameters);
}

void SetFunctionParameter(SampleModel& model, int index, double value) {
  model.function.parameters.at(static_cast<std::size_t>(index)) =
      std::clamp(value, -kMaxParameterMagnitude, kMaxParameterMagnitude);
}

}  // namespace quorrel
