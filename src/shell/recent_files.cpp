#include "shell/recent_files.h"

#include <algorithm>

namespace quorrel {

namespace {

constexpr const char* kSection = "Recent";

std::string Name(std::size_t k) { return std::string("File") + std::to_string(k + 1); }

}  // namespace

RecentFiles RecentFiles::Read(const SettingsStore& store) {
  RecentFiles recent;
  for (std::size_t k = 0; k < kMost; ++k) {
    const std::optional<std::string> path = store.read(kSection, Name(k));
    if (path && !path->empty()) recent.paths_.push_back(*path);
  }
  return recent;
}

void RecentFiles::write(SettingsStore& store) const {
  store.removeSection(kSection);
  for (std::size_t k = 0; k < paths_.size(); ++k) store.write(kSection, Name(k), paths_[k]);
}

void RecentFiles::add(const std::string& path) {
  remove(path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > kMost) paths_.resize(kMost);
}

void RecentFiles::remove(const std::string& path) { std::erase(paths_, path); }

}  // namespace quorrel
