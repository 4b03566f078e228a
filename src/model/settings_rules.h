#pragma once
// The settings dialog's switches and fields that change other settings.

#include "model/calc_settings.h"
#include "model/measured_data.h"
#include "model/sample_model.h"

namespace quorrel {

//! Switches "user supplied Q-range". Off with measured points: the Q range and point count
//! become those of the data, so the calculation runs at the measured points; without
//! points the fields keep their values.
void SetUserQRange(CalcSettings& settings, bool on, const MeasuredData& data);

//! Whether a run takes each point's resolution from the data's sQz: chosen, and the data
//! carry it.
bool DataResolutionInUse(const CalcSettings& settings, const MeasuredData& data);

//! Switches "user supplied z-range". Off: the depth range becomes the automatic one of the
//! model and the profile gets 50 points. A model thickness that is not a number throws
//! CellError after the switch has gone off, with the range fields unchanged.
void SetUserZRange(CalcSettings& settings, bool on, const SampleModel& model);

//! Sets the number of resolution regions, limited to 1 .. 8, and sizes the region table to
//! it. Every added row starts as a copy of the row above it, so no region is left without
//! numbers.
void SetRegionCount(CalcSettings& settings, int count);

}  // namespace quorrel
