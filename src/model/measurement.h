#pragma once
// One measured data set of a fit with what belongs to the measurement rather than to the
// sample: its normalisation, its background, its resolution and the model values its contrast
// changes (a solvent's density, say).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/calc_settings.h"
#include "model/measured_data.h"
#include "physics/spin_flip_stack.h"

namespace quorrel {

//! Where a measurement's resolution comes from.
enum class ResolutionSource {
  Settings,  //!< the calculation settings' resolution, as for the model's own curve
  Data,      //!< the data set's sQz column
};

//! A background of one of the settings' forms, with the values of that form.
struct MeasurementBackground {
  bool on = false;  //!< added to the curve (when a fit includes the background)
  BackgroundKind kind = BackgroundKind::Constant;
  double y0 = 0.0;
  double m = 0.0;
  double peakA = 0.0;
  double peakW = 0.0;
  double peakXC = 0.0;
};

//! A model value that one measurement replaces by its own: entry `entry` of the model's
//! parameter set takes `value` for this measurement's curve only.
struct ContrastOverride {
  int entry = 0;
  double value = 0.0;
};

//! The spin channel a polarised measurement was counted in: incident spin, then reflected spin,
//! along the guide field. A measurement of no channel is fitted with the model's own curve.
enum class SpinChannel { None, DownDown, DownUp, UpDown, UpUp };

//! "R--", "R-+", "R+-", "R++"; "" for None.
const char* SpinChannelName(SpinChannel channel);
//! The channel of "R--" .. "R++", "--" .. "++" or ORSO's "mm", "mp", "pm", "pp" (any case);
//! None for "" and "none"; nullopt for any other text.
std::optional<SpinChannel> SpinChannelOfName(std::string_view name);
//! The reflectivity of channel `channel` (not None) among the four.
double ChannelReflectivity(const SpinReflectances& r, SpinChannel channel);

struct Measurement {
  std::string label;  //!< names the measurement in fit entries: "scale [D2O]"
  MeasuredData data;  //!< the points, the file they came from and the fitting region
  double scale = 1.0;  //!< R_model = scale · R + background
  MeasurementBackground background;
  ResolutionSource resolution = ResolutionSource::Settings;
  std::vector<ContrastOverride> overrides;
  //! A channel other than None fits the measurement with that channel of the spin-flip
  //! calculation.
  SpinChannel channel = SpinChannel::None;
};

//! The background of the calculation settings, as a measurement's own.
MeasurementBackground BackgroundOfSettings(const CalcSettings& settings);

//! `settings` with the measurement's background form and resolution choice in place of their
//! own, so that the settings' rules compute the measurement's points.
CalcSettings SettingsForMeasurement(CalcSettings settings, const Measurement& measurement);

//! The measurement of the program's one loaded data set: labelled by its file's stem, with
//! the settings' background and resolution choice, scale 1 and no overrides.
Measurement MeasurementOfData(MeasuredData data, const CalcSettings& settings);

//! Measurements of the same label get " 2", " 3" ... so that their fit entries can be told
//! apart.
void LabelApart(std::vector<Measurement>& measurements);

}  // namespace quorrel
