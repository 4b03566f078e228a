#pragma once
// Reflectance of many Qz of one stack, or of several stacks, by the vectorised kernel.

#include <span>

#include "physics/fast/instruction_set.h"
#include "physics/layer_stack.h"

namespace quorrel::fast {

//! Whether a batch may be split over the shared compute pool or stays on the calling thread.
enum class Threading { SharedPool, CallingThread };

//! How a batch is run; the defaults are what the program uses.
struct FastOptions {
  InstructionSet instructionSet = BestInstructionSet();
  Threading threading = Threading::SharedPool;
  //! Layer-points per chunk of a split batch; 0 takes the break-even measured for the
  //! instruction set, below which a split costs more than it saves.
  std::size_t chunkWork = 0;
  //! When set, receives how the repeated block was evaluated.
  PowerCounts* powerCounts = nullptr;
};

//! out[i] = |r|² at qz[i], agreeing with Reflectance to rounding. Points for which the scalar
//! operations would absorb or raise a fault are evaluated by Reflectance itself; an
//! ArithmeticFault then carries the Qz of the first such point that faults.
void FastReflectance(const LayerStack& stack, std::span<const double> qz, std::span<double> out,
                     const FastOptions& options = {});

//! out[k][i] = |r|² of *stacks[k] at qz[i]: every stack over the same points, as one batch whose
//! chunks the pool shares out, so that a few small stacks keep every core busy. A fault is that
//! of the first stack that faults, at its first faulting point.
void FastReflectance(std::span<const LayerStack* const> stacks, std::span<const double> qz,
                     std::span<const std::span<double>> out, const FastOptions& options = {});

}  // namespace quorrel::fast
