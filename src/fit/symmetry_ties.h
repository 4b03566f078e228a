#pragma once
// The symmetric film's mirror half, kept equal to the listed half during a fit.

#include "fit/parameter_set.h"

namespace quorrel {

//! After entry `index` of a symmetric film's set changed, copies it to the entries tied to it:
//! the substrate for the air values, the mirror layer for d, rho and Im(rho), and for a sigma
//! the mirror interface (or every sigma with identical sigmas), then the substrate's sigma.
//! Does nothing for the other sample types.
void ApplySymmetryTies(ParameterSet& set, int index);

//! Sets entry `index` to `value` and the entries tied to it: what every change of a varied
//! entry in a fit does.
void SetTiedValue(ParameterSet& set, int index, double value);

}  // namespace quorrel
