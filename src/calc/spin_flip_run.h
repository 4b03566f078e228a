#pragma once
// One spin-flip reflectivity calculation: the four spin channels over the run's Qz grid,
// smeared by each point's resolution and with its background.

#include "calc/curves.h"
#include "model/calc_settings.h"
#include "model/measured_data.h"
#include "physics/reflectance_batch.h"
#include "physics/spin_flip_stack.h"

namespace quorrel {

//! What a spin-flip run produces: one curve per channel, and what the reflectivity run
//! produces with them.
struct SpinFlipResult : SpinChannels {
  AxisRanges ranges;
  std::vector<double> pointResolution;  // b_i of point i
  std::vector<double> pointBackground;  // the background of point i; empty when it is off
};

//! The four channels of `stack` at the Qz grid of the settings and data, with the resolution,
//! background and resolution kernel of the reflectivity run; the measured points widen the
//! axis ranges. Errors as RunReflectivityCalculation's.
SpinFlipResult RunSpinFlipCalculation(const SpinFlipStack& stack, const CalcSettings& settings,
                                      const MeasuredData& data,
                                      KernelKind kernel = KernelKind::Fast);

}  // namespace quorrel
