#pragma once
// Reading a whole text file for the readers.

#include <filesystem>
#include <string>
#include <string_view>

namespace quorrel {

//! The bytes of the regular file at `path`. Throws FileError naming `kind` (for example
//! "model file") and the path when it is missing, not a file, or cannot be read.
std::string ReadTextFile(const std::filesystem::path& path, std::string_view kind);

}  // namespace quorrel
