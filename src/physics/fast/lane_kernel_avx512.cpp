// The lane kernel for AVX-512F with FMA; its compiler flags are set in src/physics/CMakeLists.txt.
#define QUORREL_LANE_NAMESPACE avx512
#include "physics/fast/lane_kernel.inc"
