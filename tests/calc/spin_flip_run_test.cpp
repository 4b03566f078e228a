#include "calc/spin_flip_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/magnetic_profile.h"
#include "calc/reflectivity_run.h"
#include "calc/spin_flip_model.h"
#include "common/error.h"

namespace quorrel {
namespace {

//! Ten periods of a magnetic and a non-magnetic layer, rough, below a cap.
SampleModel MagneticMultilayer() {
  SampleModel model;
  model.type = SampleType::MultipleLayers;
  model.edtRepts = 10;
  model.mlGrid.setCell(1, kColMagRe, "1.2e-6");
  model.mlGrid.setCell(1, kColSigma, "4");
  model.mlGrid.setCell(2, kColSigma, "3");
  return model;
}

//! The default model with a magnetic layer 1 and a magnetic substrate.
SampleModel MagneticLayer() {
  SampleModel model;
  model.baseGrid.setCell(2, kColMagRe, "1e-6");
  model.baseGrid.setCell(3, kColMagRe, "-0.4e-6");
  return model;
}

CalcSettings SmearedWithBackground() {
  CalcSettings settings;
  settings.edtNumPoints = 300;
  settings.cbMagnet = true;
  settings.cbVSelector = true;
  settings.edtConstantRes = 0.0005;
  settings.edtDistribution = 3;
  settings.cbBackground = true;
  settings.edtY0 = 2e-7;
  return settings;
}

void ExpectCloseCurves(const ReflCurve& a, const ReflCurve& b, const std::string& what,
                       double relative) {
  ASSERT_EQ(a.size(), b.size()) << what;
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a.x[i], b.x[i]) << what;
    EXPECT_NEAR(a.y[i], b.y[i], relative * b.y[i]) << what << " Q " << a.x[i];
  }
}

TEST(SpinFlipRunTest, CollinearMagnetisationGivesTheTwoSpinCurvesAndNoSpinFlip) {
  for (const auto& [name, model] :
       {std::pair{"multilayer", MagneticMultilayer()}, std::pair{"layer", MagneticLayer()}}) {
    for (const SmearingKernel kernel : {SmearingKernel::Standard, SmearingKernel::Accurate}) {
      CalcSettings settings = SmearedWithBackground();
      settings.smearing = kernel;
      const ReflectivityResult today = RunReflectivityCalculation(model, settings, MeasuredData());
      const SpinFlipResult flip =
          RunSpinFlipCalculation(SpinFlipStackOfModel(model, 90, 0), settings, MeasuredData());
      const std::string what =
          std::string(name) + (kernel == SmearingKernel::Accurate ? " accurate" : "");
      // The collinear accurate kernel interpolates a shared fine grid where it resolves the
      // reflectance to 1e-6; the spin-flip one integrates directly.
      const double relative = kernel == SmearingKernel::Accurate ? 1e-6 : 1e-10;
      ExpectCloseCurves(flip.downDown, today.spinDown, what, relative);
      ExpectCloseCurves(flip.upUp, today.spinUp, what, relative);
      EXPECT_EQ(flip.pointResolution, today.pointResolution);
      // The spin-flip channels hold nothing but the background.
      EXPECT_EQ(flip.upDown.y, today.pointBackground) << name;
      EXPECT_EQ(flip.downUp.y, today.pointBackground) << name;
    }
  }
}

TEST(SpinFlipRunTest, TurnedMagnetisationFlipsSpins) {
  SpinFlipStack stack = SpinFlipStackOfModel(MagneticMultilayer(), 90, 0);
  for (MagneticMedium& m : stack.media) m.thetaM = 0;  // across the guide field
  CalcSettings settings;
  settings.edtNumPoints = 50;
  const SpinFlipResult flip = RunSpinFlipCalculation(stack, settings, MeasuredData());
  ASSERT_EQ(flip.upDown.size(), 50u);
  double largest = 0;
  for (double r : flip.upDown.y) largest = std::fmax(largest, r);
  EXPECT_GT(largest, 1e-3);
  EXPECT_EQ(flip.upDown.y, flip.downUp.y);  // no field: both directions alike
}

//! Each used row's rho and angle tell its number k: rho k·1e-7, theta(mag) 10·k.
SampleModel NumberedRows(SampleModel model) {
  model.edtLayers = 2;
  model.baseGrid.setRowCount(5);
  model.edtStackedLayers = 2;
  model.mlGrid.setRowCount(3);
  int k = 0;
  for (TextGrid* grid : {&model.baseGrid, &model.mlGrid}) {
    for (int row = 1; row < grid->rowCount(); ++row) {
      ++k;
      for (int column = kColThickness; column < kGridColumns; ++column) {
        grid->setCell(row, column, "1");
      }
      grid->setCell(row, kColRho, std::to_string(k) + "e-7");
      grid->setCell(row, kColMagIm, "0");
      grid->setCell(row, kColThetaM, std::to_string(10 * k));
    }
  }
  model.baseGrid.setCell(1, kColMagRe, "0");
  return model;
}

