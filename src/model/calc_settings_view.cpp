#include "model/calc_settings_view.h"

namespace quorrel {

CalcSettingsView ViewOf(const CalcSettings& settings, bool dataCarryResolution) {
  CalcSettingsView view;
  view.qRangeEnabled = settings.cbUserRange;
  view.transmissionVisible = settings.cbTransmission;
  view.sampleThicknessEnabled = settings.cbTransmission;
  view.zRangeEnabled = settings.cbUserZ;
  view.backgroundVisible = settings.cbBackground;
  view.y0Visible = true;
  view.slopeVisible = settings.background != BackgroundKind::Constant;
  view.peakVisible = settings.background == BackgroundKind::Gaussian ||
                     settings.background == BackgroundKind::Lorentzian;
  view.vSelectorVisible = settings.cbVSelector;
  view.regionsVisible = !settings.cbVSelector;
  view.dataResolutionEnabled = dataCarryResolution;
  view.modelResolutionEnabled = !(settings.resolutionFromData && dataCarryResolution);
  view.spinFlipVisible = settings.cbMagnet;
  view.spinFlipFieldsVisible = SpinFlipOn(settings);
  return view;
}

const char* CalcButtonHint(SettingsPage page) {
  return page == SettingsPage::Profile ? "calculate profile" : "calculate reflectivity";
}

}  // namespace quorrel
