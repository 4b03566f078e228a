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

std::vector<double> MagnetisationAngles(const SampleModel& model) {
  const int n = model.edtLayers;
  const auto base = [&model](int row) { return ThetaMCell(model.baseGrid, kBaseGridName, row); };
  std::vector<double> angles;
  angles.reserve(static_cast<std::size_t>(CalcLayerCount(model)) + 2);
  angles.push_back(base(1));
  switch (model.type) {
    case SampleType::IndependentLayers:
      for (int row = 2; row <= n + 2; ++row) angles.push_back(base(row));
      break;
    case SampleType::ProfileFunction:
      angles.assign(static_cast<std::size_t>(CalcLayerCount(model)) + 2, kDefaultThetaM);
      break;
    case SampleType::MultipleLayers: {
      const int insert = model.edtInsertLayer;
      for (int row = 2; row <= insert + 1; ++row) angles.push_back(base(row));
      std::vector<double> period;
      for (int q = 1; q <= model.edtStackedLayers; ++q) {
        period.push_back(ThetaMCell(model.mlGrid, kMLGridName, q));
      }
      for (int p = 0; p < model.edtRepts; ++p) {
        angles.insert(angles.end(), period.begin(), period.end());
      }
      for (int row = insert + 2; row <= n + 2; ++row) angles.push_back(base(row));
      break;
    }
    case SampleType::SymmetricFilm: {
      // Layers 1 .. n, the core, the mirrored layers n .. 1, and the ambient again below.
      for (int row = 2; row <= n + 2; ++row) angles.push_back(base(row));
      for (int row = n + 1; row >= 2; --row) angles.push_back(base(row));
      angles.push_back(angles.front());
      break;
    }
  }
  return angles;
}

}  // namespace quorrel
