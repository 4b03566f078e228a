#pragma once
// Which entries of the parameter set a fit varies.

#include <vector>

namespace quorrel {

//! One flag per parameter set index 1 .. count, all false when created.
class VaryFlags {
 public:
  explicit VaryFlags(int count = 0);

  int count() const { return static_cast<int>(flags_.size()) - 1; }
  bool operator[](int index) const;
  void set(int index, bool vary);
  void toggle(int index) { set(index, !(*this)[index]); }

  //! The varied indices in index order: the varied list of a run.
  std::vector<int> variedIndices() const;

 private:
  std::vector<bool> flags_;  // index 0 unused
};

}  // namespace quorrel
