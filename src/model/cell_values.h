#pragma once
// Reading numbers out of grid cells at the moment they are used.

#include <optional>
#include <string>

#include "model/text_grid.h"

namespace quorrel {

//! The cell's number by the locale conversion; a CellError naming `gridName`, the row, the
//! column and the text when it is not one.
double CellNumber(const TextGrid& grid, const char* gridName, int row, int column);

//! A cell of the editor as the user sees it: its table, its row by the row's label and its
//! column by the header ("Multilayer table, row 1, d / Å", "Layer table, air, rho / Å^-2").
//! `gridName` is "BaseGrid" or "MLGrid".
std::string CellPlace(const TextGrid& grid, const char* gridName, int row, int column);

//! The text of a numeric cell tuned by `notches` steps of `fraction` of its value each
//! (0.01 for 1 %), as the wheel tunes it; nothing for a text that is not a number.
std::optional<std::string> TunedCellText(const std::string& text, int notches, double fraction);

}  // namespace quorrel
