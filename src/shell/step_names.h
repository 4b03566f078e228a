#pragma once
// Names of undo steps, from what differs between the content before a change and after it.

#include <optional>
#include <string>

#include "model/calc_settings.h"
#include "model/sample_model.h"

namespace quorrel {

//! What a change did, and a key that the next change shares when it continues it (the next
//! keystroke in the same cell); empty when a change always stands alone.
struct StepName {
  std::string what;
  std::string mergeKey;
};

//! The step from `beforeModel`/`beforeSettings` to `model`/`settings`, or nothing when
//! neither differs.
std::optional<StepName> NameChange(const SampleModel& beforeModel,
                                   const CalcSettings& beforeSettings, const SampleModel& model,
                                   const CalcSettings& settings);

}  // namespace quorrel
