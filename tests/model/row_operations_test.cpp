#include "model/row_operations.h"

#include <gtest/gtest.h>

#include "editor_test_rows.h"
#include "model/editor_fields.h"

namespace quorrel {
namespace {

using test::Cells;
using test::SetCells;
using test::Tagged;
using test::kZeroRow;
using test::TaggedModel;

EditorState At(EditorGrid grid, int row) {
  EditorState state;
  ReleaseOverCell(state, grid, row);
  return state;
}

TEST(EditorState, AReleaseSelectsOneGridsRowOnly) {
  EditorState state;
  ReleaseOverCell(state, EditorGrid::Base, 3);
  EXPECT_EQ(state.baseCurrentRow, 3);
  ReleaseOverCell(state, EditorGrid::Multilayer, 0);  // the header row selects nothing
  EXPECT_EQ(state.baseCurrentRow, 3);
  ReleaseOverCell(state, EditorGrid::Multilayer, 2);
  EXPECT_EQ(state.mlCurrentRow, 2);
  EXPECT_FALSE(state.baseCurrentRow.has_value());
}

TEST(CopyRow, PasteOnAnotherRowDuplicatesTheCellsInBothGrids) {
  SampleModel model = TaggedModel(3);
  const std::optional<std::string> clip = CopyRow(model, At(EditorGrid::Base, 3), EditorGrid::Base);
  ASSERT_TRUE(clip.has_value());
  EXPECT_EQ(*clip, "L2d\r\nL2r\r\nL2i\r\nL2s\r\nL2m\r\nL2n\r\n");
  PasteRow(model, At(EditorGrid::Multilayer, 1), EditorGrid::Multilayer, *clip);
  EXPECT_EQ(Cells(model.mlGrid, 1), Tagged("L2"));
  EXPECT_EQ(model.mlGrid.cell(1, kColLabel), "1");  // the label is not copied
  PasteRow(model, At(EditorGrid::Base, 5), EditorGrid::Base, *clip);
  EXPECT_EQ(Cells(model.baseGrid, 5), Tagged("L2"));
  EXPECT_EQ(model.baseGrid.cell(5, kColLabel), "bulk");
}

TEST(PasteRow, MissingLinesEmptyTheirCells) {
  SampleModel model = TaggedModel(2);
  PasteRow(model, At(EditorGrid::Base, 2), EditorGrid::Base, "1\n2.5\r3");
  EXPECT_EQ(Cells(model.baseGrid, 2), (test::RowCells{"1", "2.5", "3", "", "", ""}));
  PasteRow(model, At(EditorGrid::Base, 3), EditorGrid::Base, "");
  EXPECT_EQ(Cells(model.baseGrid, 3), test::RowCells{});
}

TEST(RowOperations, DoNothingWithoutACurrentRow) {
  SampleModel model = TaggedModel(2);
  const EditorState onBase = At(EditorGrid::Base, 2);
  EXPECT_FALSE(CopyRow(model, onBase, EditorGrid::Multilayer).has_value());
  InsertRow(model, onBase, EditorGrid::Multilayer);
  DeleteRow(model, EditorState{}, EditorGrid::Base);
  EXPECT_EQ(model.edtLayers, 2);
  EXPECT_EQ(model.edtStackedLayers, 2);
  // A remembered row that the grid no longer shows is no target either.
  SetLayerCount(model, 0);
  InsertRow(model, At(EditorGrid::Base, 4), EditorGrid::Base);
  EXPECT_EQ(model.edtLayers, 0);
}

TEST(InsertRow, OnLayerTwoOfFiveShiftsTheRestDown) {
  SampleModel model = TaggedModel(5);
  InsertRow(model, At(EditorGrid::Base, 3), EditorGrid::Base);
  EXPECT_EQ(model.edtLayers, 6);
  EXPECT_EQ(Cells(model.baseGrid, 2), Tagged("L1"));
  EXPECT_EQ(Cells(model.baseGrid, 3), kZeroRow);
  for (int j = 2; j <= 5; ++j) {
    EXPECT_EQ(Cells(model.baseGrid, j + 2), Tagged(test::LayerTag(j))) << j;
  }
  EXPECT_EQ(Cells(model.baseGrid, 8), Tagged("S"));
}

TEST(RowOperations, TheAngleMovesWithItsRowAndANewRowHasTheDefault) {
  SampleModel model = TaggedModel(3);
  for (int row = 2; row <= 5; ++row) model.baseGrid.setCell(row, kColThetaM, std::to_string(row));
  InsertRow(model, At(EditorGrid::Base, 3), EditorGrid::Base);
  const std::vector<std::string> inserted = {"2", "", "3", "4", "5"};
  for (int row = 2; row <= 6; ++row) {
    EXPECT_EQ(model.baseGrid.cell(row, kColThetaM), inserted[static_cast<std::size_t>(row - 2)])
        << row;
  }
  DeleteRow(model, At(EditorGrid::Base, 2), EditorGrid::Base);
  EXPECT_EQ(model.baseGrid.cell(2, kColThetaM), "");
  EXPECT_EQ(model.baseGrid.cell(5, kColThetaM), "5");  // the substrate's
  MoveRow(model, EditorGrid::Base, 3, 2);
  EXPECT_EQ(model.baseGrid.cell(2, kColThetaM), "3");
}

TEST(InsertRow, AirRowIsRefusedAndBulkRowAddsALayerAboveIt) {
  SampleModel model = TaggedModel(2);
  InsertRow(model, At(EditorGrid::Base, 1), EditorGrid::Base);
  EXPECT_EQ(model.edtLayers, 2);
  InsertRow(model, At(EditorGrid::Base, 4), EditorGrid::Base);
  EXPECT_EQ(model.edtLayers, 3);
  EXPECT_EQ(Cells(model.baseGrid, 3), Tagged("L2"));
  EXPECT_EQ(Cells(model.baseGrid, 4), kZeroRow);
  EXPECT_EQ(Cells(model.baseGrid, 5), Tagged("S"));
}

TEST(InsertRow, AtTheLargestCountTheLastLayerIsLost) {
  SampleModel model = TaggedModel(9999);
  InsertRow(model, At(EditorGrid::Base, 9999), EditorGrid::Base);
  EXPECT_EQ(model.edtLayers, 9999);
  EXPECT_EQ(Cells(model.baseGrid, 9999), kZeroRow);
  EXPECT_EQ(Cells(model.baseGrid, 10000), Tagged("L9998"));
  EXPECT_EQ(Cells(model.baseGrid, 10001), Tagged("S"));
  // On the substrate row the zero layer replaces the last layer; the substrate stays.
  InsertRow(model, At(EditorGrid::Base, 10001), EditorGrid::Base);
  EXPECT_EQ(Cells(model.baseGrid, 10000), kZeroRow);
  EXPECT_EQ(Cells(model.baseGrid, 10001), Tagged("S"));
}

TEST(InsertRow, MultilayerGridAtFirstRowAndAtItsLimit) {
  SampleModel model;
  SetCells(model.mlGrid, 1, Tagged("P1"));
  SetCells(model.mlGrid, 2, Tagged("P2"));
  InsertRow(model, At(EditorGrid::Multilayer, 1), EditorGrid::Multilayer);
  EXPECT_EQ(model.edtStackedLayers, 3);
  EXPECT_EQ(Cells(model.mlGrid, 1), kZeroRow);
  EXPECT_EQ(Cells(model.mlGrid, 2), Tagged("P1"));
  EXPECT_EQ(Cells(model.mlGrid, 3), Tagged("P2"));
  EXPECT_EQ(model.mlGrid.cell(3, kColLabel), "3");

  SetStackedLayerCount(model, 99);
  SetCells(model.mlGrid, 98, Tagged("P98"));
  SetCells(model.mlGrid, 99, Tagged("P99"));
  InsertRow(model, At(EditorGrid::Multilayer, 98), EditorGrid::Multilayer);
  EXPECT_EQ(model.edtStackedLayers, 99);
  EXPECT_EQ(Cells(model.mlGrid, 98), kZeroRow);
  EXPECT_EQ(Cells(model.mlGrid, 99), Tagged("P98"));
}

TEST(DeleteRow, AirRowPullsEverythingUp) {
  SampleModel model = TaggedModel(3);
  DeleteRow(model, At(EditorGrid::Base, 1), EditorGrid::Base);
  EXPECT_EQ(model.edtLayers, 2);
  EXPECT_EQ(Cells(model.baseGrid, 1), Tagged("L1"));
  EXPECT_EQ(Cells(model.baseGrid, 2), Tagged("L2"));
  EXPECT_EQ(Cells(model.baseGrid, 3), Tagged("L3"));
  EXPECT_EQ(Cells(model.baseGrid, 4), Tagged("S"));
}

TEST(DeleteRow, MiddleAndBulkRows) {
  SampleModel model = TaggedModel(4);
  DeleteRow(model, At(EditorGrid::Base, 3), EditorGrid::Base);
  EXPECT_EQ(model.edtLayers, 3);
  EXPECT_EQ(Cells(model.baseGrid, 3), Tagged("L3"));
  EXPECT_EQ(Cells(model.baseGrid, 4), Tagged("L4"));
  EXPECT_EQ(Cells(model.baseGrid, 5), Tagged("S"));
  DeleteRow(model, At(EditorGrid::Base, 5), EditorGrid::Base);
  EXPECT_EQ(model.edtLayers, 2);
  EXPECT_EQ(Cells(model.baseGrid, 3), Tagged("L3"));
  EXPECT_EQ(Cells(model.baseGrid, 4), Tagged("S"));
}

TEST(DeleteRow, WithoutLayersTheCountStaysZero) {
  SampleModel model = TaggedModel(0);
  DeleteRow(model, At(EditorGrid::Base, 2), EditorGrid::Base);
  EXPECT_EQ(model.edtLayers, 0);
  EXPECT_EQ(Cells(model.baseGrid, 1), Tagged("A"));
  EXPECT_EQ(Cells(model.baseGrid, 2), Tagged("S"));
  DeleteRow(model, At(EditorGrid::Base, 1), EditorGrid::Base);
  EXPECT_EQ(Cells(model.baseGrid, 1), Tagged("S"));
  EXPECT_EQ(model.edtLayers, 0);
}

TEST(DeleteRow, MultilayerGridKeepsOneRow) {
  SampleModel model;
  SetCells(model.mlGrid, 1, Tagged("P1"));
  SetCells(model.mlGrid, 2, Tagged("P2"));
  DeleteRow(model, At(EditorGrid::Multilayer, 1), EditorGrid::Multilayer);
  EXPECT_EQ(model.edtStackedLayers, 1);
  EXPECT_EQ(Cells(model.mlGrid, 1), Tagged("P2"));
  // The last row takes the hidden row below it, here one that was never shown.
  DeleteRow(model, At(EditorGrid::Multilayer, 1), EditorGrid::Multilayer);
  EXPECT_EQ(model.edtStackedLayers, 1);
  EXPECT_EQ(Cells(model.mlGrid, 1), test::RowCells{});
}

TEST(DeleteRow, ResetsTheParameterNamesInEitherGrid) {
  for (EditorGrid grid : {EditorGrid::Base, EditorGrid::Multilayer}) {
    SampleModel model;
    model.function.parameterNames = {"A", "lam", "phi", "xsi", "E"};
    DeleteRow(model, At(grid, 1), grid);
    EXPECT_EQ(model.function.parameterNames,
              (std::array<std::string, 5>{"A", "B", "C", "D", "E"}));
  }
}

}  // namespace
}  // namespace quorrel

