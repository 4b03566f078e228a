#pragma once
// The models and settings that the benchmarks share.

#include "model/calc_settings.h"
#include "model/sample_model.h"

namespace quorrel {

//! Independent layers alternating between two magnetic materials on silicon.
SampleModel MagneticLayers(int n);

//! 999 points from 0.001 to 0.3 with velocity-selector resolution, magnetization and the
//! transmission.
CalcSettings FullRun();

}  // namespace quorrel
