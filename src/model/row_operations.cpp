#include "model/row_operations.h"

#include <algorithm>
#include <array>

#include "model/editor_fields.h"

namespace quorrel {

namespace {

TextGrid& GridOf(SampleModel& model, EditorGrid grid) {
  return grid == EditorGrid::Base ? model.baseGrid : model.mlGrid;
}

const TextGrid& GridOf(const SampleModel& model, EditorGrid grid) {
  return grid == EditorGrid::Base ? model.baseGrid : model.mlGrid;
}

//! The current row when it is a visible data row of the grid.
std::optional<int> TargetRow(const SampleModel& model, const EditorState& state,
                             EditorGrid grid) {
  const std::optional<int> row = state.currentRow(grid);
  if (!row || *row < 1 || *row >= GridOf(model, grid).rowCount()) return std::nullopt;
  return row;
}

//! Shifts rows `row` .. `last` - 1 down by one (the old `last` is overwritten) and zeroes `row`.
void OpenZeroRow(TextGrid& grid, int row, int last) {
  for (int k = last - 1; k >= row; --k) CopyLayerRow(grid, k, k + 1);
  ZeroLayerRow(grid, row);
}

}  // namespace

std::optional<std::string> CopyRow(const SampleModel& model, const EditorState& state,
                                   EditorGrid grid) {
  const std::optional<int> row = TargetRow(model, state, grid);
  if (!row) return std::nullopt;
  std::string text;
  for (int c = kColThickness; c < kGridColumns; ++c) {
    text += GridOf(model, grid).cell(*row, c);
    text += "\r\n";
  }
  return text;
}

void PasteRow(SampleModel& model, const EditorState& state, EditorGrid grid,
              std::string_view clipboard) {
  const std::optional<int> row = TargetRow(model, state, grid);
  if (!row) return;
  for (int c = kColThickness; c < kGridColumns; ++c) {
    std::string line;
    if (!clipboard.empty()) {
      const std::size_t end = clipboard.find_first_of("\r\n");
      line = std::string(clipboard.substr(0, end));
      if (end == std::string_view::npos) {
        clipboard = {};
      } else {
        const bool crlf = clipboard[end] == '\r' && end + 1 < clipboard.size() &&
                          clipboard[end + 1] == '\n';
        clipboard.remove_prefix(end + (crlf ? 2 : 1));
      }
    }
    GridOf(model, grid).setCell(*row, c, std::move(line));
  }
}

void InsertRow(SampleModel& model, const EditorState& state, EditorGrid grid) {
  const std::optional<int> row = TargetRow(model, state, grid);
  if (!row) return;
  if (grid == EditorGrid::Multilayer) {
    SetStackedLayerCount(model, model.edtStackedLayers + 1);
    OpenZeroRow(model.mlGrid, *row, model.edtStackedLayers);
    return;
  }
  if (*row == 1) return;
  SetLayerCount(model, model.edtLayers + 1);
  const int lastLayerRow = model.edtLayers + 1;
  // At the largest count an insert on the substrate row zeroes the last layer instead: the
  // substrate keeps its values whatever the count.
  OpenZeroRow(model.baseGrid, std::min(*row, lastLayerRow), lastLayerRow);
}

void DeleteRow(SampleModel& model, const EditorState& state, EditorGrid grid) {
  const std::optional<int> row = TargetRow(model, state, grid);
  if (!row) return;
  if (grid == EditorGrid::Multilayer) {
    for (int k = *row; k <= model.edtStackedLayers; ++k) CopyLayerRow(model.mlGrid, k + 1, k);
    SetStackedLayerCount(model, model.edtStackedLayers - 1);
  } else {
    for (int k = *row; k <= model.edtLayers + 1; ++k) CopyLayerRow(model.baseGrid, k + 1, k);
    SetLayerCount(model, model.edtLayers - 1);
  }
  model.function.parameterNames = {"A", "B", "C", "D", "E"};
}

void MoveRow(SampleModel& model, EditorGrid grid, int from, int to) {
  TextGrid& cells = GridOf(model, grid);
  const int last = cells.rowCount() - 1;
  if (from < 1 || to < 1 || from > last || to > last || from == to) return;
  // The label, the layer columns and the angle.
  std::array<std::string, kColThetaM + 1> moving;
  for (int c = 0; c <= kColThetaM; ++c) moving[static_cast<std::size_t>(c)] = cells.cell(from, c);
  const int step = from < to ? 1 : -1;
  for (int row = from; row != to; row += step) {
    for (int c = 0; c <= kColThetaM; ++c) {
      std::string text = cells.cell(row + step, c);
      cells.setCell(row, c, std::move(text));
    }
  }
  for (int c = 0; c <= kColThetaM; ++c) {
    cells.setCell(to, c, std::move(moving[static_cast<std::size_t>(c)]));
  }
}

}  // namespace quorrel
