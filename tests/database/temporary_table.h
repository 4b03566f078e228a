#pragma once
// Test helpers: a temporary folder for table files and ready-made records.

#include <filesystem>
#include <initializer_list>
#include <string>

#include "database/material_record.h"

namespace quorrel::testing {

//! A fresh folder under the system's temporary folder, removed with its content.
class TemporaryDirectory {
 public:
  TemporaryDirectory();
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

//! Runs SQL statements on an SQLite file (created when missing), bypassing MaterialTable,
//! to build files that MaterialTable would never write.
void ExecuteSql(const std::filesystem::path& file, std::initializer_list<const char*> statements);

//! Silicon with the values the lookup examples use.
MaterialRecord Silicon();
//! A complete element or compound record.
MaterialRecord Element(const std::string& name, int z, int id);
MaterialRecord Compound(const std::string& name, int id);

}  // namespace quorrel::testing
