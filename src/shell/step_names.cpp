#include "shell/step_names.h"

#include "model/cell_values.h"
#include "model/layer_stack_builder.h"
#include "shell/recovery_file.h"

namespace quorrel {

namespace {

//! Everything of the model or of the settings as text, which compares all of it.
std::string ModelText(const SampleModel& model) {
  RecoveredWork work;
  work.model = model;
  return RecoveryText(work);
}
std::string SettingsText(const CalcSettings& settings) {
  RecoveredWork work;
  work.settings = settings;
  return RecoveryText(work);
}

//! The one cell of a model grid, its angle column included, in which `before` and `after`
//! differ; nothing when none or several do.
struct CellAt {
  int row = 0;
  int column = 0;
};
std::optional<CellAt> OnlyChangedCell(const TextGrid& before, const TextGrid& after,
                                      bool& changed) {
  changed = false;
  if (before.rowCount() != after.rowCount() ||
      before.storedRowCount() != after.storedRowCount() ||
      before.columnCount() != after.columnCount()) {
    changed = true;
    return std::nullopt;
  }
  std::optional<CellAt> found;
  for (int row = 0; row < after.storedRowCount(); ++row) {
    for (int column = 0; column <= kColThetaM; ++column) {
      if (before.cell(row, column) == after.cell(row, column)) continue;
      if (changed) return std::nullopt;
      changed = true;
      found = CellAt{row, column};
    }
  }
  return found;
}

std::optional<StepName> GridChange(const TextGrid& before, const TextGrid& after,
                                   const char* gridName, const std::string& table) {
  bool changed = false;
  const std::optional<CellAt> cell = OnlyChangedCell(before, after, changed);
  if (!changed) return std::nullopt;
  if (!cell) return StepName{"rows of the " + table, {}};
  return StepName{"typing in " + CellPlace(after, gridName, cell->row, cell->column),
                  std::string(gridName) + ":" + std::to_string(cell->row) + ":" +
                      std::to_string(cell->column)};
}

}  // namespace

std::optional<StepName> NameChange(const SampleModel& beforeModel,
                                   const CalcSettings& beforeSettings, const SampleModel& model,
                                   const CalcSettings& settings) {
  if (model.type != beforeModel.type) return StepName{"sample type", {}};
  if (model.edtLayers != beforeModel.edtLayers) return StepName{"number of layers", "layers"};
  if (model.edtStackedLayers != beforeModel.edtStackedLayers) {
    return StepName{"number of stacked layers", "stacked"};
  }
  if (model.edtRepts != beforeModel.edtRepts) return StepName{"repetitions", "repetitions"};
  if (auto step = GridChange(beforeModel.baseGrid, model.baseGrid, kBaseGridName, "layer table")) {
    return step;
  }
  if (auto step = GridChange(beforeModel.mlGrid, model.mlGrid, kMLGridName, "multilayer table")) {
    return step;
  }
  if (ModelText(model) != ModelText(beforeModel)) return StepName{"model settings", "model"};
  if (SettingsText(settings) != SettingsText(beforeSettings)) {
    return StepName{"calculation settings", "settings"};
  }
  return std::nullopt;
}

}  // namespace quorrel
