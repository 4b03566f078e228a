#include "database/material_lookup.h"

#include <gtest/gtest.h>

#include "common/decimal_separator.h"
#include "database/database_error.h"
#include "database/material_sld.h"
#include "database/material_table.h"
#include "model/sample_model.h"
#include "temporary_table.h"

namespace quorrel {
namespace {

using testing::Compound;
using testing::Silicon;
using testing::TemporaryDirectory;

constexpr int kRow = 3;

//! A grid whose target row has text in every column, to see what the lookup touches.
TextGrid FilledGrid() {
  TextGrid grid(kGridColumns, 5);
  for (int column = 0; column < kGridColumns; ++column) {
    std::string text(1, 'c');
    text += std::to_string(column);
    grid.setCell(kRow, column, text);
  }
  return grid;
}

std::vector<std::string> Row(const TextGrid& grid) {
  std::vector<std::string> cells;
  for (int column = 0; column < kGridColumns; ++column) cells.push_back(grid.cell(kRow, column));
  return cells;
}

TEST(ApplyMaterial, FillsLabelRhoAndImRhoOnly) {
  ScopedDecimalSeparator point('.');
  TextGrid grid = FilledGrid();
  ApplyMaterial(Silicon(), Radiation::Neutrons, grid, kRow);
  EXPECT_EQ(Row(grid), (std::vector<std::string>{"Si", "c1", "2.073E-06", "2.376E-11", "c4",
                                                 "c5", "c6"}));
  EXPECT_EQ(grid.cell(kRow - 1, kColLabel), "");
}

TEST(ApplyMaterial, ConversionErrorLeavesTheRowUnchanged) {
  TextGrid grid = FilledGrid();
  MaterialRecord record = Silicon();
  record.b_coh = "";
  EXPECT_THROW(ApplyMaterial(record, Radiation::Xrays, grid, kRow), MaterialValueError);
  EXPECT_EQ(Row(grid), Row(FilledGrid()));
}

TEST(ApplyMaterial, ZeroWeightKeepsTheNameButNotTheValues) {
  TextGrid grid = FilledGrid();
  MaterialRecord record = Silicon();
  record.weight = "0.0";
  EXPECT_THROW(ApplyMaterial(record, Radiation::Neutrons, grid, kRow), ArithmeticFault);
  EXPECT_EQ(Row(grid), (std::vector<std::string>{"Si", "c1", "c2", "c3", "c4", "c5", "c6"}));
}

TEST(LookUpMaterial, PositionFollowsTheListOrder) {
  ScopedDecimalSeparator point('.');
  TemporaryDirectory folder;
  MaterialTable::Create(folder.path(), "table.db");
  {
    MaterialTable table;
    table.open(folder / "table.db", TableAccess::ReadWrite);
    MaterialRecord heavy = Compound("zirconia", 1);
    heavy.delta = "1.653e-05";
    table.insert(heavy);
    table.insert(Compound("Al2O3", 2));
  }
  TextGrid grid = FilledGrid();
  LookUpMaterial(folder / "table.db", MaterialKind::Compound, 1, Radiation::Xrays, grid, kRow);
  EXPECT_EQ(grid.cell(kRow, kColLabel), "zirconia");
  EXPECT_EQ(grid.cell(kRow, kColRho), "4.374E-05");
}

TEST(LookUpMaterial, TableFailureLeavesTheRowUnchanged) {
  TemporaryDirectory folder;
  TextGrid grid = FilledGrid();
  EXPECT_THROW(LookUpMaterial(folder / "none.db", MaterialKind::Element, 0, Radiation::Xrays,
                              grid, kRow),
               DatabaseError);
  EXPECT_EQ(Row(grid), Row(FilledGrid()));
  EXPECT_FALSE(std::filesystem::exists(folder / "none.db"));
}

}  // namespace
}  // namespace quorrel
