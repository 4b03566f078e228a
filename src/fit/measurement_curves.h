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
//! (a fault at some point). A measurement of a spin channel gets that channel of the spin-flip
//! calculation in the settings' guide field. Throws what building the model's stack (or its
//! spin-flip stack) throws.
std::vector<std::optional<ReflCurve>> MeasurementCurves(const SampleModel& model,
                                                        const CalcSettings& settings,
                                                        std::vector<Measurement> measurements);

//! The model as measurement `measurement` sees it: its overrides written into the cells,
//! in the editor's patterns. The model itself when it has none.
SampleModel ContrastModel(const SampleModel& model, const Measurement& measurement);

//! The density profile of every measurement that has overrides (nothing for the others, whose
//! profile is the model's); what the profile window draws beside the model's profile.
std::vector<std::optional<ProfileCurve>> ContrastProfiles(const SampleModel& model,
                                                          const CalcSettings& settings,
                                                          const std::vector<Measurement>& measurements);

}  // namespace quorrel
