#pragma once
// The resolution half-width of every point of a run.

#include <span>
#include <vector>

#include "model/calc_settings.h"
#include "model/measured_data.h"

namespace quorrel {

//! b_i for every qz_i: edtConstantRes + edtDistribution/100 · Qz with the velocity selector;
//! otherwise the "delta Qz" of the last region row whose "from Qz" is not above Qz, and 0
//! where no row applies. A region cell that is empty or not a number raises QuorrelError
//! naming the row; a width beyond the double range raises ArithmeticFault at its Qz.
std::vector<double> PointResolutions(const CalcSettings& settings, std::span<const double> qz);

//! The widths a run uses: with DataResolutionInUse, b = 2·sQz of the data (the nine-point
//! kernel's half-width is two standard deviations), at the measured points themselves or
//! interpolated linearly in Qz between them and held beyond them for a computed grid;
//! otherwise PointResolutions(settings, qz).
std::vector<double> PointResolutions(const CalcSettings& settings, const MeasuredData& data,
                                     std::span<const double> qz);

}  // namespace quorrel
