#include "model/grid_cell_rules.h"

namespace quorrel {

void LeaveBaseGrid(SampleModel& model) {
  TextGrid& grid = model.baseGrid;
  grid.setCell(1, kColLabel, "air");
  grid.setCell(1, kColThickness, "N/A");
  grid.setCell(1, kColSigma, "N/A");
  if (model.type != SampleType::SymmetricFilm) {
    grid.setCell(model.lastRow(), kColLabel, "bulk");
    grid.setCell(model.lastRow(), kColThickness, "N/A");
  }
  for (int row = 2; row <= grid.rowCount() - 2; ++row) {
    grid.setCell(row, kColLabel, std::to_string(row - 1));
  }
}

void LeaveMLGrid(SampleModel& model) {
  for (int row = 1; row <= model.edtStackedLayers; ++row) {
    model.mlGrid.setCell(row, kColLabel, std::to_string(row));
  }
}

void EditBaseCell(SampleModel& model, int row, int column, const std::string& text) {
  TextGrid& grid = model.baseGrid;
  grid.setCell(row, column, text);
  if (column != kColSigma || model.type != SampleType::SymmetricFilm || !model.identicalSigmas) {
    return;
  }
  for (int r = 2; r < grid.rowCount(); ++r) {
    if (r != row) grid.setCell(r, kColSigma, text);
  }
}

}  // namespace quorrel
