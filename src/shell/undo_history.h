#pragma once
// Undo and redo by snapshots: each step keeps the content as it was before the step, so that
// going back can never drift out of step with what the editor holds.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <utility>

namespace quorrel {

//! A history of `Content` snapshots. `current` is what is shown now; each step remembers the
//! content before it and what it did ("typing in Layer table, row 1, d / Å").
template <typename Content>
class UndoHistory {
 public:
  //! The most steps kept; the oldest go first.
  static constexpr std::size_t kMaxSteps = 500;

  explicit UndoHistory(Content current) : current_(std::move(current)) {}

  const Content& current() const { return current_; }

  //! `next` follows the current content by a step that did `what`. A step with the same
  //! non-empty `mergeKey` as the step before it, with nothing undone between, joins it (the
  //! keystrokes of one number). Redo steps are dropped.
  void record(Content next, std::string what, std::string mergeKey = {}) {
    redo_.clear();
    if (!mergeKey.empty() && openKey_ == mergeKey && !undo_.empty()) {
      undo_.back().what = std::move(what);
    } else {
      undo_.push_back({std::move(current_), std::move(what)});
      if (undo_.size() > kMaxSteps) undo_.pop_front();
    }
    current_ = std::move(next);
    openKey_ = std::move(mergeKey);
  }
  //! The next step starts a new one even when its merge key matches.
  void closeStep() { openKey_.clear(); }

  //! What Undo or Redo would undo or redo; nothing when there is nothing.
  std::optional<std::string> undoWhat() const {
    if (undo_.empty()) return std::nullopt;
    return undo_.back().what;
  }
  std::optional<std::string> redoWhat() const {
    if (redo_.empty()) return std::nullopt;
    return redo_.back().what;
  }

  //! Steps back or forth; the content then shown, or nothing when there is no step.
  const Content* undo() { return move(undo_, redo_); }
  const Content* redo() { return move(redo_, undo_); }

 private:
  struct Step {
    Content content;  //!< before the step (on the undo side) or after it (on the redo side)
    std::string what;
  };

  const Content* move(std::deque<Step>& from, std::deque<Step>& to) {
    if (from.empty()) return nullptr;
    Step step = std::move(from.back());
    from.pop_back();
    to.push_back({std::move(current_), step.what});
    current_ = std::move(step.content);
    openKey_.clear();
    return &current_;
  }

  Content current_;
  std::deque<Step> undo_;
  std::deque<Step> redo_;
  std::string openKey_;
};

}  // namespace quorrel
