// The lane kernel for plain x86-64 (SSE2); its compiler flags are set in src/physics/CMakeLists.txt.
#define QUORREL_LANE_NAMESPACE generic
#include "physics/fast/lane_kernel.inc"
