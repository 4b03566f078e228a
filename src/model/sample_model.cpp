#include "model/sample_model.h"

#include "common/number_format.h"

namespace quorrel {

namespace {

constexpr const char* kHeaders[kGridColumns] = {
    "", "d / Å", "rho / Å^-2", "Im(rho) / Å^-2", "sigma / Å", "R(mag)", "I(mag)"};

void SetRow(TextGrid& grid, int row, const std::string& label, const std::string& d,
            const std::string& rho, const std::string& imRho, const std::string& sigma) {
  grid.setCell(row, kColLabel, label);
  grid.setCell(row, kColThickness, d);
  grid.setCell(row, kColRho, rho);
  grid.setCell(row, kColImRho, imRho);
  grid.setCell(row, kColSigma, sigma);
  grid.setCell(row, kColMagRe, "0");
  grid.setCell(row, kColMagIm, "0");
}

}  // namespace

SampleModel::SampleModel() : baseGrid(kGridColumns, 4), mlGrid(kGridColumns, 3) {
  for (int c = 0; c < kGridColumns; ++c) {
    baseGrid.setCell(0, c, kHeaders[c]);
    mlGrid.setCell(0, c, c == kColLabel ? "No." : kHeaders[c]);
  }
  baseGrid.setCell(0, kColThetaM, kThetaMHeader);
  mlGrid.setCell(0, kColThetaM, kThetaMHeader);
  SetRow(baseGrid, 1, "air", "N/A", "0", "0", "N/A");
  SetRow(baseGrid, 2, "1", "25", FormatGeneral(3.475e-6), FormatGeneral(1.05e-11), "3");
  SetRow(baseGrid, 3, "bulk", "N/A", FormatGeneral(2.073e-6), FormatGeneral(2.37e-11), "5");
  SetRow(mlGrid, 1, "1", "50", "8e-6", "0", "0");
  SetRow(mlGrid, 2, "2", "11", "5e-7", "0", "0");
}

void ZeroLayerRow(TextGrid& grid, int row) {
  for (int c = kColThickness; c < kGridColumns; ++c) grid.setCell(row, c, "0");
  grid.setCell(row, kColThetaM, "");
}

void CopyLayerRow(TextGrid& grid, int from, int to) {
  for (int c = kColThickness; c <= kColThetaM; ++c) {
    std::string text = grid.cell(from, c);
    grid.setCell(to, c, std::move(text));
  }
}

int CalcLayerCount(const SampleModel& model) {
  switch (model.type) {
    case SampleType::IndependentLayers:
      return model.edtLayers;
    case SampleType::ProfileFunction:
      return model.edtLayers + model.edtNumCalcLayers;
    case SampleType::MultipleLayers:
      return model.edtRepts * model.edtStackedLayers + model.edtLayers;
    case SampleType::SymmetricFilm:
      return 2 * model.edtLayers + 1;
  }
  return model.edtLayers;
}

}  // namespace quorrel
