#include "model/text_grid.h"

#include <stdexcept>

namespace quorrel {

namespace {
const std::string kEmpty;
}

TextGrid::TextGrid(int columnCount, int rowCount) : columnCount_(0), rowCount_(0) {
  setColumnCount(columnCount);
  setRowCount(rowCount);
}

void TextGrid::setRowCount(int rows) {
  if (rows < 0) throw std::out_of_range("negative row count");
  rowCount_ = rows;
}

void TextGrid::setColumnCount(int columns) {
  if (columns < 0) throw std::out_of_range("negative column count");
  columnCount_ = columns;
}

const std::string& TextGrid::cell(int row, int column) const {
  if (row < 0 || column < 0) throw std::out_of_range("negative cell position");
  const auto r = static_cast<std::size_t>(row);
  const auto c = static_cast<std::size_t>(column);
  if (r >= cells_.size() || c >= cells_[r].size()) return kEmpty;
  return cells_[r][c];
}

void TextGrid::setCell(int row, int column, std::string text) {
  if (row < 0 || column < 0) throw std::out_of_range("negative cell position");
  const auto r = static_cast<std::size_t>(row);
  const auto c = static_cast<std::size_t>(column);
  if (r >= cells_.size()) cells_.resize(r + 1);
  if (c >= cells_[r].size()) cells_[r].resize(c + 1);
  cells_[r][c] = std::move(text);
}

}  // namespace quorrel
