#include "fit/search_errors.h"

namespace quorrel {

MissingBoundsError::MissingBoundsError(int position)
    : QuorrelError("varied value " + std::to_string(position + 1) +
                   " needs a finite lower and upper bound"),
      position_(position) {}

}  // namespace quorrel
