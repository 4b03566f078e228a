#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

TEST(ReadCommandLine, SwitchesMatchOnlyAsWholeLowerCaseWords) {
  EXPECT_TRUE(ReadCommandLine({}).showSplash);
  EXPECT_TRUE(ReadCommandLine({}).loadMaterialTable);
  EXPECT_FALSE(ReadCommandLine({"nosplash"}).showSplash);
  EXPECT_FALSE(ReadCommandLine({"nodatabase"}).loadMaterialTable);
  for (const char* ignored : {"NOSPLASH", "-nosplash", "/nosplash", "nosplash2"}) {
    const StartupSwitches switches = ReadCommandLine({ignored});
    EXPECT_TRUE(switches.showSplash) << ignored;
    EXPECT_FALSE(switches.error) << ignored;
  }
}

TEST(ReadCommandLine, FilesAreRecognisedByTheirExtension) {
  const StartupSwitches switches =
      ReadCommandLine({"first.par", "nosplash", "data/run.DAT", "model.PAR", "notes.txt"});
  EXPECT_EQ(switches.modelFile, "model.PAR");
  EXPECT_EQ(switches.dataFile, "data/run.DAT");
  EXPECT_FALSE(switches.showSplash);
  EXPECT_EQ(ReadCommandLine({"run.dat", "spin.ORT"}).dataFile, "spin.ORT");
  EXPECT_EQ(ReadCommandLine({"a.par", "valve.Layers"}).modelFile, "valve.Layers");
}

TEST(ReadCommandLine, AScreenshotOrAPrintNeedsAFile) {
  EXPECT_EQ(ReadCommandLine({"--screenshot", "out.png", "x.par"}).screenshot, "out.png");
  EXPECT_EQ(ReadCommandLine({"--print-pdf", "sheet.pdf"}).printPdf, "sheet.pdf");
  EXPECT_TRUE(ReadCommandLine({"--print-pdf"}).error.has_value());
  EXPECT_EQ(ReadCommandLine({"--screenshot", "out.png", "x.par"}).modelFile, "x.par");
  const StartupSwitches missing = ReadCommandLine({"x.par", "--screenshot"});
  EXPECT_TRUE(missing.error.has_value());
  EXPECT_FALSE(missing.screenshot.has_value());
}

}  // namespace
}  // namespace quorrel