TEST(SpinFlipRunTest, EveryMediumTakesTheAngleOfTheRowItComesFrom) {
  SampleModel multi = NumberedRows(SampleModel());
  multi.type = SampleType::MultipleLayers;
  multi.edtInsertLayer = 1;
  multi.edtRepts = 2;
  SampleModel film = NumberedRows(SampleModel());
  film.type = SampleType::SymmetricFilm;
  for (const SampleModel& model : {NumberedRows(SampleModel()), multi, film}) {
    const SpinFlipStack stack = SpinFlipStackOfModel(model, 90, 0);
    ASSERT_EQ(stack.layerCount(), CalcLayerCount(model));
    for (const MagneticMedium& medium : stack.media) {
      EXPECT_DOUBLE_EQ(medium.thetaM, medium.rho * 1e8) << static_cast<int>(model.type);
    }
  }
  // An empty angle is the collinear default; text that is no number names its cell.
  SampleModel model = NumberedRows(SampleModel());
  model.baseGrid.setCell(3, kColThetaM, "");
  EXPECT_EQ(SpinFlipStackOfModel(model, 90, 0).media[2].thetaM, 90.0);
  model.baseGrid.setCell(2, kColThetaM, "east");
  try {
    SpinFlipStackOfModel(model, 90, 0);
    ADD_FAILURE() << "no error for an unreadable angle";
  } catch (const CellError& error) {
    EXPECT_EQ(error.row(), 2);
    EXPECT_EQ(error.column(), kColThetaM);
    EXPECT_NE(std::string(error.what()).find("Layer table, row 1, theta(mag)"), std::string::npos)
        << error.what();
  }
}

TEST(SpinFlipRunTest, TheReflectivityRunGivesTheFourChannelsOnlyWithMagnetizationAndSpinFlip) {
  SampleModel model = MagneticLayer();
  model.baseGrid.setCell(2, kColThetaM, "30");
  CalcSettings settings = SmearedWithBackground();
  settings.spinFlip = {.enabled = true, .aguide = 80, .field = 0.5};
  const ReflectivityResult flipped = RunReflectivityCalculation(model, settings, MeasuredData());
  ASSERT_TRUE(flipped.spinFlip);
  const SpinFlipResult direct = RunSpinFlipCalculation(SpinFlipStackOfModel(model, 80, 0.5),
                                                       settings, MeasuredData());
  EXPECT_EQ(flipped.spinFlip->upDown.y, direct.upDown.y);
  EXPECT_EQ(flipped.spinFlip->upUp.y, direct.upUp.y);
  EXPECT_TRUE(flipped.spinUp.x.empty());
  EXPECT_LE(flipped.ranges.rMin, direct.ranges.rMin);

  // Without magnetization the switch changes nothing, and without the switch the angles do not
  // matter.
  settings.cbMagnet = false;
  CalcSettings off = settings;
  off.spinFlip = {};
  const ReflectivityResult plain = RunReflectivityCalculation(model, settings, MeasuredData());
  EXPECT_FALSE(plain.spinFlip);
  EXPECT_EQ(plain.plain.y, RunReflectivityCalculation(model, off, MeasuredData()).plain.y);
  off.cbMagnet = true;
  const ReflectivityResult collinear = RunReflectivityCalculation(model, off, MeasuredData());
  EXPECT_FALSE(collinear.spinFlip);
  EXPECT_EQ(collinear.spinUp.y,
            RunReflectivityCalculation(MagneticLayer(), off, MeasuredData()).spinUp.y);
}

TEST(SpinFlipRunTest, TheMagneticProfileHasTheLayersDensityAndAngleAtItsDepth) {
  SampleModel model;
  model.edtLayers = 2;
  model.baseGrid.setRowCount(5);
  model.baseGrid.setCell(2, kColThickness, "200");
  model.baseGrid.setCell(2, kColMagRe, "1e-6");
  model.baseGrid.setCell(2, kColThetaM, "30");
  model.baseGrid.setCell(3, kColThickness, "100");
  for (int column = kColRho; column < kGridColumns; ++column) {
    model.baseGrid.setCell(3, column, "0");
    model.baseGrid.setCell(4, column, model.baseGrid.cell(3, column));
  }
  model.baseGrid.setCell(3, kColThetaM, "-45");
  model.baseGrid.setCell(4, kColMagRe, "2e-6");
  const MagneticProfile profile =
      MagneticProfileOf(SpinFlipStackOfModel(model, 90, 0), {-60, 100, 250, 400});
  const std::vector<double> magnetic = {0, 1e-6, 0, 2e-6};
  for (std::size_t i = 0; i < magnetic.size(); ++i) {
    EXPECT_NEAR(profile.magnetic.y[i], magnetic[i], 1e-12) << i;
  }
  EXPECT_EQ(profile.angle.y, (std::vector<double>{90, 30, -45, 90}));
  EXPECT_EQ(profile.angle.x, profile.magnetic.x);
}

TEST(SpinFlipRunTest, MagneticAbsorptionAndAMagneticAmbientAreRefusedByName) {
  struct Case {
    int row, column;
    const char* message;
  };
  for (const Case c :
       {Case{2, kColMagIm,
             "spin flip takes no magnetic absorption, but I(mag) of calculation layer 1 is not 0"},
        Case{1, kColMagRe,
             "spin flip takes a non-magnetic ambient, but R(mag) or I(mag) of the ambient is not "
             "0"}}) {
    SampleModel model;
    model.baseGrid.setCell(c.row, c.column, "1e-9");
    try {
      SpinFlipStackOfModel(model, 90, 0);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const QuorrelError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace quorrel
