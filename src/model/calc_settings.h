#pragma once
// The options of the calculations, one typed value per control of the settings dialog.

#include "model/text_grid.h"

namespace quorrel {

enum class BackgroundKind { Constant, Linear, Gaussian, Lorentzian };
enum class Radiation { Neutrons, Xrays };

struct CalcSettings {
  CalcSettings();

  // Reflectivity.
  bool cbUserRange = true;
  double edtminQ = 0.0;
  double edtMaxQ = 0.25;
  int edtNumPoints = 100;       // spin field 0 .. 999
  bool cbMagnet = false;

  // Transmission.
  bool cbTransmission = false;
  double edtWavelength = 4.66;
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
  int edtRegions = 1;            // spin field 1 .. 8
  TextGrid resltnGrid;           // row 0 headings "from Qz", "delta Qz"; rows 1..edtRegions

  // Database.
  Radiation radiation = Radiation::Neutrons;
};

}  // namespace quorrel
