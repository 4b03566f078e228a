#pragma once
// Writing a whole file so that a failed save never destroys the old one.

#include <filesystem>
#include <string_view>

namespace quorrel {

//! Writes `content` to a new file in the folder of `path`, flushes it to the disk, renames it
//! into place and flushes the folder, so that even after a power cut `path` holds either its
//! old content or all of the new one. A replaced file keeps its permissions. Throws FileError
//! with one sentence naming `path` and the reason when the file cannot be written; the old
//! file then stays as it was and no temporary file is left.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

}  // namespace quorrel
