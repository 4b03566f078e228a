#pragma once
// The fit entries of the model's magnetisation when polarised measurements are fitted: every
// row's magnetic density and in-plane angle, then the guide field's angle. They follow the
// measurements' entries, last in the parameter set, and turn a trial's nuclear stack into the
// spin-flip stack its channels are calculated from.

#include <span>
#include <string>
#include <vector>

#include "fit/parameter_set.h"
#include "model/magnetisation_angles.h"
#include "model/measurement.h"
#include "model/sample_model.h"
#include "model/spin_flip_settings.h"
#include "physics/layer_stack.h"
#include "physics/spin_flip_stack.h"

namespace quorrel {

enum class MagneticQuantity { Density, Angle, GuideAngle };

struct MagneticEntry {
  MagneticQuantity quantity = MagneticQuantity::GuideAngle;
  MagnetisationRow row;  //!< whose R(mag) or theta(mag) cell; unused for the guide angle
  std::string name;      //!< "rhoM_2", "thetaM_bulk", "thetaM_ML1", "aguide"
};

//! What the spin-flip curves of a fit take from the model and the settings beyond the
//! parameter set. Empty (no entries) when no measurement has a spin channel.
struct MagneticModel {
  std::vector<MagneticEntry> entries;
  std::vector<double> start;  //!< each entry's value as the model and the settings give it
  //! Per medium 0 .. N + 1: the entry of its density and of its angle, -1 for the ambient,
  //! which stays non-magnetic and keeps `ambientAngle`.
  std::vector<int> densityEntry, angleEntry;
  double ambientAngle = kDefaultThetaM;
  double field = 0;  //!< tesla, not fitted

  bool empty() const { return entries.empty(); }
};

//! Whether any of the measurements is counted in a spin channel.
bool HasSpinChannels(std::span<const Measurement> measurements);

//! The magnetisation entries of `model` in the guide field `guide`: for every base-grid row
//! below the ambient, then every multilayer row, its density and angle, then "aguide". Throws
//! what SpinFlipStackOfModel throws (a magnetic ambient, a magnetic absorption, a cell that is
//! not a number).
MagneticModel MagneticModelOf(const SampleModel& model, const SpinFlipSettings& guide);

//! Appends the entries' start values to the set's entries (after the measurements').
void AppendMagneticEntries(ParameterSet& set, const MagneticModel& magnetic);
//! Set index of the magnetic model's first entry: they are the set's last entries.
int FirstMagneticIndex(const ParameterSet& set, const MagneticModel& magnetic);

//! The spin-flip stack of a trial: the nuclear values of `nuclear` with the magnetisation of
//! the set's magnetic entries.
SpinFlipStack SpinFlipStackOfTrial(const LayerStack& nuclear, const ParameterSet& set,
                                   const MagneticModel& magnetic);

//! The magnetic entry at set index `index`; nullptr for an index before them.
const MagneticEntry* MagneticEntryAt(const ParameterSet& set, const MagneticModel& magnetic,
                                     int index);

//! "rhoM_2 = 1.000E-06", "thetaM_2 = 45.00", "aguide = 90.00" for the set's values.
std::string MagneticEntryLabel(const ParameterSet& set, const MagneticModel& magnetic, int index);

//! Every entry whose fitted value differs from its start into its R(mag) or theta(mag) cell,
//! or the guide field's angle into `guide`; cells of the entries not moved keep their text.
void WriteBackMagneticEntries(const ParameterSet& set, const MagneticModel& magnetic,
                              SampleModel& model, SpinFlipSettings& guide);

}  // namespace quorrel
