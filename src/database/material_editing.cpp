#include "database/material_editing.h"

#include <algorithm>
#include <utility>

namespace quorrel {

MaterialEditing::MaterialEditing(MaterialTable& table, MaterialKind kind)
    : table_(table), kind_(kind) {
  reload(kind, std::nullopt, 0);
}

const MaterialRecord* MaterialEditing::current() const {
  if (editing()) return &edited_;
  if (!position_) return nullptr;
  return &records_[static_cast<std::size_t>(*position_)].record;
}

bool MaterialEditing::atFirst() const { return !position_ || *position_ == 0; }

bool MaterialEditing::atLast() const {
  return !position_ || *position_ + 1 == static_cast<int>(records_.size());
}

void MaterialEditing::setKind(MaterialKind kind) {
  leave();
  reload(kind, std::nullopt, 0);
}

void MaterialEditing::first() {
  leave();
  moveTo(0);
}

void MaterialEditing::prior() {
  leave();
  if (position_) moveTo(*position_ - 1);
}

void MaterialEditing::next() {
  leave();
  if (position_) moveTo(*position_ + 1);
}

void MaterialEditing::last() {
  leave();
  moveTo(static_cast<int>(records_.size()) - 1);
}

void MaterialEditing::insert() {
  leave();
  edited_ = table_.newRecord(kind_);
  mode_ = EditMode::Inserting;
}

void MaterialEditing::edit() {
  if (editing() || !position_) return;
  edited_ = records_[static_cast<std::size_t>(*position_)].record;
  mode_ = EditMode::Editing;
}

MaterialRecord& MaterialEditing::edited() { return edited_; }

void MaterialEditing::post() {
  std::int64_t key = 0;
  switch (mode_) {
    case EditMode::Browsing:
      return;
    case EditMode::Inserting:
      key = table_.insert(edited_);
      break;
    case EditMode::Editing:
      key = records_[static_cast<std::size_t>(*position_)].key;
      table_.change(key, edited_);
      break;
  }
  mode_ = EditMode::Browsing;
  // The changed name or Z may have moved the record within the kind's order.
  reload(kind_, key, position_.value_or(0));
}

void MaterialEditing::cancel() { mode_ = EditMode::Browsing; }

void MaterialEditing::remove() {
  if (mode_ == EditMode::Inserting || !position_) {
    cancel();
    return;
  }
  table_.remove(records_[static_cast<std::size_t>(*position_)].key);
  mode_ = EditMode::Browsing;
  // The record that followed takes the place, or the new last one.
  reload(kind_, std::nullopt, *position_);
}

void MaterialEditing::refresh() {
  leave();
  std::optional<std::int64_t> key;
  if (position_) key = records_[static_cast<std::size_t>(*position_)].key;
  reload(kind_, key, position_.value_or(0));
}

void MaterialEditing::leave() { post(); }

void MaterialEditing::reload(MaterialKind kind, std::optional<std::int64_t> key, int fallback) {
  std::vector<StoredMaterial> records = table_.list(kind);
  kind_ = kind;
  records_ = std::move(records);
  position_.reset();
  if (records_.empty()) return;
  if (key) {
    const auto found = std::find_if(records_.begin(), records_.end(),
                                    [&](const StoredMaterial& m) { return m.key == *key; });
    if (found != records_.end()) {
      position_ = static_cast<int>(found - records_.begin());
      return;
    }
  }
  moveTo(fallback);
}

void MaterialEditing::moveTo(int position) {
  if (records_.empty()) return;
  position_ = std::clamp(position, 0, static_cast<int>(records_.size()) - 1);
}

}  // namespace quorrel
