#include "model/calc_settings_view.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

TEST(CalcSettingsView, StartUpStates) {
  const CalcSettingsView view = ViewOf(CalcSettings());
  EXPECT_TRUE(view.qRangeEnabled);
  EXPECT_FALSE(view.zRangeEnabled);
  EXPECT_FALSE(view.transmissionVisible);
  EXPECT_FALSE(view.sampleThicknessEnabled);
  EXPECT_FALSE(view.backgroundVisible);
  EXPECT_FALSE(view.vSelectorVisible);
  EXPECT_TRUE(view.regionsVisible);
}

TEST(CalcSettingsView, BackgroundFieldsPerKind) {
  struct Case {
    BackgroundKind kind;
    bool slope;
    bool peak;
  };
  const Case cases[] = {
      {BackgroundKind::Constant, false, false},
      {BackgroundKind::Linear, true, false},
      {BackgroundKind::Gaussian, true, true},
      {BackgroundKind::Lorentzian, true, true},
  };
  CalcSettings settings;
  for (const Case& c : cases) {
    settings.background = c.kind;
    const CalcSettingsView view = ViewOf(settings);
    EXPECT_TRUE(view.y0Visible);
    EXPECT_EQ(view.slopeVisible, c.slope) << static_cast<int>(c.kind);
    EXPECT_EQ(view.peakVisible, c.peak) << static_cast<int>(c.kind);
  }
  // Going back to constant hides the slope again.
  settings.background = BackgroundKind::Linear;
  settings.background = BackgroundKind::Constant;
  EXPECT_FALSE(ViewOf(settings).slopeVisible);
}

TEST(CalcSettingsView, SwitchesShowTheirGroups) {
  CalcSettings settings;
  settings.cbBackground = true;
  settings.cbTransmission = true;
  settings.cbVSelector = true;
  settings.cbUserRange = false;
  settings.cbUserZ = true;
  const CalcSettingsView view = ViewOf(settings);
  EXPECT_TRUE(view.backgroundVisible);
  EXPECT_TRUE(view.transmissionVisible);
  EXPECT_TRUE(view.sampleThicknessEnabled);
  EXPECT_TRUE(view.vSelectorVisible);
  EXPECT_FALSE(view.regionsVisible);
  EXPECT_FALSE(view.qRangeEnabled);
  EXPECT_TRUE(view.zRangeEnabled);
  // Spin flip belongs to the magnetization: its switch and fields show only with it.
  settings.spinFlip.enabled = true;
  EXPECT_FALSE(ViewOf(settings).spinFlipVisible);
  EXPECT_FALSE(ViewOf(settings).spinFlipFieldsVisible);
  settings.cbMagnet = true;
  EXPECT_TRUE(ViewOf(settings).spinFlipFieldsVisible);
  settings.spinFlip.enabled = false;
  EXPECT_TRUE(ViewOf(settings).spinFlipVisible);
  EXPECT_FALSE(ViewOf(settings).spinFlipFieldsVisible);
}

TEST(CalcButtonHint, ProfilePageOnly) {
  EXPECT_STREQ(CalcButtonHint(SettingsPage::Profile), "calculate profile");
  for (SettingsPage page : {SettingsPage::Reflectivity, SettingsPage::Transmission,
                            SettingsPage::Background, SettingsPage::Resolution,
                            SettingsPage::Database}) {
    EXPECT_STREQ(CalcButtonHint(page), "calculate reflectivity");
  }
}

TEST(CalcSettingsView, TheDataResolutionIsOfferedWhenTheDataCarryIt) {
  CalcSettings settings;
  EXPECT_FALSE(ViewOf(settings).dataResolutionEnabled);
  EXPECT_TRUE(ViewOf(settings, true).dataResolutionEnabled);
  // Chosen, it replaces the model's resolution only while the data carry one.
  settings.resolutionFromData = true;
  EXPECT_TRUE(ViewOf(settings).modelResolutionEnabled);
  EXPECT_FALSE(ViewOf(settings, true).modelResolutionEnabled);
}

}  // namespace
}  // namespace quorrel
