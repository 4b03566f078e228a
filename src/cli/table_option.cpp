#include "cli/table_option.h"

#include "common/error.h"
#include "shell/shipped_files.h"

namespace quorrel::cli {

std::filesystem::path TablePath(const Arguments& args) {
  if (const auto path = args.value(kDatabaseOption)) return *path;
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) throw QuorrelError("Cannot find the program's folder; give --database PATH");
  return ShippedMaterialTable(program.parent_path());
}

}  // namespace quorrel::cli
