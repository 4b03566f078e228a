#pragma once
// Where the files that come with the program are: beside it in a build, or in the shared
// data folder of an installation.

#include <filesystem>

namespace quorrel {

//! The material table that comes with the program in `programFolder`: the build's
//! database/quorrel.db beside it, else an installation's ../share/quorrel/database/quorrel.db;
//! the first when neither exists, so that a message names where it was looked for.
std::filesystem::path ShippedMaterialTable(const std::filesystem::path& programFolder);

}  // namespace quorrel
