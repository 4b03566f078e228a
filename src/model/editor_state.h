#pragma once
// What the model editor remembers besides the model: the current row of each grid.

#include <optional>

namespace quorrel {

//! The two grids of the model editor.
enum class EditorGrid { Base, Multilayer };

//! One cell of the editor's grids.
struct EditorCell {
  EditorGrid grid = EditorGrid::Base;
  int row = 0;
  int column = 0;
  friend bool operator==(const EditorCell&, const EditorCell&) = default;
};

//! The row operations act on the current row of the grid whose row label was clicked.
struct EditorState {
  std::optional<int> baseCurrentRow;  // none at creation
  std::optional<int> mlCurrentRow;
  //! "I want to test my function" is enabled once a function has been chosen or loaded.
  bool testFunctionEnabled = false;

  std::optional<int> currentRow(EditorGrid grid) const {
    return grid == EditorGrid::Base ? baseCurrentRow : mlCurrentRow;
  }
};

//! A mouse-button release over a cell of `grid` in `row`: outside the header row it makes the
//! row that grid's current row and clears the other grid's.
inline void ReleaseOverCell(EditorState& state, EditorGrid grid, int row) {
  if (row < 1) return;
  state.baseCurrentRow.reset();
  state.mlCurrentRow.reset();
  (grid == EditorGrid::Base ? state.baseCurrentRow : state.mlCurrentRow) = row;
}

}  // namespace quorrel
