#include "model/magnetisation_angles.h"

#include "model/cell_values.h"
#include "model/layer_stack_builder.h"

namespace quorrel {

double ThetaMCell(const TextGrid& grid, const char* gridName, int row) {
  if (grid.cell(row, kColThetaM).empty()) return kDefaultThetaM;
  return CellNumber(grid, gridName, row, kColThetaM);
}

void ResetMagnetisationAngles(SampleModel& model) {
  for (TextGrid* grid : {&model.baseGrid, &model.mlGrid}) {
    for (int row = 1; row < grid->storedRowCount(); ++row) grid->setCell(row, kColThetaM, "");
  }
}

std::vector<MagnetisationRow> MagnetisationRows(const SampleModel& model) {
  using Grid = MagnetisationRow::Grid;
  const int n = model.edtLayers;
  const auto base = [](int row) { return MagnetisationRow{Grid::Base, row}; };
  std::vector<MagnetisationRow> rows;
  rows.reserve(static_cast<std::size_t>(CalcLayerCount(model)) + 2);
  rows.push_back(base(1));
  switch (model.type) {
    case SampleType::IndependentLayers:
      for (int row = 2; row <= n + 2; ++row) rows.push_back(base(row));
      break;
    case SampleType::ProfileFunction:
      rows.assign(static_cast<std::size_t>(CalcLayerCount(model)) + 2, MagnetisationRow{});
      break;
    case SampleType::MultipleLayers: {
      const int insert = model.edtInsertLayer;
      for (int row = 2; row <= insert + 1; ++row) rows.push_back(base(row));
      for (int p = 0; p < model.edtRepts; ++p) {
        for (int q = 1; q <= model.edtStackedLayers; ++q) rows.push_back({Grid::Multilayer, q});
      }
      for (int row = insert + 2; row <= n + 2; ++row) rows.push_back(base(row));
      break;
    }
    case SampleType::SymmetricFilm: {
      // Layers 1 .. n, the core, the mirrored layers n .. 1, and the ambient again below.
      for (int row = 2; row <= n + 2; ++row) rows.push_back(base(row));
      for (int row = n + 1; row >= 2; --row) rows.push_back(base(row));
      rows.push_back(rows.front());
      break;
    }
  }
  return rows;
}

double ThetaMOfRow(const SampleModel& model, MagnetisationRow row) {
  switch (row.grid) {
    case MagnetisationRow::Grid::None:
      break;
    case MagnetisationRow::Grid::Base:
      return ThetaMCell(model.baseGrid, kBaseGridName, row.row);
    case MagnetisationRow::Grid::Multilayer:
      return ThetaMCell(model.mlGrid, kMLGridName, row.row);
  }
  return kDefaultThetaM;
}

std::vector<double> MagnetisationAngles(const SampleModel& model) {
  std::vector<double> angles;
  for (const MagnetisationRow& row : MagnetisationRows(model)) {
    angles.push_back(ThetaMOfRow(model, row));
  }
  return angles;
}

}  // namespace quorrel
