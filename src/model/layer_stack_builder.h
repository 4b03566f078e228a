#pragma once
// Expansion of the sample model into the layer stack of one spin state.

#include <string>

#include "model/sample_model.h"
#include "physics/layer_stack.h"

namespace quorrel {

enum class SpinState { Down = -1, None = 0, Up = 1 };

//! What a build reports besides the stack: the status text of a failing user function.
struct BuildNotes {
  std::string statusText;
};

//! Rewrites `stack` from the model for spin state `spin` (magnetic columns folded in for
//! Up and Down). Throws CellError for a cell that is not a number and CapacityExceeded when
//! the stack cannot hold the model; the stack is then not to be used.
void BuildLayerStack(const SampleModel& model, SpinState spin, LayerStack& stack,
                     BuildNotes* notes = nullptr);

//! The names under which cell errors report the two grids.
inline constexpr const char* kBaseGridName = "BaseGrid";
inline constexpr const char* kMLGridName = "MLGrid";

}  // namespace quorrel
