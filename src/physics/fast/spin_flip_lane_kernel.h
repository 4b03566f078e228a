#pragma once
// The interface between the batch code of the spin-flip kernel and its per-instruction-set
// builds: plain data and raw pointers only, as for the non-magnetic lane kernel.

#include <cstddef>

namespace quorrel::fast {

//! The prepared spin-flip stack, one entry per medium 0 .. N + 1 (see PreparedSpinFlip).
struct SpinFlipView {
  int layerCount = 0;
  const double* fourPiRhoUp = nullptr;
  const double* fourPiRhoDown = nullptr;
  const double* fourPiImRho = nullptr;
  const double* thickness = nullptr;
  const double* roughnessFactor = nullptr;
  //! Per interface j = 0 .. N the overlap U_j† U_{j+1}: re, im of its four entries, row-major.
  const double* overlap = nullptr;
  //! Per interface: the overlap is the identity.
  const unsigned char* aligned = nullptr;
};

//! One slice of a batch: k² per point in, |X[s][t]|² per point out (four doubles, row-major:
//! reflected state s from incident state t, 0 up, 1 down), and a mark for every point that the
//! scalar kernel has to evaluate instead.
struct SpinFlipSlice {
  const double* kSquared = nullptr;
  double* intensities = nullptr;
  unsigned char* needsReference = nullptr;
  std::size_t count = 0;
};

using SpinFlipLaneKernel = void (*)(const SpinFlipView&, const SpinFlipSlice&);

namespace spin_generic {
void EvaluateSpinFlipSlice(const SpinFlipView& stack, const SpinFlipSlice& slice);
}
namespace spin_avx2 {
void EvaluateSpinFlipSlice(const SpinFlipView& stack, const SpinFlipSlice& slice);
}
namespace spin_avx512 {
void EvaluateSpinFlipSlice(const SpinFlipView& stack, const SpinFlipSlice& slice);
}

}  // namespace quorrel::fast
