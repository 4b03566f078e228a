#pragma once
// The four spin channels of many Qz by the vectorised spin-flip kernel.

#include <span>

#include "physics/fast/fast_reflectance.h"
#include "physics/spin_flip_stack.h"

namespace quorrel::fast {

//! out[i] = SpinFlipReflectance(stack, qz[i]) to rounding. Points for which the lanes would
//! leave their safe range are evaluated by the scalar kernel; an ArithmeticFault then carries
//! the Qz of the first such point that faults.
void FastSpinFlipReflectance(const PreparedSpinFlip& stack, std::span<const double> qz,
                             std::span<SpinReflectances> out, const FastOptions& options = {});

}  // namespace quorrel::fast
