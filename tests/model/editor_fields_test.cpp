#include "model/editor_fields.h"

#include <gtest/gtest.h>

#include "editor_test_rows.h"

namespace quorrel {
namespace {

using test::Cells;
using test::SetCells;
using test::Tagged;
using test::kZeroRow;
using test::TaggedModel;

TEST(SetLayerCount, OneStepAtATimeAddsZeroLayersAboveTheSubstrate) {
  SampleModel model = TaggedModel(1);
  for (int n = 2; n <= 4; ++n) {
    SetLayerCount(model, n);
    EXPECT_EQ(model.baseGrid.rowCount(), n + 3);
    EXPECT_EQ(Cells(model.baseGrid, n + 1), kZeroRow) << n;
    EXPECT_EQ(model.baseGrid.cell(n + 1, kColLabel), std::to_string(n));
    EXPECT_EQ(Cells(model.baseGrid, n + 2), Tagged("S")) << n;
    EXPECT_EQ(model.baseGrid.cell(n + 2, kColLabel), "bulk");
  }
  EXPECT_EQ(Cells(model.baseGrid, 2), Tagged("L1"));
}

TEST(SetLayerCount, FromOneStraightToThreeLeavesTheOldSubstrateAsLayerTwo) {
  SampleModel model;
  const test::RowCells bulk = Cells(model.baseGrid, 3);
  SetLayerCount(model, 3);
  EXPECT_EQ(model.edtLayers, 3);
  EXPECT_EQ(model.baseGrid.cell(3, kColLabel), "bulk");
  EXPECT_EQ(Cells(model.baseGrid, 3), bulk);
  EXPECT_EQ(model.baseGrid.cell(3, kColThickness), "N/A");
  EXPECT_EQ(model.baseGrid.cell(4, kColLabel), "3");
  EXPECT_EQ(Cells(model.baseGrid, 4), kZeroRow);
  EXPECT_EQ(model.baseGrid.cell(5, kColLabel), "bulk");
  EXPECT_EQ(Cells(model.baseGrid, 5), bulk);
}

TEST(SetLayerCount, HiddenRowsComeBackWithTheirCells) {
  SampleModel model = TaggedModel(5);
  SetLayerCount(model, 2);
  EXPECT_EQ(model.baseGrid.rowCount(), 5);
  EXPECT_EQ(Cells(model.baseGrid, 4), Tagged("S"));
  SetLayerCount(model, 5);
  EXPECT_EQ(Cells(model.baseGrid, 2), Tagged("L1"));
  EXPECT_EQ(Cells(model.baseGrid, 3), Tagged("L2"));
  // Layer 3 was the substrate row while the count was 2.
  EXPECT_EQ(Cells(model.baseGrid, 4), Tagged("S"));
  EXPECT_EQ(model.baseGrid.cell(4, kColLabel), "bulk");
  EXPECT_EQ(Cells(model.baseGrid, 5), Tagged("L4"));
  EXPECT_EQ(Cells(model.baseGrid, 6), kZeroRow);
  EXPECT_EQ(Cells(model.baseGrid, 7), Tagged("S"));
}

TEST(SetLayerCount, RowsNeverShownAreEmpty) {
  SampleModel model;
  SetLayerCount(model, 4);
  EXPECT_EQ(Cells(model.baseGrid, 3)[0], "N/A");  // the old substrate
  EXPECT_EQ(Cells(model.baseGrid, 4), test::RowCells{});
  EXPECT_EQ(model.baseGrid.cell(4, kColLabel), "");
}

TEST(SetLayerCount, LimitsAndIgnoredValues) {
  SampleModel model;
  SetLayerCount(model, 12000);
  EXPECT_EQ(model.edtLayers, 9999);
  EXPECT_EQ(model.baseGrid.rowCount(), 10002);
  SetLayerCount(model, -3);
  EXPECT_EQ(model.edtLayers, 9999);
  EXPECT_EQ(model.baseGrid.rowCount(), 10002);
  SetLayerCount(model, 0);
  EXPECT_EQ(model.baseGrid.rowCount(), 3);
  EXPECT_EQ(model.baseGrid.cell(2, kColLabel), "bulk");
  EXPECT_EQ(model.baseGrid.cell(2, kColRho), SampleModel().baseGrid.cell(3, kColRho));
}

TEST(SetLayerCount, TheCoreKeepsItsLabelWhenTheCountChanges) {
  SampleModel model;
  model.type = SampleType::SymmetricFilm;
  SetLayerCount(model, 2);
  EXPECT_EQ(model.baseGrid.cell(4, kColLabel), "core");
  EXPECT_EQ(model.baseGrid.cell(1, kColLabel), "air");
}

TEST(SetLayerCount, PositionsFollowTheCount) {
  SampleModel model = TaggedModel(6);
  SetInsertLayer(model, 5);
  SetFunctionLayer(model, 9);
  EXPECT_EQ(model.edtFunctionLayer, 6);
  SetLayerCount(model, 3);
  EXPECT_EQ(model.edtInsertLayer, 3);
  EXPECT_EQ(model.edtFunctionLayer, 3);
  SetInsertLayer(model, -1);
  EXPECT_EQ(model.edtInsertLayer, 0);
}

TEST(SetStackedLayerCount, GrowsWithZeroRowsAndRespectsBothLimits) {
  SampleModel model;
  SetStackedLayerCount(model, 3);
  EXPECT_EQ(model.mlGrid.rowCount(), 4);
  EXPECT_EQ(model.mlGrid.cell(3, kColLabel), "3");
  EXPECT_EQ(Cells(model.mlGrid, 3), kZeroRow);
  EXPECT_EQ(model.mlGrid.cell(2, kColThickness), "11");

  SetStackedLayerCount(model, 0);
  EXPECT_EQ(model.edtStackedLayers, 3);
  SetStackedLayerCount(model, 150);
  EXPECT_EQ(model.edtStackedLayers, 99);

  SetLayerCount(model, 9990);
  SetStackedLayerCount(model, 20);
  EXPECT_EQ(model.edtStackedLayers, 9);
  EXPECT_EQ(model.mlGrid.rowCount(), 10);
  // No room at all: the count stays as it was.
  SetLayerCount(model, 9999);
  SetStackedLayerCount(model, 5);
  EXPECT_EQ(model.edtStackedLayers, 9);
}

TEST(SetStackedLayerCount, ShrinkAndGrowZeroesTheReturningRow) {
  SampleModel model;
  SetStackedLayerCount(model, 1);
  EXPECT_EQ(model.mlGrid.rowCount(), 2);
  SetStackedLayerCount(model, 2);
  EXPECT_EQ(model.mlGrid.cell(2, kColThickness), "0");  // a grown grid zeroes its new last row
}

TEST(SpinFields, OutOfRangeValuesAreLimited) {
  SampleModel model;
  SetRepetitions(model, 0);
  EXPECT_EQ(model.edtRepts, 1);
  SetRepetitions(model, 100);
  EXPECT_EQ(model.edtRepts, 99);
  SetNumCalcLayers(model, 500);
  EXPECT_EQ(model.edtNumCalcLayers, 199);
  SetNumParameters(model, 6);
  EXPECT_EQ(model.function.numParameters, 5);
  SetNumParameters(model, -1);
  EXPECT_EQ(model.function.numParameters, 0);
  SetFunctionParameter(model, 4, -3e120);
  EXPECT_EQ(model.function.parameters[4], -1e99);
  SetFunctionParameter(model, 0, 2.5);
  EXPECT_EQ(model.function.parameters[0], 2.5);
}

}  // namespace
}  // namespace quorrel
