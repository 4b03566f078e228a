#pragma once
// Which fields of the settings dialog are enabled or visible, derived from the settings.

#include "model/calc_settings.h"

namespace quorrel {

enum class SettingsPage { Reflectivity, Transmission, Profile, Background, Resolution, Database };

//! The enabled and visible states that the dialog mirrors. They follow from the switch values
//! alone, so a window that applies them after every change can never disagree with them.
struct CalcSettingsView {
  bool qRangeEnabled = true;          // edtminQ, edtMaxQ, edtNumPoints
  bool transmissionVisible = false;   // gbTransmission
  bool sampleThicknessEnabled = false;
  bool zRangeEnabled = false;         // edtMinZ, edtMaxZ, edtNumPointsZ
  bool backgroundVisible = false;     // GroupBoxBG
  bool y0Visible = true;              // edtY0 and its label, enabled for every kind
  bool slopeVisible = false;          // edtM and its label
  bool peakVisible = false;           // edtPeakA, edtPeakW, edtPeakXC and their labels
  bool vSelectorVisible = false;      // pnlVSelector
  bool regionsVisible = true;         // pnlRegions
  bool dataResolutionEnabled = false; // cbDataResolution: the data carry sQz
  bool modelResolutionEnabled = true; // cbVSelector and both panels: no resolution from data
  bool spinFlipVisible = false;       // cbSpinFlip: belongs to "include magnetization"
  bool spinFlipFieldsVisible = false; // edtAguide, edtField and their labels
};

//! The states that the settings call for, with data that carry sQz or not.
CalcSettingsView ViewOf(const CalcSettings& settings, bool dataCarryResolution = false);

//! The hint of btnCalc on a page: "calculate profile" on the profile page, otherwise
//! "calculate reflectivity".
const char* CalcButtonHint(SettingsPage page);

}  // namespace quorrel
