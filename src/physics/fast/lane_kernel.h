#pragma once
// The interface between the instruction-set-neutral batch code and the per-instruction-set
// builds of the lane kernel: plain data and raw pointers only, so that nothing inline crosses
// between code compiled for different processors.

#include <cstddef>

namespace quorrel::fast {

//! The stack in the form the recursion reads it, one entry per medium 0 .. N + 1.
struct PreparedStack {
  int layerCount = 0;
  const double* fourPiRho = nullptr;    //!< 4π·ρ_j
  const double* fourPiImRho = nullptr;  //!< 4π·ρ''_j
  const double* twoThickness = nullptr; //!< 2·|d_j|
  const double* roughnessFactor = nullptr;  //!< −2·σ_j², σ_j the roughness on top of medium j
  //! A verified repetition: media periodFirst .. periodFirst + periodLayers·periodRepeats − 1
  //! repeat with period periodLayers; periodRepeats is 0 when there is none to use.
  int periodFirst = 0;
  int periodLayers = 0;
  int periodRepeats = 0;
};

//! One slice of a batch: inputs Qz and, where the ambient medium absorbs, k² per point (null
//! otherwise: the lanes form k² from Qz); outputs |r|² and a mark for every point that the
//! scalar kernel has to evaluate instead.
struct LaneSlice {
  const double* qz = nullptr;
  const double* kSquared = nullptr;
  double* reflectance = nullptr;
  unsigned char* needsReference = nullptr;
  std::size_t count = 0;
};

//! How often a repeated block was evaluated as a matrix power, and how often it was walked layer
//! by layer because the power would have lost accuracy (per point).
struct PowerCounts {
  std::size_t powered = 0;
  std::size_t walked = 0;
};

//! The kernel of one instruction set.
using LaneKernel = void (*)(const PreparedStack&, const LaneSlice&, PowerCounts&);

namespace generic {
void EvaluateSlice(const PreparedStack& stack, const LaneSlice& slice, PowerCounts& counts);
}
namespace avx2 {
void EvaluateSlice(const PreparedStack& stack, const LaneSlice& slice, PowerCounts& counts);
}
namespace avx512 {
void EvaluateSlice(const PreparedStack& stack, const LaneSlice& slice, PowerCounts& counts);
}

}  // namespace quorrel::fast
