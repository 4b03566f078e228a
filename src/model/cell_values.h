#pragma once
// Reading numbers out of grid cells at the moment they are used.

#include "model/text_grid.h"

namespace quorrel {

//! The cell's number by the locale conversion; a CellError naming `gridName`, the row, the
//! column and the text when it is not one.
double CellNumber(const TextGrid& grid, const char* gridName, int row, int column);

}  // namespace quorrel
