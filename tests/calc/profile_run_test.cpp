#include "calc/profile_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "common/decimal_separator.h"
#include "common/error.h"

namespace quorrel {
namespace {

//! No layers: air (rho 1e-6) on bulk (rho 2.073e-6, sigma 5).
SampleModel BareInterface() {
  SampleModel model;
  model.edtLayers = 0;
  model.baseGrid.setRowCount(3);
  model.baseGrid.setCell(1, kColRho, "1e-6");
  model.baseGrid.setCell(2, kColLabel, "bulk");
  model.baseGrid.setCell(2, kColThickness, "N/A");
  model.baseGrid.setCell(2, kColRho, "2.073e-6");
  model.baseGrid.setCell(2, kColImRho, "0");
  model.baseGrid.setCell(2, kColSigma, "5");
  model.baseGrid.setCell(2, kColMagRe, "0");
  model.baseGrid.setCell(2, kColMagIm, "0");
  return model;
}

CalcSettings UserRange(int minZ, int maxZ, int points) {
  CalcSettings settings;
  settings.cbUserZ = true;
  settings.edtMinZ = minZ;
  settings.edtMaxZ = maxZ;
  settings.edtNumPointsZ = points;
  return settings;
}

TEST(ProfileRunTest, NoLayersGiveTheFixedRangeAndOneErrorFunction) {
  const ProfileCurve curve = RunProfileCalculation(BareInterface(), CalcSettings());
  ASSERT_EQ(curve.size(), 101u);
  EXPECT_EQ(curve.x.front(), -25.0);
  EXPECT_EQ(curve.x[1], -24.5);
  EXPECT_EQ(curve.x.back(), 25.0);
  for (std::size_t i = 0; i < curve.size(); ++i) {
    const double z = curve.x[i];
    const double expected =
        1e-6 + (2.073e-6 - 1e-6) / 2 * (1 + std::erf(z / (std::numbers::sqrt2 * 5)));
    EXPECT_NEAR(curve.y[i], expected, 1e-12) << z;
  }
}

TEST(ProfileRunTest, TheDefaultModelUsesItsAutomaticRangeWithAccumulatedSteps) {
  const ProfileCurve curve = RunProfileCalculation(SampleModel(), CalcSettings());
  // -6 .. 31 in steps of 0.37: the summed steps pass 31 just before the last one.
  ASSERT_EQ(curve.size(), 100u);
  EXPECT_EQ(curve.x.front(), -6.0);
  EXPECT_NEAR(curve.x.back(), 30.63, 1e-9);
  // z = 12.5 inside the 25 Å layer, between interfaces of sigma 3 at 0 and 5 at 25.
  const auto step = [](double z, double at, double sigma) {
    return (1 + std::erf((z - at) / (std::numbers::sqrt2 * sigma))) / 2;
  };
  const double middle = curve.x[50];
  EXPECT_NEAR(middle, 12.5, 1e-9);
  EXPECT_NEAR(curve.y[50],
              3.475e-6 * step(middle, 0, 3) + (2.073e-6 - 3.475e-6) * step(middle, 25, 5), 1e-12);
}

TEST(ProfileRunTest, AReversedUserRangeIsPutInOrder) {
  const ProfileCurve curve = RunProfileCalculation(SampleModel(), UserRange(100, -50, 100));
  ASSERT_EQ(curve.size(), 101u);
  EXPECT_EQ(curve.x.front(), -50.0);
  EXPECT_EQ(curve.x.back(), 100.0);
  // Far from the interfaces the ambient and the substrate themselves.
  EXPECT_DOUBLE_EQ(curve.y.front(), 0.0);
  EXPECT_DOUBLE_EQ(curve.y.back(), 2.073e-6);
}

TEST(ProfileRunTest, ARangeOfOneDepthGivesOnePoint) {
  const ProfileCurve curve = RunProfileCalculation(SampleModel(), UserRange(10, 10, 100));
  ASSERT_EQ(curve.size(), 1u);
  EXPECT_EQ(curve.x[0], 10.0);
  SampleModel thin;
  thin.baseGrid.setCell(2, kColThickness, "0.4");  // automatic range 0 .. 0
  EXPECT_EQ(RunProfileCalculation(thin, CalcSettings()).size(), 1u);
}

TEST(ProfileRunTest, AStepTooSmallToMoveTheDepthEndsTheWalk) {
  const ProfileCurve curve =
      RunProfileCalculation(BareInterface(), UserRange(2000000000, 2000000001, 1000000000));
  EXPECT_EQ(curve.size(), 1u);
}

TEST(ProfileRunTest, APointCountBelowOneIsRefused) {
  for (const int points : {0, -3}) {
    try {
      RunProfileCalculation(SampleModel(), UserRange(-10, 10, points));
      FAIL() << "not refused: " << points;
    } catch (const QuorrelError& error) {
      EXPECT_EQ(error.what(),
                "the number of profile points must be at least 1, not " + std::to_string(points));
    }
  }
}

TEST(ProfileRunTest, ProgressNamesEveryDepthWithTwoDecimals) {
  std::vector<std::string> texts;
  const ProfileCurve curve = RunProfileCalculation(
      SampleModel(), UserRange(-1, 1, 8), [&](const std::string& text) { texts.push_back(text); });
  ASSERT_EQ(texts.size(), curve.size());
  EXPECT_EQ(texts.front(), "calculating rho(z), z = -1.00");
  EXPECT_EQ(texts[1], "calculating rho(z), z = -0.75");
  EXPECT_EQ(texts.back(), "calculating rho(z), z = 1.00");
  const ScopedDecimalSeparator comma(',');
  texts.clear();
  RunProfileCalculation(SampleModel(), UserRange(-1, 1, 8),
                        [&](const std::string& text) { texts.push_back(text); });
  EXPECT_EQ(texts[1], "calculating rho(z), z = -0,75");
}

TEST(ProfileRunTest, MagnetismAndAbsorptionDoNotEnter) {
  SampleModel magnetic;
  magnetic.baseGrid.setCell(2, kColMagRe, "2e-6");
  magnetic.baseGrid.setCell(2, kColImRho, "1e-6");
  EXPECT_EQ(RunProfileCalculation(magnetic, CalcSettings()).y,
            RunProfileCalculation(SampleModel(), CalcSettings()).y);
}

TEST(ProfileRunTest, AFailingUserFunctionIsReported) {
  SampleModel graded;
  graded.type = SampleType::ProfileFunction;
  graded.edtFunctionLayer = 1;
  graded.edtNumCalcLayers = 4;
  graded.edtLayerThickness = 5;
  graded.function.kind = FunctionKind::UserDefined;
  graded.function.expression = "z +* 2";
  BuildNotes notes;
  EXPECT_FALSE(RunProfileCalculation(graded, CalcSettings(), {}, &notes).x.empty());
  EXPECT_EQ(notes.statusText, "error in user function");
}

TEST(ProfileRunTest, ModelErrorsStopTheRun) {
  SampleModel broken;
  broken.baseGrid.setCell(2, kColSigma, "three");
  EXPECT_THROW(RunProfileCalculation(broken, CalcSettings()), CellError);
}

TEST(ProfileRunTest, TwoRunsAtOnceGiveWhatTheyGiveOneAfterTheOther) {
  SampleModel multilayer;
  multilayer.type = SampleType::MultipleLayers;
  multilayer.edtRepts = 20;
  const CalcSettings settings = UserRange(-50, 1300, 999);
  const ProfileCurve firstAlone = RunProfileCalculation(multilayer, settings);
  const ProfileCurve secondAlone = RunProfileCalculation(SampleModel(), settings);
  ProfileCurve first, second;
  std::thread a([&] { first = RunProfileCalculation(multilayer, settings); });
  std::thread b([&] { second = RunProfileCalculation(SampleModel(), settings); });
  a.join();
  b.join();
  EXPECT_EQ(first.y, firstAlone.y);
  EXPECT_EQ(second.y, secondAlone.y);
  EXPECT_NE(first.y, second.y);
}

}  // namespace
}  // namespace quorrel
