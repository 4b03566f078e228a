#pragma once
// A grid of text cells whose rows may leave the visible part and come back with their text.

#include <string>
#include <vector>

namespace quorrel {

//! Rows and columns counted from 0 (row 0 the header, column 0 the row label). Storage grows
//! as cells are written and never shrinks: a row beyond rowCount() keeps its cells, and a row
//! or column never written reads as "".
class TextGrid {
 public:
  TextGrid(int columnCount, int rowCount);

  int rowCount() const { return rowCount_; }
  int columnCount() const { return columnCount_; }
  void setRowCount(int rows);
  void setColumnCount(int columns);

  //! Rows that hold cells, visible or not: every cell lies below this row.
  int storedRowCount() const { return static_cast<int>(cells_.size()); }

  //! Any row and column >= 0, visible or not.
  const std::string& cell(int row, int column) const;
  void setCell(int row, int column, std::string text);

 private:
  int columnCount_;
  int rowCount_;
  std::vector<std::vector<std::string>> cells_;
};

}  // namespace quorrel
