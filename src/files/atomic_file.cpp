#include "files/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "common/error.h"

namespace quorrel {

namespace {

std::string Quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

[[noreturn]] void Fail(const std::filesystem::path& path, const std::string& reason) {
  throw FileError("Cannot write the file " + Quoted(path) + ": " + reason);
}

//! Creates a file of a fresh name beside `path`; fopen's "x" refuses a name already taken.
std::FILE* CreateTemporary(const std::filesystem::path& path, std::filesystem::path& temporary) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = path;
    temporary += ".tmp" + std::to_string(random());
    if (std::FILE* file = std::fopen(temporary.c_str(), "wbx")) return file;
    if (errno != EEXIST) break;
  }
  Fail(path, std::generic_category().message(errno));
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view content) {
  std::filesystem::path temporary;
  std::FILE* file = CreateTemporary(path, temporary);
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  std::error_code ignored;
  if (!written || !closed) {
    std::filesystem::remove(temporary, ignored);
    Fail(path, std::generic_category().message(written ? errno : writeError));
  }
  std::error_code renameError;
  std::filesystem::rename(temporary, path, renameError);
  if (renameError) {
    std::filesystem::remove(temporary, ignored);
    Fail(path, renameError.message());
  }
}

}  // namespace quorrel
