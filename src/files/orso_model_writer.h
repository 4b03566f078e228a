#pragma once
// A model of ours written in the ORSO model language, for the header of the .ort files we
// write; BuildOrsoModel reads it back into the same layers.

#include <optional>
#include <string>

#include "model/sample_model.h"

namespace quorrel {

//! The lines of the map under "model:" (without indentation, each ending in "\n"): a stack of
//! named layers in Å with their roughness and their sld (and Quorrel's own magnetic_sld where
//! R(mag) or I(mag) is not 0). Multiple layers keep their block as "P ( ... )"; a symmetric
//! film is written out layer by layer with the ambient medium below it. Nothing for an
//! analytical profile function, which the language cannot describe. A cell that is not a
//! number throws CellError.
std::optional<std::string> OrsoModelText(const SampleModel& model);

}  // namespace quorrel
