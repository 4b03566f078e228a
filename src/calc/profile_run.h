#pragma once
// One density profile calculation: rho(z) of the spin-free layer stack over a depth range.

#include <functional>
#include <string>

#include "calc/curves.h"
#include "model/auto_z_range.h"
#include "model/calc_settings.h"
#include "model/layer_stack_builder.h"
#include "model/sample_model.h"

namespace quorrel {

//! Receives "calculating rho(z), z = <z with two decimals>" once per point.
using ProfileProgress = std::function<void(const std::string&)>;

//! The depth range of the profile: edtMinZ .. edtMaxZ in increasing order with the user
//! range, otherwise AutoZRange.
ZRange ProfileDepthRange(const SampleModel& model, const CalcSettings& settings);

//! rho(z) from zmin in steps of (zmax − zmin)/edtNumPointsZ, accumulated while z ≤ zmax
//! (a range of one depth gives one point). A point count below 1 raises QuorrelError; model
//! errors propagate from the stack build and AutoZRange. Works on its own storage only.
ProfileCurve RunProfileCalculation(const SampleModel& model, const CalcSettings& settings,
                                   const ProfileProgress& progress = {},
                                   BuildNotes* notes = nullptr);

}  // namespace quorrel
