#pragma once
// Why a global search or a sampling run cannot start.

#include <string>

#include "common/error.h"

namespace quorrel {

//! A varied value without a finite lower or upper bound where the method needs both.
class MissingBoundsError : public QuorrelError {
 public:
  //! `position`: the value's position in the varied order, from 0.
  explicit MissingBoundsError(int position);
  int position() const { return position_; }

 private:
  int position_;
};

//! Options that the method cannot run with (too few walkers, an odd count, ...), or a start
//! that cannot be evaluated.
class SearchSetupError : public QuorrelError {
 public:
  using QuorrelError::QuorrelError;
};

}  // namespace quorrel
