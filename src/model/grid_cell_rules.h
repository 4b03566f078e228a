#pragma once
// The rules that keep the editor's grids consistent while cells are edited and when a grid
// loses the focus.

#include <string>

#include "model/sample_model.h"

namespace quorrel {

//! Focus leaves BaseGrid: "air" and its "N/A" cells are restored, the substrate (not the core)
//! is labelled "bulk" with thickness "N/A", and the layer rows are numbered "1", "2", ...
//! Material names written into the label column are replaced, except on the "core" row.
void LeaveBaseGrid(SampleModel& model);

//! Focus leaves MLGrid (or the editor is deactivated): its rows are numbered "1" to "M".
void LeaveMLGrid(SampleModel& model);

//! A cell of BaseGrid edited to `text`. With the symmetric film and identical sigmas, a
//! roughness goes into every row from layer 1 to the core; the "air" row is left alone.
void EditBaseCell(SampleModel& model, int row, int column, const std::string& text);

}  // namespace quorrel
