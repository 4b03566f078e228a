#pragma once
// The user function file (.fnc): description, expression and number of parameters of one
// user-defined profile function, one per line.

#include <filesystem>

#include "model/function_settings.h"

namespace quorrel {

//! Writes the comment, the expression and the number of parameters as three lines ending
//! in CR LF, atomically. Line breaks inside the texts are written as blanks, so that the
//! file keeps its three lines. Throws FileError when the file cannot be written.
void SaveUserFunction(const std::filesystem::path& path, const FunctionSettings& function);

//! Reads the three lines into the comment, the expression and the number of parameters
//! (missing lines read as empty, an empty count as 0, a count kept within 0 to 5) and
//! names the first that many parameters "A", "B", ... . Throws FileError when the file
//! cannot be read, and when the third line is not an integer; the comment and expression
//! have then already been set.
void LoadUserFunction(const std::filesystem::path& path, FunctionSettings& function);

}  // namespace quorrel
