#pragma once
// Reading a whole text file for the readers.

#include <filesystem>
#include <string>
#include <string_view>

namespace quorrel {

//! The bytes of the regular file at `path`. Throws FileError naming `kind` (for example
//! "model file") and the path when it is missing, not a file, or cannot be read.
std::string ReadTextFile(const std::filesystem::path& path, std::string_view kind);

//! The text after a UTF-8 byte-order mark, if it starts with one.
std::string_view WithoutByteOrderMark(std::string_view text);

//! Splits off the next line of `rest`, ending at CR LF, LF or CR; false when nothing is left.
bool NextLine(std::string_view& rest, std::string_view& line);

}  // namespace quorrel
