#pragma once
// The automatic depth range of the density profile.

#include "model/sample_model.h"

namespace quorrel {

struct ZRange {
  int zmin = -25;
  int zmax = 25;
};

//! From the total thickness T of the model: (round(-T/4), round(T + T/4)), ties to even, or
//! (-25, 25) when T is not above 0 or the model has no layers. Throws CellError for a
//! thickness that is not a number.
ZRange AutoZRange(const SampleModel& model);

}  // namespace quorrel
