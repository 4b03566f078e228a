#pragma once
// The background added to every point of a run.

#include <span>
#include <vector>

#include "model/calc_settings.h"

namespace quorrel {

//! The background of the chosen form at every qz_i: constant y0, linear y0 + m·Q, or a
//! gaussian or lorentzian peak of area A, centre xc and width w on that line. A value that
//! cannot be formed (a peak width of 0) raises ArithmeticFault naming the form and the Qz.
std::vector<double> PointBackgrounds(const CalcSettings& settings, std::span<const double> qz);

}  // namespace quorrel
