#pragma once
// The options of the calculations, one typed value per control of the settings dialog.

#include "model/measured_data.h"
#include "model/spin_field.h"
#include "model/spin_flip_settings.h"
#include "physics/reflectance.h"
#include "model/text_grid.h"

namespace quorrel {

enum class BackgroundKind { Constant, Linear, Gaussian, Lorentzian };
enum class Radiation { Neutrons, Xrays };

//! The values of the settings dialog's controls, with their start-up defaults. Which fields
//! are enabled or visible follows from these values (see calc_settings_view.h).
struct CalcSettings {
  CalcSettings();

  //! Ranges of the spin fields.
  static constexpr SpinRange kNumPointsRange{0, MeasuredData::kMaxPoints};
  static constexpr SpinRange kNumPointsZRange{0, 0};  // no limit
  static constexpr SpinRange kRegionsRange{1, 8};
  //! Points of the profile when the depth range is automatic.
  static constexpr int kAutoZPoints = 50;

  // Reflectivity.
  bool cbUserRange = true;
  double edtminQ = 0.0;
  double edtMaxQ = 0.25;
  int edtNumPoints = 100;
  bool cbMagnet = false;
  // Not in model files, like the angles of the grids' theta(mag) column.
  SpinFlipSettings spinFlip;

  // Transmission.
  bool cbTransmission = false;
  double edtWavelength = 4.66;  // persisted as "wavelength"
  double edtSampleThickness = 0.0;

  // Profile.
  bool cbUserZ = false;
  int edtMinZ = 0;
  int edtMaxZ = 0;
  int edtNumPointsZ = 100;

  // Background.
  bool cbBackground = false;
  BackgroundKind background = BackgroundKind::Constant;
  double edtY0 = 0.0;
  double edtM = 0.0;
  double edtPeakA = 0.0;
  double edtPeakW = 0.0;
  double edtPeakXC = 0.0;

  // Resolution.
  bool cbVSelector = false;
  double edtConstantRes = 0.0;
  double edtDistribution = 0.0;
  int edtRegions = 1;
  TextGrid resltnGrid;  // row 0 headings "from Qz", "delta Qz"; rows 1..edtRegions
  // Kept in the user's settings, not in model files: they belong to the data and the
  // machine, not to the sample.
  bool resolutionFromData = false;  // b = 2·sQz where the data carry sQz
  SmearingKernel smearing = SmearingKernel::Standard;

  // Database.
  Radiation radiation = Radiation::Neutrons;  // persisted as "radiation"
};

//! Whether the calculations and the windows work with the four spin channels: "spin flip" is
//! on, and so is "include magnetization", which it belongs to.
inline bool SpinFlipOn(const CalcSettings& settings) {
  return settings.cbMagnet && settings.spinFlip.enabled;
}

//! Whether the runs give the two collinear spin curves, which the curve files and the
//! clipboard carry: magnetization without spin flip.
inline bool SpinCurvesOn(const CalcSettings& settings) {
  return settings.cbMagnet && !settings.spinFlip.enabled;
}

}  // namespace quorrel