namespace quorrel {
namespace {

using test::Cells;
using test::LayerTag;
using test::Tagged;
using test::TaggedModel;

TEST(MoveRow, ARowDraggedDownOrUpTakesItsLabelAndTheOthersCloseUp) {
  SampleModel model = TaggedModel(4);  // rows: 1 air, 2..5 layers, 6 bulk
  MoveRow(model, EditorGrid::Base, 2, 4);
  EXPECT_EQ(Cells(model.baseGrid, 2), Tagged(LayerTag(2)));
  EXPECT_EQ(Cells(model.baseGrid, 3), Tagged(LayerTag(3)));
  EXPECT_EQ(Cells(model.baseGrid, 4), Tagged(LayerTag(1)));
  EXPECT_EQ(model.baseGrid.cell(4, kColLabel), "1");
  EXPECT_EQ(Cells(model.baseGrid, 5), Tagged(LayerTag(4)));

  MoveRow(model, EditorGrid::Base, 4, 2);
  for (int j = 1; j <= 4; ++j) EXPECT_EQ(Cells(model.baseGrid, j + 1), Tagged(LayerTag(j)));
  EXPECT_EQ(model.edtLayers, 4);
}

TEST(MoveRow, RowsOutsideTheGridAreIgnored) {
  SampleModel model = TaggedModel(2);
  const TextGrid before = model.baseGrid;
  MoveRow(model, EditorGrid::Base, 0, 2);   // the header row does not move
  MoveRow(model, EditorGrid::Base, 2, 5);   // beyond the last row
  MoveRow(model, EditorGrid::Multilayer, 1, 3);
  for (int row = 0; row < before.rowCount(); ++row) {
    EXPECT_EQ(Cells(model.baseGrid, row), Cells(before, row));
  }
}

}  // namespace
}  // namespace quorrel
