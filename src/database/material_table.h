#pragma once
// The material table in its file: a thin storage class over an SQLite file read through Qt
// SQL. Each object has a connection of its own, so several tables can be open at once.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "database/material_record.h"

namespace quorrel {

//! Whether an open table may be changed.
enum class TableAccess { ReadOnly, ReadWrite };

//! A record together with the key by which the table finds it again.
struct StoredMaterial {
  std::int64_t key;
  MaterialRecord record;
};

//! One material table file: its records of one kind in their order (elements by "ByCharge",
//! compounds by "ByName"), insertion, change and deletion. Every failure throws DatabaseError.
class MaterialTable {
 public:
  MaterialTable();
  ~MaterialTable();
  MaterialTable(const MaterialTable&) = delete;
  MaterialTable& operator=(const MaterialTable&) = delete;

  //! Makes a new, empty table file; refuses a path that exists.
  static void Create(const std::filesystem::path& directory, const std::string& fileName);

  //! Opens an existing table file. A missing file is an error and is never created.
  void open(const std::filesystem::path& directory, const std::string& fileName,
            TableAccess access);
  //! Opens the table at a full path: its directory and its file name.
  void open(const std::filesystem::path& path, TableAccess access);
  void close();
  bool isOpen() const { return !connection_.empty(); }

  //! The records of one kind, in that kind's order.
  std::vector<StoredMaterial> list(MaterialKind kind) const;
  //! The record at a position (from 0) of list(kind).
  StoredMaterial recordAt(MaterialKind kind, int position) const;

  //! A new record's defaults: the kind, Z 0 for a compound, the next free ID.
  MaterialRecord newRecord(MaterialKind kind) const;
  //! One more than the largest ID of all records, 1 for a table without IDs.
  int nextFreeId() const;

  //! Stores a new record and returns its key; a record failing ValidateMaterialRecord is
  //! refused and the table stays as it was.
  std::int64_t insert(const MaterialRecord& record);
  //! Stores several records at once: all of them, or none when one is refused.
  void insert(std::span<const MaterialRecord> records);
  //! Replaces the record with this key.
  void change(std::int64_t key, const MaterialRecord& record);
  //! Deletes the record with this key.
  void remove(std::int64_t key);

 private:
  void requireOpen() const;
  void requireWritable() const;

  std::string connection_;   // the Qt SQL connection name, empty while closed
  std::string path_;         // for messages
  TableAccess access_ = TableAccess::ReadOnly;
};

}  // namespace quorrel
