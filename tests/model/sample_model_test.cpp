#include "model/sample_model.h"

#include <gtest/gtest.h>

#include "common/decimal_separator.h"

namespace quorrel {
namespace {

TEST(SampleModel, CreationDefaults) {
  ScopedDecimalSeparator point('.');
  const SampleModel model;
  EXPECT_EQ(model.type, SampleType::IndependentLayers);
  EXPECT_EQ(model.baseGrid.rowCount(), 4);
  const char* air[] = {"air", "N/A", "0", "0", "N/A", "0", "0"};
  const char* layer[] = {"1", "25", "3.475E-6", "1.05E-11", "3", "0", "0"};
  const char* bulk[] = {"bulk", "N/A", "2.073E-6", "2.37E-11", "5", "0", "0"};
  for (int c = 0; c < kGridColumns; ++c) {
    EXPECT_EQ(model.baseGrid.cell(1, c), air[c]);
    EXPECT_EQ(model.baseGrid.cell(2, c), layer[c]);
    EXPECT_EQ(model.baseGrid.cell(3, c), bulk[c]);
  }
  EXPECT_EQ(model.baseGrid.cell(0, kColRho), "rho / Å^-2");
  EXPECT_EQ(model.mlGrid.cell(0, kColLabel), "No.");
  EXPECT_EQ(model.mlGrid.cell(1, kColRho), "8e-6");
  EXPECT_EQ(model.mlGrid.cell(2, kColThickness), "11");
}

TEST(SampleModel, DefaultsFollowTheSeparator) {
  ScopedDecimalSeparator comma(',');
  EXPECT_EQ(SampleModel().baseGrid.cell(2, kColRho), "3,475E-6");
}

TEST(CalcLayerCount, PerSampleType) {
  SampleModel model;
  model.edtLayers = 3;
  model.edtNumCalcLayers = 7;
  model.edtStackedLayers = 2;
  model.edtRepts = 5;
  EXPECT_EQ(CalcLayerCount(model), 3);
  model.type = SampleType::ProfileFunction;
  EXPECT_EQ(CalcLayerCount(model), 10);
  model.type = SampleType::MultipleLayers;
  EXPECT_EQ(CalcLayerCount(model), 13);
  model.type = SampleType::SymmetricFilm;
  EXPECT_EQ(CalcLayerCount(model), 7);
}

TEST(TextGrid, HiddenRowsKeepTheirText) {
  TextGrid grid(7, 4);
  grid.setCell(3, 2, "x");
  grid.setRowCount(2);
  EXPECT_EQ(grid.cell(3, 2), "x");
  EXPECT_EQ(grid.cell(50, 6), "");
  grid.setRowCount(5);
  EXPECT_EQ(grid.cell(3, 2), "x");
}

}  // namespace
}  // namespace quorrel
