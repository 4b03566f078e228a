#pragma once
// Each measurement's own curve from the model: with its overrides, scale, background and
// resolution, at all of its points, as the reflectivity window draws it beside its data.

#include <optional>
#include <vector>

#include "calc/curves.h"
#include "model/calc_settings.h"
#include "model/measurement.h"
#include "model/sample_model.h"

namespace quorrel {

//! One curve per measurement, at its measured points; nothing where it cannot be calculated
//! (a fault at some point). Throws what building the model's stack throws.
std::vector<std::optional<ReflCurve>> MeasurementCurves(const SampleModel& model,
                                                        const CalcSettings& settings,
                                                        std::vector<Measurement> measurements);

}  // namespace quorrel
