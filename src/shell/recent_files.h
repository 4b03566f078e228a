#pragma once
// The projects and models opened last, newest first, as "&File" lists them.

#include <string>
#include <vector>

#include "shell/settings_store.h"

namespace quorrel {

class RecentFiles {
 public:
  static constexpr std::size_t kMost = 8;

  //! The list kept in `store` (section "Recent"), without empty names.
  static RecentFiles Read(const SettingsStore& store);
  void write(SettingsStore& store) const;

  //! `path` to the front; an earlier mention goes, and the oldest beyond kMost.
  void add(const std::string& path);
  //! `path` leaves the list (a file that is no longer there).
  void remove(const std::string& path);
  const std::vector<std::string>& paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
};

}  // namespace quorrel
