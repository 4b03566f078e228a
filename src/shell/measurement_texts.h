#pragma once
// How the measurements panel shows and reads a measurement's values as text: its background
// and its contrast overrides ("rho_bulk = -5.6E-7; rho_2 = 1E-6").

#include <optional>
#include <string>

#include "model/measurement.h"
#include "model/sample_model.h"

namespace quorrel {

//! The parameter set index of the model entry named `name` ("rho_bulk", "d_1") or numbered
//! by it; nothing when the model has none.
std::optional<int> ModelEntryOfName(const SampleModel& model, const std::string& name);

//! "rho_bulk = -5.6E-7; d_1 = 3", the overridden entries by name; "" for none.
std::string OverridesText(const Measurement& measurement, const SampleModel& model);

//! The overrides of `text` (pairs "NAME = VALUE" separated by ';'), or why it cannot be read.
struct OverridesRead {
  std::vector<ContrastOverride> overrides;
  std::string refusal;
};
OverridesRead ReadOverrides(const std::string& text, const SampleModel& model);

//! The background column: "y0 = 2E-6" for a constant one, the form's name and its y0 for the
//! others, "none" when it has none.
std::string BackgroundText(const MeasurementBackground& background);

}  // namespace quorrel
