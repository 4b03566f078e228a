#pragma once
// The Qz points of a reflectivity run.

#include <vector>

#include "model/calc_settings.h"
#include "model/measured_data.h"

namespace quorrel {

//! The most points a run computes; the plot and the fit hold no more.
inline constexpr int kMaxRunPoints = MeasuredData::kMaxPoints;

//! The measured Qz values when data are loaded and the user range is off; otherwise
//! edtminQ + i·(edtMaxQ − edtminQ)/edtNumPoints for i = 0 .. edtNumPoints − 1, so edtMaxQ
//! itself is not a point. A point count outside 1 .. kMaxRunPoints (edtNumPoints always, the
//! measured count when it is used) is refused with QuorrelError; a grid beyond the double
//! range raises ArithmeticFault.
std::vector<double> QzGrid(const CalcSettings& settings, const MeasuredData& data);

}  // namespace quorrel
