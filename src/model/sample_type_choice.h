#pragma once
// Choosing the sample type in the model editor.

#include "model/sample_model.h"

namespace quorrel {

//! A click on a sample type button. Choosing the symmetric film makes the last row of BaseGrid
//! the "core" with thickness "100"; any other type makes it "bulk" with thickness "N/A" and
//! the ambient's roughness "N/A". Choosing the type already chosen changes nothing.
void ChooseSampleType(SampleModel& model, SampleType type);

}  // namespace quorrel
