#pragma once
// Choice of the lane kernel by what the processor running the program supports.

#include "physics/fast/lane_kernel.h"

namespace quorrel::fast {

//! The instruction sets the lane kernel is built for, narrowest first.
enum class InstructionSet { Generic, Avx2, Avx512 };

//! Whether this processor (and its operating system) runs code for `set`.
bool Supports(InstructionSet set);

//! The widest set that this processor runs.
InstructionSet BestInstructionSet();

//! The kernel built for `set`; call it only where Supports(set).
LaneKernel KernelFor(InstructionSet set);

//! "generic", "avx2" or "avx512".
const char* Name(InstructionSet set);

}  // namespace quorrel::fast
