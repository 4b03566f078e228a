// The spin-flip lane kernel for plain SSE2, the baseline of x86-64.
#define QUORREL_LANE_NAMESPACE spin_generic
#include "physics/fast/spin_flip_lane_kernel.inc"
