#pragma once
// How a fit treats one of its entries beyond varying it: the range it may move in and the
// expression that replaces it.

#include <string>

#include "fit/entry_bounds.h"

namespace quorrel {

//! Entry `index` (a parameter set index): its check mark, bounds and link ("" for none).
struct EntrySetup {
  int index = 0;
  bool vary = false;
  Bounds bounds;
  std::string link;
  //! The entry's name when the setup was taken ("d_1", "scale [D2O]", "thetaM_2"): it finds
  //! the entry again after a measurement's entries were added or removed moved the numbers.
  //! Empty in setups that only number their entries.
  std::string name;
};

}  // namespace quorrel
