#pragma once
// The rules of the material table editor, without its window: one kind of record at a time,
// a current record in that kind's order, and the browse, edit and insert modes.

#include <cstdint>
#include <optional>
#include <vector>

#include "database/material_record.h"
#include "database/material_table.h"

namespace quorrel {

//! What the editor is doing with the current record.
enum class EditMode { Browsing, Editing, Inserting };

//! Walks and edits the records of one kind of an open, writable table. Leaving a record that
//! is being edited (moving, inserting, refreshing, switching the kind) stores it first, as
//! a form on a table does; when the table refuses it, nothing moves and the edit stays.
//! Every failure of the table throws DatabaseError.
class MaterialEditing {
 public:
  //! Shows the first record of `kind`. The table must stay open while this object lives.
  MaterialEditing(MaterialTable& table, MaterialKind kind);

  MaterialKind kind() const { return kind_; }
  EditMode mode() const { return mode_; }
  bool editing() const { return mode_ != EditMode::Browsing; }

  //! The records of the kind in its order, as last read from the table.
  const std::vector<StoredMaterial>& records() const { return records_; }
  //! The position in records() of the current record; nothing when the kind has none. While
  //! inserting, the record that was current before.
  std::optional<int> position() const { return position_; }
  //! The record the fields show: the one being edited, else the current one; null when the
  //! kind has no record and none is being inserted.
  const MaterialRecord* current() const;
  bool atFirst() const;
  bool atLast() const;

  //! One more than the largest ID of all kinds; what the next inserted record gets.
  int nextFreeId() const { return table_.nextFreeId(); }

  //! Switches to the other page's kind and shows its first record.
  void setKind(MaterialKind kind);

  void first();
  void prior();
  void next();
  void last();

  //! Starts a new record of the kind with its defaults and the next free ID.
  void insert();
  //! Starts editing the current record; nothing happens when there is none.
  void edit();
  //! The record being edited; the fields write into it before posting.
  MaterialRecord& edited();

  //! Stores the record being edited, which then stays current in the kind's order. A record
  //! the table refuses ("Field 'name' must have a value") throws and stays in edit.
  void post();
  //! Drops the edits and shows the record that was current before.
  void cancel();
  //! Deletes the current record; while inserting, drops the new one instead.
  void remove();
  //! Reads the records again, keeping the current one when it still exists.
  void refresh();

 private:
  //! Stores a pending edit before the current record is left.
  void leave();
  //! Reads the records of `kind` and makes the one with `key` current, else the one at
  //! `fallback`, clamped to the list.
  void reload(MaterialKind kind, std::optional<std::int64_t> key, int fallback);
  void moveTo(int position);

  MaterialTable& table_;
  MaterialKind kind_;
  EditMode mode_ = EditMode::Browsing;
  std::vector<StoredMaterial> records_;
  std::optional<int> position_;
  MaterialRecord edited_;
};

}  // namespace quorrel
