#include "fit/write_back.h"

#include <gtest/gtest.h>

#include "common/decimal_separator.h"
#include "fit_test_models.h"
#include "model/layer_stack_builder.h"

namespace quorrel {
namespace {

using testing::MakeModel;

ParameterSet Collected(const SampleModel& model) {
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  return CollectParameterSet(model, stack);
}

std::vector<std::string> Row(const TextGrid& grid, int row) {
  std::vector<std::string> cells;
  for (int column = kColThickness; column < kGridColumns; ++column) {
    cells.push_back(grid.cell(row, column));
  }
  return cells;
}

using Cells = std::vector<std::string>;

TEST(WriteBackTest, AcceptingWithoutARunRoundsTheGridToThePatterns) {
  const ScopedDecimalSeparator point('.');
  SampleModel model = MakeModel(SampleType::IndependentLayers, {"N/A", "1.23456e-7", "0", "N/A"},
                                {{"25.456", "3.4751e-6", "1.05e-11", "3.0004"}},
                                {"N/A", "2.073e-6", "2.37e-11", "5"});
  model.baseGrid.setCell(2, kColMagRe, "1e-6");
  WriteBackFit(Collected(model), model);
  EXPECT_EQ(Row(model.baseGrid, 1), (Cells{"N/A", "1.235E-7", "0E+00", "N/A", "0", "0"}));
  EXPECT_EQ(Row(model.baseGrid, 2), (Cells{"25.46", "3.475E-6", "1.05E-11", "3", "1e-6", "0"}));
  EXPECT_EQ(Row(model.baseGrid, 3), (Cells{"N/A", "2.073E-6", "2.37E-11", "5", "0", "0"}));
}

TEST(WriteBackTest, ThicknessAndRoughnessGoBackAsAbsoluteValues) {
  SampleModel model = testing::TwoLayerModel();
  ParameterSet set = Collected(model);
  const ScopedDecimalSeparator comma(',');
  set[3] = -61.5;  // d_1
  set[6] = -4.25;  // sigma_1
  set[13] = -2.5;  // sigma_bulk
  set[4] = -1e-7;  // a density keeps its sign
  WriteBackFit(set, model);
  EXPECT_EQ(model.baseGrid.cell(2, kColThickness), "61,5");
  EXPECT_EQ(model.baseGrid.cell(2, kColSigma), "4,25");
  EXPECT_EQ(model.baseGrid.cell(2, kColRho), "-1E-7");
  EXPECT_EQ(model.baseGrid.cell(4, kColSigma), "2,5");
}

TEST(WriteBackTest, MultipleLayersUseTheirPatternsInBothGrids) {
  const ScopedDecimalSeparator point('.');
  SampleModel model =
      MakeModel(SampleType::MultipleLayers, {"N/A", "0", "0", "N/A"},
                {{"30.126", "1e-6", "0", "2.0005"}}, {"N/A", "2.073e-6", "2.37e-11", "4"});
  ParameterSet set = Collected(model);
  set[set.layout().stackedIndex(2, Quantity::Thickness)] = -11.004;
  WriteBackFit(set, model);
  EXPECT_EQ(Row(model.baseGrid, 1), (Cells{"N/A", "0E+00", "0E+00", "N/A", "0", "0"}));
  EXPECT_EQ(model.baseGrid.cell(2, kColThickness), "30.13");
  EXPECT_EQ(model.baseGrid.cell(2, kColRho), "1E-06");
  EXPECT_EQ(model.baseGrid.cell(2, kColSigma), "2.001");
  // The bulk's exponent shows its sign only when negative.
  EXPECT_EQ(Row(model.baseGrid, 3), (Cells{"N/A", "2.073E-6", "2.37E-11", "4", "0", "0"}));
  EXPECT_EQ(Row(model.mlGrid, 1), (Cells{"50", "8E-06", "0E+00", "0", "0", "0"}));
  EXPECT_EQ(model.mlGrid.cell(2, kColThickness), "11");
}

TEST(WriteBackTest, SymmetricFilmWritesTheCoreAndLeavesTheMirror) {
  const ScopedDecimalSeparator point('.');
  SampleModel model = MakeModel(SampleType::SymmetricFilm, {"N/A", "0", "0", "N/A"},
                                {{"20", "1e-6", "0", "2"}}, {"100.004", "3e-6", "0", "-4"});
  ParameterSet set = Collected(model);
  set[8] = 4e-6;  // rho_core
  WriteBackFit(set, model);
  EXPECT_EQ(Row(model.baseGrid, 3), (Cells{"100", "4E-6", "0E+00", "4", "0", "0"}));
  EXPECT_EQ(model.baseGrid.rowCount(), 4);
  EXPECT_EQ(model.baseGrid.cell(4, kColRho), "");
}

TEST(WriteBackTest, FunctionParametersInUseComeBackRounded) {
  ParameterLayout layout;
  layout.type = SampleType::ProfileFunction;
  layout.layers = 1;
  layout.functionLayer = 1;
  layout.functionParameters = 2;
  ParameterSet set(layout);
  set[3] = 12.345;
  set[10] = 1.23456;       // A
  set[11] = -0.000123456;  // B
  set[12] = 7.77777;       // C: beyond the count
  SampleModel model = MakeModel(SampleType::ProfileFunction, {"N/A", "0", "0", "N/A"},
                                {{"1", "0", "0", "0"}}, {"N/A", "0", "0", "0"});
  model.function.parameters = {1, 2, 3, 4, 5};
  {
    const ScopedDecimalSeparator comma(',');
    WriteBackFit(set, model);
  }
  EXPECT_EQ(model.function.parameters, (std::array<double, 5>{1.235, -0.0001235, 3, 4, 5}));
  EXPECT_EQ(model.baseGrid.cell(2, kColThickness), "12,35");
  EXPECT_EQ(model.baseGrid.cell(3, kColSigma), "0");
}

}  // namespace
}  // namespace quorrel
