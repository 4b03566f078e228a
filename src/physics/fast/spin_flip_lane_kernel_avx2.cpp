// The spin-flip lane kernel for AVX2 with FMA; its compiler flags are set in
// src/physics/CMakeLists.txt.
#define QUORREL_LANE_NAMESPACE spin_avx2
#include "physics/fast/spin_flip_lane_kernel.inc"
