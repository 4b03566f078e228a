#pragma once
// The analytical profile type: basic layers with a graded region of function steps.

#include "model/layer_stack_builder.h"

namespace quorrel {

//! Writes the stack of the analytical profile type into `stack` (already reset to
//! CalcLayerCount layers). The magnetic columns are not read.
void ExpandProfileFunction(const SampleModel& model, LayerStack& stack, BuildNotes* notes);

}  // namespace quorrel
