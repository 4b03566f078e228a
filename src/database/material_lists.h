#pragma once
// The loader of the "&Elements" and "&Compounds" lists.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

//! What the user is told when the table file cannot be listed.
inline constexpr const char* kBadTableMessage =
    "There is something wrong with this database file.\nyou better reload it...";

//! The captions of both lists, in list order, so that caption k of a list and record k of
//! MaterialTable::list of that kind are the same material.
struct MaterialLists {
  std::vector<std::string> elements;
  std::vector<std::string> compounds;
  //! kBadTableMessage when a table failure stopped the load; the captions gathered before
  //! it stay, but their items must not look anything up.
  std::optional<std::string> failure;
  //! The engine's own account of that failure, for logs and the command line.
  std::string reason;
};

//! Lists the table at `tablePath`. A kind without records gives an empty list and the other
//! kind is still listed. Only table failures are caught; other errors propagate.
MaterialLists LoadMaterialLists(const std::filesystem::path& tablePath);

}  // namespace quorrel
