#pragma once
// Writing a whole file so that a failed save never destroys the old one.

#include <filesystem>
#include <string_view>

namespace quorrel {

//! Writes `content` to a new file in the folder of `path` and renames it into place, so that
//! `path` holds either its old content or all of the new one. Throws FileError naming `path`
//! when the file cannot be written; the old file then stays as it was.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

}  // namespace quorrel
