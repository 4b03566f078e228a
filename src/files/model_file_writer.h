#pragma once
// Writing the model parameter file (.par): the sample model with the background and
// resolution settings, one value per line.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/calc_settings.h"
#include "model/sample_model.h"

namespace quorrel {

//! The file's text in the order the reader expects: sample type, grid size, BaseGrid's cells,
//! the function or multilayer block, background, resolution. Cells are written as typed;
//! function parameters and background values in the fixed real format; the velocity
//! selector's two values with their patterns and the user's separator. Every line ends in
//! CR LF. A line break inside a cell is written as a blank, so it cannot shift the lines.
//! Throws ArithmeticFault for a value that is not finite.
std::string ModelFileText(const SampleModel& model, const CalcSettings& settings);

//! The line (from 1) at which ModelFileText writes the cell of `grid` ("BaseGrid" or
//! "MLGrid", as cell errors name them) at `row` and `column`; nothing for a cell it does not
//! write.
std::optional<int> ModelFileLineOfCell(const SampleModel& model, std::string_view grid, int row,
                                       int column);

//! What the window says after saving a model with spin flip on.
inline constexpr const char* kCollinearModelFileMessage =
    "The model file keeps only the collinear part of the model: the layers' angles "
    "theta(mag), AGUIDE and H are not saved in it, and a model read from it has every "
    "magnetisation at 90 degrees.";

//! Writes ModelFileText to `path` atomically; FileError names the file when it fails, and
//! an old file then stays as it was.
void WriteModelFile(const std::filesystem::path& path, const SampleModel& model,
                    const CalcSettings& settings);

}  // namespace quorrel
