// The arithmetic and the texts behind the main window: tiling, read-outs, the fitting region,
// the about box, the tips and the help pages.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/decimal_separator.h"
#include "shell/about_texts.h"
#include "shell/fitting_region.h"
#include "shell/help_topics.h"
#include "shell/shipped_files.h"
#include "shell/status_texts.h"
#include "shell/tiling.h"
#include "shell/tips.h"

namespace quorrel {
namespace {

TEST(Tile, PlotsShareTheLeftAndTheEditorKeepsTheRight) {
  const TileLayout layout = Tile({.clientWidth = 1200,
                                  .clientHeight = 771,
                                  .toolbarHeight = 38,
                                  .statusBarHeight = 22,
                                  .modelTopPanelWidth = 550});
  // H = 771 - 38 - 22 - 10 = 701; H / 2 = 350, rounded toward zero.
  EXPECT_EQ(layout.reflectivity.left, 0);
  EXPECT_EQ(layout.reflectivity.top, 0);
  EXPECT_EQ(layout.reflectivity.width, 630);
  EXPECT_EQ(layout.reflectivity.height, 350);
  EXPECT_EQ(layout.profile.top, 350);
  EXPECT_EQ(layout.profile.width, 630);
  EXPECT_EQ(layout.profile.height, 350);
  EXPECT_EQ(layout.modelLeft, 630);
  EXPECT_EQ(layout.modelTop, 0);
  EXPECT_EQ(layout.modelHeight, 701);
}

TEST(StatusTexts, ReadoutsHaveTheirExactFormat) {
  EXPECT_EQ(ReflectivityReadout(DataPoint{0.05, 1.234e-5}), "Qz =0.0500; R = 1.234E-05");
  EXPECT_EQ(ProfileReadout(DataPoint{-12.5, 2.07e-6}), "z =-12.5000; rho = 2.070E-06");
  EXPECT_EQ(ReflectivityReadout(std::nullopt), "Qz =0.0000; R = 0.000E+00");
  EXPECT_EQ(ProfileReadout(std::nullopt), "z =0.0000; rho = 0.000E+00");
  ScopedDecimalSeparator comma(',');
  EXPECT_EQ(ReflectivityReadout(DataPoint{0.05, 1.234e-5}), "Qz =0,0500; R = 1,234E-05");
}

TEST(StatusTexts, LogoTexts) {
  EXPECT_EQ(LogoHoverText("https://a.example"),
            "click here connect to https://a.example using your default web browser");
  EXPECT_EQ(LogoConnectingText("https://a.example"), "trying to connect to https://a.example ...");
  EXPECT_EQ(LogoFailureText("https://a.example"), "could not connect to https://a.example");
}

MeasuredData Loaded() {
  MeasuredData data;
  data.qz = {0.01, 0.02, 0.03};
  data.r = {1, 0.5, 0.1};
  data.dr = {0, 0, 0};
  data.fileName = "/data/run.dat";
  data.fitRegionLow = 0.01;
  data.fitRegionHigh = 0.03;
  return data;
}

TEST(ChooseRegionBound, TheLowerBoundStartsTheRegionAfresh) {
  MeasuredData data = Loaded();
  const RegionMarkerChange change = ChooseRegionBound(data, RegionBound::Lower, DataPoint{0.02, 0.5});
  EXPECT_TRUE(change.recreateMarkers);
  EXPECT_EQ(data.fitRegionLow, 0.02);
  EXPECT_EQ(data.fitRegionHigh, -1.0);
  ASSERT_TRUE(change.addMarker);
  EXPECT_EQ(change.addMarker->y, 0.5);
  EXPECT_FALSE(change.message);
}

TEST(ChooseRegionBound, AClickOutsideTheRangeResetsOrKeepsTheBounds) {
  MeasuredData data = Loaded();
  const RegionMarkerChange lower = ChooseRegionBound(data, RegionBound::Lower, std::nullopt);
  EXPECT_TRUE(lower.recreateMarkers);
  EXPECT_FALSE(lower.addMarker);
  EXPECT_EQ(data.fitRegionLow, -1.0);
  EXPECT_EQ(data.fitRegionHigh, -1.0);

  data = Loaded();
  const RegionMarkerChange upper = ChooseRegionBound(data, RegionBound::Upper, std::nullopt);
  EXPECT_FALSE(upper.recreateMarkers);
  EXPECT_FALSE(upper.addMarker);
  EXPECT_FALSE(upper.message);
  EXPECT_EQ(data.fitRegionLow, 0.01);
  EXPECT_EQ(data.fitRegionHigh, 0.03);
}

TEST(ChooseRegionBound, AnUpperBoundBelowTheLowerOneIsExchanged) {
  MeasuredData data = Loaded();
  ChooseRegionBound(data, RegionBound::Lower, DataPoint{0.03, 0.1});
  const RegionMarkerChange change = ChooseRegionBound(data, RegionBound::Upper, DataPoint{0.01, 1});
  EXPECT_EQ(data.fitRegionLow, 0.01);
  EXPECT_EQ(data.fitRegionHigh, 0.03);
  EXPECT_EQ(change.removeMarkersAt, -1.0);
  EXPECT_EQ(change.message, "fitting region is set to 0.010 < Q < 0.030");
}

TEST(ChooseRegionBound, ARightClickFirstGivesARegionFromMinusOne) {
  MeasuredData data = Loaded();
  data.fitRegionLow = data.fitRegionHigh = -1.0;
  const RegionMarkerChange change = ChooseRegionBound(data, RegionBound::Upper, DataPoint{0.02, 0.5});
  EXPECT_EQ(data.fitRegionLow, -1.0);
  EXPECT_EQ(data.fitRegionHigh, 0.02);
  EXPECT_EQ(change.message, "fitting region is set to -1.000 < Q < 0.020");
}

TEST(AboutTexts, VersionAndOperatingSystem) {
  EXPECT_EQ(VersionLabel("1.6.0.242"), "Version 1.6.0  build 242");
  EXPECT_EQ(VersionLabel("2"), "Version 2");
  const OperatingSystem kernel = LinuxKernel("6.1.0-18-amd64");
  EXPECT_EQ(OperatingSystemLabel(kernel), "Operating System: Linux 6.1 build 0");
  EXPECT_EQ(OperatingSystemLabel(LinuxKernel("5")), "Operating System: Linux 5.0 build 0");
  EXPECT_EQ(OperatingSystemLabel({OperatingSystem::Family::WindowsNT, 4, 0, 1381}),
            "Operating System: Windows NT 4.0 build 1381");
  EXPECT_EQ(OperatingSystemLabel({OperatingSystem::Family::Other, 1, 2, 3}),
            "Operating System: 1.2 build 3");
}

TEST(Tips, FourteenTipsThatWrapAround) {
  EXPECT_EQ(kTips.size(), 14u);
  EXPECT_TRUE(kTips[13].starts_with("that writing tips of the day"));
  EXPECT_EQ(NextTip(13), 0u);
  EXPECT_EQ(NextTip(0), 1u);
  for (const std::string_view tip : kTips) EXPECT_TRUE(tip.starts_with("that ")) << tip;
}

TEST(HelpTopics, ContextsAndTopicsHavePages) {
  EXPECT_EQ(HelpPageOfContext(10), "main.html");
  EXPECT_EQ(HelpPageOfContext(12), "file.html#loaddata");
  EXPECT_EQ(HelpPageOfContext(380), "tutorial.html");
  EXPECT_FALSE(HelpPageOfContext(11 + 1000));
  for (int context : {10, 11, 12, 13, 14, 15, 19, 40, 70, 80, 330, 340, 350, 380}) {
    EXPECT_TRUE(HelpPageOfContext(context)) << context;
  }
  EXPECT_EQ(HelpPageOfTopic("Index"), "index.html");
  EXPECT_EQ(HelpPageOfTopic("SETTINGSDIALOG"), "settings.html");
  EXPECT_EQ(HelpPageOfTopic("fittingdialog"), "fit.html");
  EXPECT_EQ(HelpPageOfTopic("functiondialog"), "function.html");
  EXPECT_EQ(HelpPageOfTopic("DatabaseEditor"), "database.html");
  EXPECT_FALSE(HelpPageOfTopic("nothing"));
}

}  // namespace
}  // namespace quorrel

namespace quorrel {
namespace {

TEST(ShippedMaterialTable, BesideTheProgramElseInTheInstalledDataFolder) {
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("quorrel-shipped-" + std::to_string(::getpid()));
  std::filesystem::create_directories(root / "bin");
  // Neither: the build's place is named.
  EXPECT_EQ(ShippedMaterialTable(root / "bin"), root / "bin" / "database" / "quorrel.db");
  std::filesystem::create_directories(root / "share" / "quorrel" / "database");
  std::ofstream(root / "share" / "quorrel" / "database" / "quorrel.db") << "x";
  EXPECT_EQ(ShippedMaterialTable(root / "bin"),
            root / "share" / "quorrel" / "database" / "quorrel.db");
  std::filesystem::create_directories(root / "bin" / "database");
  std::ofstream(root / "bin" / "database" / "quorrel.db") << "x";
  EXPECT_EQ(ShippedMaterialTable(root / "bin"), root / "bin" / "database" / "quorrel.db");
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace quorrel
