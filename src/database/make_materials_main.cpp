// quorrel-make-materials SOURCE TABLE: builds the shipped material table from its text
// source. The table is written under a temporary name and renamed into place, so a failed
// build leaves no half-filled table behind.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "common/error.h"
#include "database/material_source.h"
#include "database/material_table.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw quorrel::FileError("Cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void MakeTable(const std::filesystem::path& source, const std::filesystem::path& target) {
  using namespace quorrel;
  const std::vector<MaterialRecord> records =
      ParseMaterialSource(ReadFile(source), source.filename().string());
  std::filesystem::path temporary = target;
  temporary += ".tmp";
  std::filesystem::remove(temporary);
  MaterialTable::Create(temporary.parent_path(), temporary.filename().string());
  try {
    MaterialTable table;
    table.open(temporary, TableAccess::ReadWrite);
    table.insert(records);
  } catch (...) {
    std::filesystem::remove(temporary);
    throw;
  }
  std::filesystem::rename(temporary, target);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: quorrel-make-materials SOURCE TABLE\n";
    return 2;
  }
  try {
    MakeTable(argv[1], argv[2]);
  } catch (const std::exception& error) {
    std::cerr << "quorrel-make-materials: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
