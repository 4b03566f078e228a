// The lane kernel for AVX2 with FMA; its compiler flags are set in src/physics/CMakeLists.txt.
#define QUORREL_LANE_NAMESPACE avx2
#include "physics/fast/lane_kernel.inc"
