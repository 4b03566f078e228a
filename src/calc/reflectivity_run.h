#pragma once
// One reflectivity calculation: the Qz grid, the resolution and background of every point,
// the curve of each spin state and the transmission, with the axis ranges of the plot.

#include "calc/curves.h"
#include "model/calc_settings.h"
#include "model/measured_data.h"
#include "model/sample_model.h"
#include "physics/reflectance_batch.h"

namespace quorrel {

//! Computes the curves of slots 1 to 4 and their axis ranges; with magnetization and spin
//! flip on, the four spin channels instead of the two spin curves. Works only on its own
//! storage, so several runs may execute at once. Refused counts and unreadable cells raise
//! QuorrelError or CellError, faults ArithmeticFault with the Qz where they happened, and a
//! model too large for the stack CapacityExceeded.
ReflectivityResult RunReflectivityCalculation(const SampleModel& model,
                                              const CalcSettings& settings,
                                              const MeasuredData& data,
                                              KernelKind kernel = KernelKind::Fast);

}  // namespace quorrel
