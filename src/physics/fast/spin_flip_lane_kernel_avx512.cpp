// The spin-flip lane kernel for AVX-512; its compiler flags are set in src/physics/CMakeLists.txt.
#define QUORREL_LANE_NAMESPACE spin_avx512
#include "physics/fast/spin_flip_lane_kernel.inc"
