#include "physics/fast/instruction_set.h"

namespace quorrel::fast {

bool Supports(InstructionSet set) {
  switch (set) {
    case InstructionSet::Generic:
      return true;
    case InstructionSet::Avx2:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case InstructionSet::Avx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
  }
  return false;
}

InstructionSet BestInstructionSet() {
  // Evaluated once: the processor does not change while the program runs.
  static const InstructionSet best = Supports(InstructionSet::Avx512) ? InstructionSet::Avx512
                                     : Supports(InstructionSet::Avx2) ? InstructionSet::Avx2
                                                                      : InstructionSet::Generic;
  return best;
}

LaneKernel KernelFor(InstructionSet set) {
  switch (set) {
    case InstructionSet::Avx512:
      return avx512::EvaluateSlice;
    case InstructionSet::Avx2:
      return avx2::EvaluateSlice;
    case InstructionSet::Generic:
      break;
  }
  return generic::EvaluateSlice;
}

const char* Name(InstructionSet set) {
  switch (set) {
    case InstructionSet::Avx512:
      return "avx512";
    case InstructionSet::Avx2:
      return "avx2";
    case InstructionSet::Generic:
      break;
  }
  return "generic";
}

}  // namespace quorrel::fast
