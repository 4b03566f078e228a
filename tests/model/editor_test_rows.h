#pragma once
// Helpers of the model editor tests: whole rows of cells in and out of a grid.

#include <array>
#include <string>

#include "model/editor_fields.h"
#include "model/sample_model.h"

namespace quorrel::test {

//! Columns 1 to 6 of a grid row.
using RowCells = std::array<std::string, 6>;

inline RowCells Cells(const TextGrid& grid, int row) {
  RowCells cells;
  for (int c = kColThickness; c < kGridColumns; ++c) cells[c - 1] = grid.cell(row, c);
  return cells;
}

inline void SetCells(TextGrid& grid, int row, const RowCells& cells) {
  for (int c = kColThickness; c < kGridColumns; ++c) grid.setCell(row, c, cells[c - 1]);
}

//! A row whose cells all carry `tag`, so that moved rows can be recognised.
inline RowCells Tagged(const std::string& tag) {
  RowCells cells;
  const char suffixes[] = "drismn";
  for (std::size_t c = 0; c < cells.size(); ++c) cells[c].assign(tag).push_back(suffixes[c]);
  return cells;
}

//! The tag of layer j: "L1", "L2", ...
inline std::string LayerTag(int j) { return std::string("L").append(std::to_string(j)); }

inline const RowCells kZeroRow{"0", "0", "0", "0", "0", "0"};

//! A model of `n` layers whose rows carry tags: "A" the ambient, "L1" .. the layers, "S" the
//! substrate.
inline SampleModel TaggedModel(int n) {
  SampleModel model;
  SetLayerCount(model, n);
  SetCells(model.baseGrid, 1, Tagged("A"));
  for (int j = 1; j <= n; ++j) SetCells(model.baseGrid, j + 1, Tagged(LayerTag(j)));
  SetCells(model.baseGrid, n + 2, Tagged("S"));
  return model;
}

}  // namespace quorrel::test
