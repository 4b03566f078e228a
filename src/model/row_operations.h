#pragma once
// The row operations of the model editor's popup menu. Each acts on the current row of the
// grid whose row label was clicked and does nothing while that grid has no current row.

#include <optional>
#include <string>
#include <string_view>

#include "model/editor_state.h"
#include "model/sample_model.h"

namespace quorrel {

//! Copy Row: columns 1 to 6 of the row, one per line (each ended by CR LF); the label is not
//! copied. Empty when there is no current row.
std::optional<std::string> CopyRow(const SampleModel& model, const EditorState& state,
                                   EditorGrid grid);

//! Paste Row: line k of `clipboard` (k = 1 .. 6) into column k; a missing line gives an
//! empty cell. Lines may end with CR LF, LF or CR. The text is not validated.
void PasteRow(SampleModel& model, const EditorState& state, EditorGrid grid,
              std::string_view clipboard);

//! Insert Row: a zero row at the current row, the rows from there to the last layer moving
//! down and the count rising by one. Nothing on the "air" row; the substrate does not move.
//! At the largest count the last layer's values are lost.
void InsertRow(SampleModel& model, const EditorState& state, EditorGrid grid);

//! Delete Row: the rows below the current row move up (in BaseGrid down to and including the
//! substrate) and the count falls by one, but not below 0 layers or 1 stacked layer. Also
//! resets the parameter names to "A" .. "E".
void DeleteRow(SampleModel& model, const EditorState& state, EditorGrid grid);

//! A row dragged by its label from data row `from` to data row `to` (both from 1, within the
//! grid's rows): the whole row, label included, moves and the rows between close up. The
//! labels are put right when the grid is left.
void MoveRow(SampleModel& model, EditorGrid grid, int from, int to);

}  // namespace quorrel
