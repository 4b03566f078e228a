#pragma once
// The fitted values back into the model editor's grids when a fit is accepted.

#include "fit/parameter_set.h"
#include "model/sample_model.h"

namespace quorrel {

//! Writes the set into BaseGrid, MLGrid and the function parameter fields of `model`, each
//! cell formatted with its sample type's pattern and thicknesses and roughnesses as absolute
//! values. The magnetic columns and every other cell keep their contents.
void WriteBackFit(const ParameterSet& set, SampleModel& model);

}  // namespace quorrel
