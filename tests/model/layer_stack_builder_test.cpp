#include "model/layer_stack_builder.h"

#include <gtest/gtest.h>

#include <string>

#include "common/decimal_separator.h"
#include "common/error.h"

namespace quorrel {
namespace {

void SetLayerRow(TextGrid& grid, int row, const std::string& d, const std::string& rho,
                 const std::string& imRho, const std::string& sigma,
                 const std::string& magRe = "0", const std::string& magIm = "0") {
  grid.setCell(row, kColThickness, d);
  grid.setCell(row, kColRho, rho);
  grid.setCell(row, kColImRho, imRho);
  grid.setCell(row, kColSigma, sigma);
  grid.setCell(row, kColMagRe, magRe);
  grid.setCell(row, kColMagIm, magIm);
}

LayerStack Build(const SampleModel& model, SpinState spin = SpinState::None) {
  LayerStack stack;
  BuildLayerStack(model, spin, stack);
  return stack;
}

TEST(BuildLayerStack, DefaultModelValues) {
  ScopedDecimalSeparator point('.');
  const LayerStack stack = Build(SampleModel());
  ASSERT_EQ(stack.layerCount(), 1);
  const auto v = stack.values();
  const double expected[] = {0, 0, 0, 0, 0, 0, 0, 0, 25, 3.475e-6, 1.05e-11, 3, 2.073e-6,
                             2.37e-11, 5};
  ASSERT_EQ(v.size(), std::size(expected));
  for (std::size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i], expected[i]) << i;
}

TEST(BuildLayerStack, DefaultModelUnderACommaLocale) {
  ScopedDecimalSeparator comma(',');
  const LayerStack stack = Build(SampleModel());
  EXPECT_EQ(stack.rho(1), 3.475e-6);
  EXPECT_EQ(stack.imRho(2), 2.37e-11);
}

TEST(BuildLayerStack, NoLayersSetsOnlyAmbientAndSubstrate) {
  SampleModel model;
  model.edtLayers = 0;
  SetLayerRow(model.baseGrid, 1, "N/A", "1e-7", "2e-9", "N/A");
  SetLayerRow(model.baseGrid, 2, "N/A", "2e-6", "3e-9", "4");
  const LayerStack stack = Build(model);
  const auto v = stack.values();
  EXPECT_EQ(v[6], 1e-7);
  EXPECT_EQ(v[7], 2e-9);
  EXPECT_EQ(v[8], 2e-6);
  EXPECT_EQ(v[9], 3e-9);
  EXPECT_EQ(v[10], 4.0);
  EXPECT_EQ(v.size(), 11u);
}

TEST(BuildLayerStack, ThicknessIsStoredAsItsAbsoluteValue) {
  SampleModel model;
  model.baseGrid.setCell(2, kColThickness, "-25");
  EXPECT_EQ(Build(model).thickness(1), 25.0);
}

TEST(BuildLayerStack, FoldsInTheMagnetismOfTheSpinState) {
  ScopedDecimalSeparator point('.');
  SampleModel model;
  model.baseGrid.setCell(2, kColMagRe, "1e-6");
  model.baseGrid.setCell(2, kColMagIm, "1e-12");
  EXPECT_DOUBLE_EQ(Build(model, SpinState::Down).rho(1), 2.475e-6);
  EXPECT_DOUBLE_EQ(Build(model, SpinState::None).rho(1), 3.475e-6);
  EXPECT_DOUBLE_EQ(Build(model, SpinState::Up).rho(1), 4.475e-6);
  EXPECT_DOUBLE_EQ(Build(model, SpinState::Up).imRho(1), 1.05e-11 + 1e-12);
}

TEST(BuildLayerStack, UnreadableCellNamesGridRowAndColumn) {
  SampleModel model;
  model.baseGrid.setCell(2, kColRho, "3.4x");
  try {
    Build(model);
    FAIL() << "no error";
  } catch (const CellError& error) {
    EXPECT_EQ(error.grid(), "BaseGrid");
    EXPECT_EQ(error.row(), 2);
    EXPECT_EQ(error.column(), kColRho);
    EXPECT_EQ(error.text(), "3.4x");
    EXPECT_STREQ(error.what(),
                 "Layer table, row 1, rho / Å^-2: '3.4x' is not a valid floating point value");
  }
}

TEST(BuildLayerStack, NonMagneticBuildIgnoresTheMagneticColumns) {
  SampleModel model;
  model.baseGrid.setCell(2, kColMagRe, "");
  EXPECT_NO_THROW(Build(model));
  EXPECT_THROW(Build(model, SpinState::Up), CellError);
}

SampleModel MultilayerModel() {
  // Layers: 1 (d 10), s1 (d 1), s2 (d 2) repeated three times, then 2 (d 20).
  SampleModel model;
  model.type = SampleType::MultipleLayers;
  model.edtLayers = 2;
  model.baseGrid.setRowCount(5);
  SetLayerRow(model.baseGrid, 1, "N/A", "0", "0", "N/A");
  SetLayerRow(model.baseGrid, 2, "10", "1e-6", "0", "1");
  SetLayerRow(model.baseGrid, 3, "20", "2e-6", "0", "2");
  SetLayerRow(model.baseGrid, 4, "N/A", "3e-6", "1e-9", "3");
  model.edtInsertLayer = 1;
  model.edtStackedLayers = 2;
  model.edtRepts = 3;
  SetLayerRow(model.mlGrid, 1, "1", "5e-6", "0", "0.5");
  SetLayerRow(model.mlGrid, 2, "2", "6e-6", "0", "0.6");
  return model;
}

TEST(BuildLayerStack, MultilayerPeriodsFollowTheInsertLayer) {
  const LayerStack stack = Build(MultilayerModel());
  ASSERT_EQ(stack.layerCount(), 8);
  const double thicknesses[] = {10, 1, 2, 1, 2, 1, 2, 20};
  for (int j = 1; j <= 8; ++j) EXPECT_EQ(stack.thickness(j), thicknesses[j - 1]) << j;
  EXPECT_EQ(stack.sigma(7), 0.6);
  EXPECT_EQ(stack.rho(9), 3e-6);
  EXPECT_EQ(stack.sigma(9), 3.0);
}

TEST(BuildLayerStack, MultilayerCapacity) {
  SampleModel model = MultilayerModel();
  model.edtRepts = 99;
  model.edtStackedLayers = 99;
  model.edtLayers = 9998 - 99 * 99;
  model.baseGrid.setRowCount(model.edtLayers + 3);
  for (int row = 3; row <= model.edtLayers + 2; ++row) SetLayerRow(model.baseGrid, row, "1", "1e-6", "0", "0");
  for (int row = 3; row <= 99; ++row) SetLayerRow(model.mlGrid, row, "1", "1e-6", "0", "0");
  EXPECT_EQ(Build(model).layerCount(), 9998);
  model.edtLayers += 1;
  SetLayerRow(model.baseGrid, model.edtLayers + 2, "N/A", "1e-6", "0", "0");
  try {
    Build(model);
    FAIL() << "no error";
  } catch (const CapacityExceeded& error) {
    EXPECT_STREQ(error.what(),
                 "I'm running out of layers.... reduce the number of steps in your function!");
  }
}

TEST(BuildLayerStack, IndependentLayersCapacity) {
  SampleModel model;
  model.edtLayers = 9999;
  EXPECT_THROW(Build(model), CapacityExceeded);
}

TEST(BuildLayerStack, SymmetricFilmMirrorsTheHalfAroundTheCore) {
  SampleModel model;
  model.type = SampleType::SymmetricFilm;
  model.edtLayers = 2;
  SetLayerRow(model.baseGrid, 1, "N/A", "1e-7", "1e-9", "N/A");
  SetLayerRow(model.baseGrid, 2, "10", "1e-6", "0", "1");
  SetLayerRow(model.baseGrid, 3, "20", "2e-6", "0", "2");
  SetLayerRow(model.baseGrid, 4, "-30", "3e-6", "0", "3");  // the core
  const LayerStack stack = Build(model);
  ASSERT_EQ(stack.layerCount(), 5);
  const double thicknesses[] = {10, 20, 30, 20, 10};
  const double sigmas[] = {1, 2, 3, 3, 2};
  for (int j = 1; j <= 5; ++j) {
    EXPECT_EQ(stack.thickness(j), thicknesses[j - 1]) << j;
    EXPECT_EQ(stack.sigma(j), sigmas[j - 1]) << j;
  }
  EXPECT_EQ(stack.rho(4), 2e-6);
  EXPECT_EQ(stack.sigma(6), 1.0);  // substrate: layer 1's roughness
  EXPECT_EQ(stack.rho(6), stack.rho(0));
  EXPECT_EQ(stack.imRho(6), 1e-9);
}

TEST(BuildLayerStack, SymmetricFilmWithoutLayersTakesTheCoreRoughness) {
  SampleModel model;
  model.type = SampleType::SymmetricFilm;
  model.edtLayers = 0;
  SetLayerRow(model.baseGrid, 1, "N/A", "0", "0", "N/A");
  SetLayerRow(model.baseGrid, 2, "100", "4e-6", "0", "7");
  const LayerStack stack = Build(model);
  ASSERT_EQ(stack.layerCount(), 1);
  EXPECT_EQ(stack.thickness(1), 100.0);
  EXPECT_EQ(stack.sigma(2), 7.0);
}

}  // namespace
}  // namespace quorrel
