#pragma once
// The --database option of the commands that read the material table.

#include <filesystem>

#include "cli/arguments.h"

namespace quorrel::cli {

inline constexpr const char* kDatabaseOption = "--database";

//! The table given with --database, else the one shipped beside the program.
std::filesystem::path TablePath(const Arguments& args);

}  // namespace quorrel::cli
