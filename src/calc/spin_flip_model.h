#pragma once
// The spin-flip stack of a sample model: its layers with the magnetic density of the R(mag)
// column, each magnetised at the in-plane angle of its theta(mag) column.

#include "model/layer_stack_builder.h"
#include "model/sample_model.h"
#include "physics/spin_flip_stack.h"

namespace quorrel {

//! The model's calculation layers with the nuclear densities of spin state 0 and the magnetic
//! density R(mag) at the angle thetaM of the layer's row (90 degrees, the collinear direction
//! when AGUIDE is 90, where the cell is empty), in the guide field of angle `aguide` and
//! strength `field`. A magnetic ambient, whose spin states would not be the guide field's, and
//! a layer with a magnetic absorption I(mag), which has no counterpart when the magnetisation
//! turns, raise QuorrelError naming them; cell and capacity
//! errors are those of BuildLayerStack, the angle cells' those of ThetaMCell.
SpinFlipStack SpinFlipStackOfModel(const SampleModel& model, double aguide, double field,
                                   BuildNotes* notes = nullptr);

}  // namespace quorrel
