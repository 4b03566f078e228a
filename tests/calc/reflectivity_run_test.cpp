#include "calc/reflectivity_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>

#include "common/error.h"
#include "model/layer_stack_builder.h"
#include "model/measured_data.h"

namespace quorrel {
namespace {

//! Qz = 0, 0.05, 0.1, 0.15.
CalcSettings CoarseGrid() {
  CalcSettings settings;
  settings.edtMaxQ = 0.2;
  settings.edtNumPoints = 4;
  return settings;
}

//! A bare substrate of the given densities below vacuum.
SampleModel Substrate(const std::string& rho, const std::string& imRho) {
  SampleModel model;
  model.edtLayers = 0;
  model.baseGrid.setRowCount(3);
  model.baseGrid.setCell(2, kColLabel, "bulk");
  model.baseGrid.setCell(2, kColThickness, "N/A");
  model.baseGrid.setCell(2, kColRho, rho);
  model.baseGrid.setCell(2, kColImRho, imRho);
  model.baseGrid.setCell(2, kColSigma, "0");
  model.baseGrid.setCell(2, kColMagRe, "0");
  model.baseGrid.setCell(2, kColMagIm, "0");
  return model;
}

ReflectivityResult Calculate(const SampleModel& model, const CalcSettings& settings,
                       const MeasuredData& data = MeasuredData()) {
  return RunReflectivityCalculation(model, settings, data);
}

void ExpectSameCurve(const ReflCurve& a, const ReflCurve& b) {
  EXPECT_EQ(a.x, b.x);
  EXPECT_EQ(a.y, b.y);
}

TEST(ReflectivityRunTest, DefaultsGiveThePlainCurveOnTheDefaultGrid) {
  const ReflectivityResult result = Calculate(SampleModel(), CalcSettings());
  ASSERT_EQ(result.plain.size(), 100u);
  EXPECT_EQ(result.plain.x[0], 0.0);
  EXPECT_DOUBLE_EQ(result.plain.x[99], 0.2475);
  EXPECT_TRUE(result.spinDown.x.empty());
  EXPECT_TRUE(result.spinUp.x.empty());
  EXPECT_TRUE(result.transmission.x.empty());
  EXPECT_TRUE(result.pointBackground.empty());
  EXPECT_EQ(result.pointResolution, std::vector<double>(100, 0.0));
  EXPECT_FALSE(result.magnetic);
  EXPECT_FALSE(result.withTransmission);
  // Total reflection below the substrate's edge (about 0.0102), a steep fall above it.
  EXPECT_GT(result.plain.y[2], 0.99);
  EXPECT_LT(result.plain.y[99], 1e-6);
  EXPECT_EQ(result.ranges.qMin, 0.0);
  EXPECT_EQ(result.ranges.qMax, result.plain.x[99]);
  EXPECT_EQ(result.ranges.rMax, *std::max_element(result.plain.y.begin(), result.plain.y.end()));
  EXPECT_EQ(result.ranges.rMin, *std::min_element(result.plain.y.begin(), result.plain.y.end()));
}

TEST(ReflectivityRunTest, MeasuredPointsGiveTheGridOrWidenTheRanges) {
  MeasuredData data;
  data.fileName = "/data/run.dat";
  for (int k = 0; k < 250; ++k) {
    data.qz.push_back(0.0017 + 0.0019 * k);  // up to 0.4748
    data.r.push_back(k == 100 ? 1e-15 : 0.5);
    data.dr.push_back(0.01);
  }
  data.r[7] = 42.0;
  CalcSettings settings;
  settings.cbUserRange = false;
  const ReflectivityResult atMeasured = Calculate(SampleModel(), settings, data);
  EXPECT_EQ(atMeasured.plain.x, data.qz);
  EXPECT_EQ(atMeasured.pointResolution.size(), 250u);

  settings.cbUserRange = true;
  const ReflectivityResult onGrid = Calculate(SampleModel(), settings, data);
  ASSERT_EQ(onGrid.plain.size(), 100u);
  EXPECT_EQ(onGrid.ranges.qMin, 0.0);
  EXPECT_EQ(onGrid.ranges.qMax, data.qz.back());
  EXPECT_EQ(onGrid.ranges.rMin, 1e-15);
  EXPECT_EQ(onGrid.ranges.rMax, 42.0);
}

TEST(ReflectivityRunTest, TheResolutionSmearsTheCurve) {
  CalcSettings settings;
  settings.cbVSelector = true;
  settings.edtConstantRes = 0.001;
  settings.edtDistribution = 5;
  const ReflectivityResult smeared = Calculate(SampleModel(), settings);
  const ReflectivityResult sharp = Calculate(SampleModel(), CalcSettings());
  for (std::size_t i = 0; i < smeared.plain.size(); ++i) {
    EXPECT_DOUBLE_EQ(smeared.pointResolution[i], 0.001 + 0.05 * smeared.plain.x[i]);
  }
  // Smearing fills the minima of the fringes and keeps the Qz.
  EXPECT_EQ(smeared.plain.x, sharp.plain.x);
  EXPECT_NE(smeared.plain.y, sharp.plain.y);
  EXPECT_GT(smeared.ranges.rMin, sharp.ranges.rMin);
}

TEST(ReflectivityRunTest, TheChosenKernelAndTheDataResolutionSmearTheCurve) {
  // A 300 Å film on silicon, measured at 60 points with 5 % resolution (FWHM).
  SampleModel model;
  model.baseGrid.setCell(2, kColThickness, "300");  // row 2: the layer below air
  model.baseGrid.setCell(2, kColRho, "4e-6");
  MeasuredData data;
  data.fileName = "/data/film.ort";
  for (int k = 0; k < 60; ++k) {
    data.qz.push_back(0.02 + 0.003 * k);
    data.r.push_back(1e-4);
    data.dr.push_back(0);
    data.sqz.push_back(0.05 / 2.3548 * data.qz.back());
  }
  CalcSettings settings;
  settings.cbUserRange = false;
  settings.resolutionFromData = true;
  const ReflectivityResult standard = Calculate(model, settings, data);
  for (std::size_t i = 0; i < data.qz.size(); ++i) {
    EXPECT_EQ(standard.pointResolution[i], 2 * data.sqz[i]);
  }
  settings.smearing = SmearingKernel::Accurate;
  const ReflectivityResult accurate = Calculate(model, settings, data);
  EXPECT_EQ(accurate.pointResolution, standard.pointResolution);
  std::vector<double> expected(data.qz.size());
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  PointReflectivityBatch(stack, {.smear = true, .kernel = SmearingKernel::Accurate}, {},
                         accurate.pointResolution, data.qz, expected);
  EXPECT_EQ(accurate.plain.y, expected);
  EXPECT_NE(accurate.plain.y, standard.plain.y);
}

TEST(ReflectivityRunTest, RegionRowsSetTheResolutionOfTheirPoints) {
  CalcSettings settings = CoarseGrid();
  settings.edtRegions = 2;
  settings.resltnGrid.setRowCount(3);
  settings.resltnGrid.setCell(1, 0, "0");
  settings.resltnGrid.setCell(1, 1, "0.001");
  settings.resltnGrid.setCell(2, 0, "0.1");
  settings.resltnGrid.setCell(2, 1, "0.005");
  EXPECT_EQ(Calculate(SampleModel(), settings).pointResolution,
            (std::vector<double>{0.001, 0.001, 0.005, 0.005}));
  settings.resltnGrid.setCell(2, 1, "abc");
  try {
    Calculate(SampleModel(), settings);
    FAIL() << "no error";
  } catch (const QuorrelError& error) {
    EXPECT_STREQ(error.what(), "resolution region 2: 'abc' is not a number");
  }
}

TEST(ReflectivityRunTest, AConstantBackgroundIsWhereTheCurveLevelsOff) {
  CalcSettings settings;
  settings.edtMaxQ = 1.0;
  settings.cbBackground = true;
  settings.edtY0 = 1e-6;
  const ReflectivityResult withBackground = Calculate(SampleModel(), settings);
  EXPECT_EQ(withBackground.pointBackground, std::vector<double>(100, 1e-6));
  EXPECT_NEAR(withBackground.plain.y.back(), 1e-6, 1e-9);
  settings.cbBackground = false;
  const ReflectivityResult without = Calculate(SampleModel(), settings);
  for (std::size_t i = 0; i < without.plain.size(); ++i) {
    EXPECT_NEAR(withBackground.plain.y[i] - without.plain.y[i], 1e-6, 1e-15) << i;
  }
}

TEST(ReflectivityRunTest, TheBackgroundFormIsIgnoredWhileTheBackgroundIsOff) {
  CalcSettings settings;
  settings.background = BackgroundKind::Gaussian;  // w = 0 would be a fault
  settings.edtY0 = 1;
  const ReflectivityResult result = Calculate(SampleModel(), settings);
  EXPECT_TRUE(result.pointBackground.empty());
  ExpectSameCurve(result.plain, Calculate(SampleModel(), CalcSettings()).plain);
}

TEST(ReflectivityRunTest, AGaussianPeakIsAddedToThePoints) {
  CalcSettings settings = CoarseGrid();
  settings.cbBackground = true;
  settings.background = BackgroundKind::Gaussian;
  settings.edtPeakA = 1;
  settings.edtPeakW = 0.01;
  settings.edtPeakXC = 0.1;
  const ReflectivityResult result = Calculate(SampleModel(), settings);
  EXPECT_NEAR(result.pointBackground[2], 79.7885, 0.0001);
  EXPECT_NEAR(result.plain.y[2], 79.7885, 0.0001);
  EXPECT_EQ(result.ranges.rMax, result.plain.y[2]);
}

TEST(ReflectivityRunTest, APeakOfWidthZeroStopsTheRunAtTheFirstPoint) {
  CalcSettings settings = CoarseGrid();
  settings.edtminQ = 0.01;
  settings.cbBackground = true;
  settings.background = BackgroundKind::Gaussian;
  settings.edtPeakA = 1;
  try {
    Calculate(SampleModel(), settings);
    FAIL() << "no fault";
  } catch (const ArithmeticFault& fault) {
    EXPECT_EQ(fault.qz(), 0.01);
    EXPECT_NE(std::string(fault.what()).find("gaussian background at Qz = 0.01"),
              std::string::npos)
        << fault.what();
  }
}

TEST(ReflectivityRunTest, MagnetizationWithoutMagneticValuesGivesThreeEqualCurves) {
  CalcSettings settings;
  settings.cbMagnet = true;
  const ReflectivityResult result = Calculate(SampleModel(), settings);
  EXPECT_TRUE(result.magnetic);
  ASSERT_EQ(result.spinDown.size(), 100u);
  ExpectSameCurve(result.spinDown, result.plain);
  ExpectSameCurve(result.spinUp, result.plain);
}

TEST(ReflectivityRunTest, SpinStatesGoToTheirSlots) {
  SampleModel magnetic;
  magnetic.baseGrid.setCell(2, kColMagRe, "1e-6");
  CalcSettings settings;
  settings.cbMagnet = true;
  const ReflectivityResult result = Calculate(magnetic, settings);
  // The spin states see the layer's density lowered and raised by the magnetic part.
  SampleModel lowered, raised;
  lowered.baseGrid.setCell(2, kColRho, "2.475e-6");
  raised.baseGrid.setCell(2, kColRho, "4.475e-6");
  const ReflCurve down = Calculate(lowered, CalcSettings()).plain;
  const ReflCurve up = Calculate(raised, CalcSettings()).plain;
  ExpectSameCurve(result.plain, Calculate(SampleModel(), CalcSettings()).plain);
  for (std::size_t i = 1; i < result.plain.size(); ++i) {
    EXPECT_NEAR(result.spinDown.y[i], down.y[i], 1e-9 * down.y[i]) << i;
    EXPECT_NEAR(result.spinUp.y[i], up.y[i], 1e-9 * up.y[i]) << i;
  }
  EXPECT_NE(result.spinDown.y, result.spinUp.y);
  double rMax = 0;
  for (const ReflCurve* curve : {&result.plain, &result.spinDown, &result.spinUp}) {
    rMax = std::max(rMax, *std::max_element(curve->y.begin(), curve->y.end()));
  }
  EXPECT_EQ(result.ranges.rMax, rMax);
}

TEST(ReflectivityRunTest, TransmissionOfANonAbsorbingSampleIsOneMinusR) {
  CalcSettings settings;
  settings.cbTransmission = true;
  settings.edtSampleThickness = 1;
  SampleModel model;
  model.baseGrid.setCell(3, kColImRho, "0");
  const ReflectivityResult result = Calculate(model, settings);
  EXPECT_TRUE(result.withTransmission);
  std::size_t k = 0;
  for (std::size_t i = 0; i < result.plain.size(); ++i) {
    if (!(1 - result.plain.y[i] > 0)) continue;
    ASSERT_LT(k, result.transmission.size());
    EXPECT_EQ(result.transmission.x[k], result.plain.x[i]);
    EXPECT_EQ(result.transmission.y[k], 1 - result.plain.y[i]);
    ++k;
  }
  EXPECT_EQ(k, result.transmission.size());
  EXPECT_GT(k, 90u);
}

TEST(ReflectivityRunTest, TransmissionOfAnAbsorbingSubstrate) {
  CalcSettings settings = CoarseGrid();
  settings.cbTransmission = true;
  settings.edtSampleThickness = 1;
  settings.edtWavelength = 4.75;
  const ReflectivityResult result = Calculate(Substrate("2.073e-6", "2.37e-11"), settings);
  ASSERT_EQ(result.transmission.size(), 3u);  // Qz = 0 is not transmitted
  EXPECT_EQ(result.transmission.x[1], 0.1);
  EXPECT_NEAR(result.transmission.y[1], 0.94188, 0.00001);
  EXPECT_LE(result.ranges.rMin,
            *std::min_element(result.transmission.y.begin(), result.transmission.y.end()));
}

TEST(ReflectivityRunTest, TransmissionUsesTheValueWithItsBackground) {
  CalcSettings settings = CoarseGrid();
  settings.cbTransmission = true;
  settings.edtSampleThickness = 1;
  settings.cbBackground = true;
  settings.edtY0 = 0.25;
  const ReflectivityResult result = Calculate(Substrate("2.073e-6", "0"), settings);
  ASSERT_EQ(result.transmission.size(), 3u);
  EXPECT_EQ(result.transmission.y[2], 1 - result.plain.y[3]);
  EXPECT_NEAR(result.transmission.y[2], 0.75, 1e-5);
}

TEST(ReflectivityRunTest, WavelengthZeroStopsTheTransmissionAtTheFirstPoint) {
  CalcSettings settings = CoarseGrid();
  settings.cbTransmission = true;
  settings.edtWavelength = 0;
  try {
    Calculate(SampleModel(), settings);
    FAIL() << "no fault";
  } catch (const ArithmeticFault& fault) {
    EXPECT_EQ(fault.qz(), 0.0);
  }
}

TEST(ReflectivityRunTest, NoReflectionAnywhereLeavesTheInitialValueRange) {
  CalcSettings settings = CoarseGrid();
  settings.edtminQ = 0.01;
  const ReflectivityResult result = Calculate(Substrate("0", "0"), settings);
  EXPECT_EQ(result.plain.y, std::vector<double>(4, 0.0));
  EXPECT_EQ(result.ranges.rMin, 1e37);
  EXPECT_EQ(result.ranges.rMax, 1e-37);
  EXPECT_EQ(result.ranges.qMin, 0.01);
}

TEST(ReflectivityRunTest, RefusedCountsAndModelErrorsStopTheRun) {
  CalcSettings settings;
  settings.edtNumPoints = 0;
  EXPECT_THROW(Calculate(SampleModel(), settings), QuorrelError);
  SampleModel broken;
  broken.baseGrid.setCell(2, kColRho, "3.4x");
  EXPECT_THROW(Calculate(broken, CalcSettings()), CellError);
  // The magnetic columns are numbers only where magnetization is asked for.
  SampleModel unreadableMagnet;
  unreadableMagnet.baseGrid.setCell(2, kColMagRe, "");
  EXPECT_NO_THROW(Calculate(unreadableMagnet, CalcSettings()));
  settings = CalcSettings();
  settings.cbMagnet = true;
  EXPECT_THROW(Calculate(unreadableMagnet, settings), CellError);
}

TEST(ReflectivityRunTest, AFailingUserFunctionIsReportedWithTheCurves) {
  SampleModel graded;
  graded.type = SampleType::ProfileFunction;
  graded.edtFunctionLayer = 1;
  graded.edtNumCalcLayers = 4;
  graded.edtLayerThickness = 5;
  graded.function.kind = FunctionKind::UserDefined;
  graded.function.expression = "z +* 2";
  const ReflectivityResult result = Calculate(graded, CoarseGrid());
  EXPECT_EQ(result.notes.statusText, "error in user function");
  EXPECT_EQ(result.plain.size(), 4u);
  EXPECT_TRUE(Calculate(SampleModel(), CoarseGrid()).notes.statusText.empty());
}

//! A periodic magnetic model and settings that exercise every part of a run.
SampleModel Multilayer() {
  SampleModel model;
  model.type = SampleType::MultipleLayers;
  model.edtRepts = 12;
  model.mlGrid.setCell(1, kColMagRe, "1.2e-6");
  model.mlGrid.setCell(1, kColSigma, "4");
  model.mlGrid.setCell(2, kColSigma, "3");
  return model;
}

CalcSettings Everything() {
  CalcSettings settings;
  settings.edtNumPoints = 400;
  settings.cbMagnet = true;
  settings.cbTransmission = true;
  settings.edtSampleThickness = 0.5;
  settings.cbVSelector = true;
  settings.edtConstantRes = 0.0005;
  settings.edtDistribution = 3;
  settings.cbBackground = true;
  settings.background = BackgroundKind::Linear;
  settings.edtY0 = 2e-7;
  settings.edtM = 1e-6;
  return settings;
}

void ExpectSameResult(const ReflectivityResult& a, const ReflectivityResult& b) {
  ExpectSameCurve(a.plain, b.plain);
  ExpectSameCurve(a.spinDown, b.spinDown);
  ExpectSameCurve(a.spinUp, b.spinUp);
  ExpectSameCurve(a.transmission, b.transmission);
  EXPECT_EQ(a.pointResolution, b.pointResolution);
  EXPECT_EQ(a.pointBackground, b.pointBackground);
  EXPECT_EQ(a.ranges.rMin, b.ranges.rMin);
  EXPECT_EQ(a.ranges.rMax, b.ranges.rMax);
}

TEST(ReflectivityRunTest, TwoRunsAtOnceGiveWhatTheyGiveOneAfterTheOther) {
  const SampleModel first = Multilayer();
  const SampleModel second = SampleModel();
  const CalcSettings settings = Everything();
  const ReflectivityResult firstAlone = Calculate(first, settings);
  const ReflectivityResult secondAlone = Calculate(second, settings);
  ASSERT_FALSE(firstAlone.transmission.x.empty());
  for (int repeat = 0; repeat < 3; ++repeat) {
    ReflectivityResult firstTogether, secondTogether;
    std::thread a([&] { firstTogether = Calculate(first, settings); });
    std::thread b([&] { secondTogether = Calculate(second, settings); });
    a.join();
    b.join();
    ExpectSameResult(firstTogether, firstAlone);
    ExpectSameResult(secondTogether, secondAlone);
  }
}

}  // namespace
}  // namespace quorrel
