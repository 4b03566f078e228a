#pragma once
// The fit entries that measurements add after the model's values: each measurement's scale,
// the values of its background's form and its contrast overrides, numbered on from the
// model's parameter set.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "fit/magnetic_entries.h"
#include "fit/parameter_labels.h"
#include "fit/parameter_set.h"
#include "fit/vary_flags.h"
#include "model/measurement.h"

namespace quorrel {

enum class MeasurementQuantity { Scale, BackgroundY0, BackgroundM, PeakA, PeakW, PeakXC, Override };

//! One entry of one measurement.
struct MeasurementEntry {
  std::size_t measurement = 0;
  MeasurementQuantity quantity = MeasurementQuantity::Scale;
  std::size_t override = 0;  //!< which of the measurement's overrides, for Override
};

//! Every measurement's entries in order: its scale, the values its background's form uses when
//! it has one (y0; y0 and m for a line; y0, m, A, w and xc for a peak) and its overrides.
std::vector<MeasurementEntry> MeasurementEntries(std::span<const Measurement> measurements);

double EntryValue(const MeasurementEntry& entry, std::span<const Measurement> measurements);
void SetEntryValue(const MeasurementEntry& entry, std::span<Measurement> measurements,
                   double value);

//! "scale [D2O]", "background y0 [D2O]", "rho_bulk [H2O]"; `model` names the overridden entry.
std::string EntryName(const MeasurementEntry& entry, std::span<const Measurement> measurements,
                      const ParameterSet& model);

//! Appends the measurements' entries to `set`, after its model values.
void AppendMeasurementEntries(ParameterSet& set, std::span<const Measurement> measurements);
//! The values of the set's entries after the model's back into the measurements.
void WriteBackMeasurementEntries(const ParameterSet& set, std::span<Measurement> measurements);

//! The fit list: the model's listed entries, then the measurements' entries of `set` (which
//! holds them after its model values) and the magnetisation's, with their check marks from
//! `flags` (sized to the set's entryCount()).
std::vector<FitParameter> FillFitEntries(const ParameterSet& set,
                                         std::span<const Measurement> measurements,
                                         const VaryFlags& flags,
                                         const MagneticModel& magnetic = {});

//! The name of list entry `index` as the list shows it, without its value: "d_1",
//! "scale [D2O]", "thetaM_2".
std::string FitEntryName(const ParameterSet& set, std::span<const Measurement> measurements,
                         int index, const MagneticModel& magnetic = {});

//! The name of list entry `index` (a set index) as a link expression may use it: the
//! entry's name without the characters a name cannot hold ("Imrho_2" for "Im(rho)_2"), and for
//! a measurement's entries the name followed by the measurement's number ("scale_1",
//! "background_y0_2", "rho_bulk_2"); the magnetisation's entries by their names ("thetaM_2").
std::string EntryVariableName(const ParameterSet& set, std::span<const Measurement> measurements,
                              int index, const MagneticModel& magnetic = {});

}  // namespace quorrel
