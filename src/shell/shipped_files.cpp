#include "shell/shipped_files.h"

namespace quorrel {

std::filesystem::path ShippedMaterialTable(const std::filesystem::path& programFolder) {
  const std::filesystem::path beside = programFolder / "database" / "quorrel.db";
  const std::filesystem::path installed =
      programFolder.parent_path() / "share" / "quorrel" / "database" / "quorrel.db";
  std::error_code error;
  if (!std::filesystem::exists(beside, error) && std::filesystem::exists(installed, error)) {
    return installed;
  }
  return beside;
}

}  // namespace quorrel
