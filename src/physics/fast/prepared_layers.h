#pragma once
// The layer stack turned into the per-medium factors that the lane kernel reads.

#include <vector>

#include "physics/fast/lane_kernel.h"
#include "physics/layer_stack.h"

namespace quorrel::fast {

//! Owns the factors of one stack; view() hands them to the kernel.
class PreparedLayers {
 public:
  PreparedLayers() = default;
  explicit PreparedLayers(const LayerStack& stack) { prepare(stack); }

  //! Takes the factors of `stack`, reusing the storage of the previous one.
  void prepare(const LayerStack& stack);

  const PreparedStack& view() const { return view_; }
  //! Whether the stack's repeated block was confirmed and will be evaluated as a power.
  bool usesRepeatedBlock() const { return view_.periodRepeats > 0; }

 private:
  //! Keeps the stack's repeated block when its media really repeat.
  void adoptRepeatedBlock(const RepeatedBlock& block);
  bool sameMedium(int a, int b) const;

  std::vector<double> fourPiRho_, fourPiImRho_, twoThickness_, roughnessFactor_;
  PreparedStack view_;
};

}  // namespace quorrel::fast
