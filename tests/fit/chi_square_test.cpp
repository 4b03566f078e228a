#include "fit/chi_square.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fit_test_models.h"
#include "model/layer_stack_builder.h"

namespace quorrel {
namespace {

MeasuredData Points(std::vector<double> qz) {
  MeasuredData data;
  data.qz = std::move(qz);
  data.r.assign(data.qz.size(), 1.0);
  data.dr.assign(data.qz.size(), 0.1);
  data.fileName = "points.dat";
  return data;
}

TEST(RegionPointsTest, BoundsWalkOverTheMeasuredQz) {
  MeasuredData data = Points({0.01, 0.02, 0.03, 0.04, 0.05});
  struct Case {
    double low, high;
    int first, last;
  };
  const Case cases[] = {
      {-1.0, -1.0, 1, 5},   // no region: every point
      {0.02, 0.04, 2, 4},   // bounds on points include them
      {-1.0, 0.03, 1, 3},   // lower bound not set: from the first point
      {0.025, 0.045, 2, 4},  // between points: the points at or below each bound
      {0.0, 0.1, 1, 5},
      {0.02, -1.0, 2, 0},   // upper bound not set: no point
  };
  for (const Case& c : cases) {
    data.fitRegionLow = c.low;
    data.fitRegionHigh = c.high;
    const PointRange range = RegionPoints(data);
    EXPECT_EQ(range.first, c.first) << c.low << " " << c.high;
    EXPECT_EQ(range.last, c.last) << c.low << " " << c.high;
  }
  data.fitRegionLow = 0.02;
  data.fitRegionHigh = -1.0;
  EXPECT_TRUE(RegionPoints(data).empty());
}

//! Measured points whose reflectivity is the model's times `factor`, with errors `error`.
struct Fixture {
  LayerStack stack;
  MeasuredData data;
  std::vector<double> fit;
};

Fixture Make(int n, double factor, double error = 0.1) {
  Fixture f;
  BuildLayerStack(testing::TwoLayerModel(), SpinState::None, f.stack);
  f.data = Points(testing::QzGrid(0.01, 0.2, n));
  f.fit.resize(static_cast<std::size_t>(n));
  ReflectanceWorkspace workspace;
  for (int i = 0; i < n; ++i) {
    f.fit[static_cast<std::size_t>(i)] =
        Reflectance(f.stack, f.data.qz[static_cast<std::size_t>(i)], workspace);
    f.data.r[static_cast<std::size_t>(i)] = factor * f.fit[static_cast<std::size_t>(i)];
    f.data.dr[static_cast<std::size_t>(i)] = error * f.fit[static_cast<std::size_t>(i)];
  }
  return f;
}

std::optional<double> Evaluate(Fixture& f, Weighting weighting,
                               std::vector<double> background = {}) {
  ChiSquareEvaluator evaluator(f.data, {}, background, RegionPoints(f.data),
                               {weighting, false, !background.empty(), KernelKind::Fast});
  return evaluator.evaluate(f.stack);
}

TEST(ChiSquareTest, TheSumIsDividedByThePointsMinusOne) {
  // Every term of 101 points is ((R - 0.9 R) / R)^2 = 0.01.
  Fixture f = Make(101, 1.0 / 0.9);
  const std::optional<double> chi = Evaluate(f, Weighting::Statistical);
  ASSERT_TRUE(chi);
  EXPECT_NEAR(*chi, 101 * 0.01 / 100, 1e-12);
}

TEST(ChiSquareTest, EachWeightingHasItsTerm) {
  Fixture f = Make(5, 10.0, 0.5);
  // Given errors: (10 R - R) / (0.5 R) = 18; logarithmic: log10(10) = 1.
  EXPECT_NEAR(*Evaluate(f, Weighting::GivenErrors), 5 * 324.0 / 4, 1e-9);
  EXPECT_NEAR(*Evaluate(f, Weighting::Statistical), 5 * 0.81 / 4, 1e-12);
  EXPECT_NEAR(*Evaluate(f, Weighting::Logarithmic), 5 * 1.0 / 4, 1e-12);
  double sum = 0.0;
  for (const double fit : f.fit) sum += (9 * fit) * (9 * fit);
  EXPECT_NEAR(*Evaluate(f, Weighting::None), sum / 4, sum * 1e-12);
}

TEST(ChiSquareTest, ResidualsAreTheSignedRootsOfEachStacksTermsInOneBatch) {
  Fixture f = Make(5, 10.0, 0.5);
  LayerStack thicker = f.stack;
  thicker.setThickness(1, 80.0);
  const std::vector<const LayerStack*> stacks{&f.stack, &thicker};
  for (const Weighting weighting :
       {Weighting::GivenErrors, Weighting::Statistical, Weighting::None, Weighting::Logarithmic}) {
    SCOPED_TRACE(static_cast<int>(weighting));
    ChiSquareEvaluator evaluator(f.data, {}, {}, RegionPoints(f.data), {weighting});
    std::vector<double> residuals(10);
    ASSERT_TRUE(evaluator.residuals(stacks, residuals));
    EXPECT_EQ(evaluator.curvesCalculated(), 2);
    // The first stack's R_fit is a tenth of R: (R - R_fit) / dR = 18, / R = 0.9, log10 = 1.
    for (std::size_t i = 0; i < 5; ++i) {
      const double expected = weighting == Weighting::GivenErrors   ? 18.0
                              : weighting == Weighting::Statistical ? 0.9
                              : weighting == Weighting::Logarithmic ? 1.0
                                                                    : 9 * f.fit[i];
      EXPECT_NEAR(residuals[i], expected, 1e-12 * expected);
    }
    for (std::size_t k = 0; k < 2; ++k) {
      const std::optional<double> fromResiduals =
          evaluator.chiSquareOf(std::span<const double>(residuals).subspan(5 * k, 5));
      const std::optional<double> evaluated = evaluator.evaluate(*stacks[k]);
      ASSERT_TRUE(fromResiduals && evaluated);
      EXPECT_EQ(*fromResiduals, *evaluated);
    }
    EXPECT_EQ(evaluator.curvesCalculated(), 4);
  }
  f.data.dr[2] = 0.0;
  ChiSquareEvaluator faulting(f.data, {}, {}, RegionPoints(f.data), {Weighting::GivenErrors});
  std::vector<double> residuals(10);
  EXPECT_FALSE(faulting.residuals(stacks, residuals));
}

TEST(ChiSquareTest, ArithmeticFaultsFailTheEvaluation) {
  Fixture f = Make(5, 2.0);
  f.data.dr[2] = 0.0;  // a zero error under "use given errors"
  EXPECT_FALSE(Evaluate(f, Weighting::GivenErrors));
  EXPECT_TRUE(Evaluate(f, Weighting::Statistical));

  // A calculated reflectivity of 0 or less under the logarithm.
  Fixture negative = Make(5, 2.0);
  EXPECT_FALSE(Evaluate(negative, Weighting::Logarithmic, {0, 0, -1.0, 0, 0}));
  EXPECT_TRUE(Evaluate(negative, Weighting::Statistical, {0, 0, -1.0, 0, 0}));

  // Overflow of a term.
  Fixture huge = Make(5, 2.0, 1e-300);
  EXPECT_FALSE(Evaluate(huge, Weighting::GivenErrors));
}

TEST(ChiSquareTest, ARegionOfOnePointHasNoDivisor) {
  Fixture f = Make(5, 2.0);
  f.data.fitRegionLow = f.data.qz[2];
  f.data.fitRegionHigh = f.data.qz[2];
  ChiSquareEvaluator evaluator(f.data, {}, {}, RegionPoints(f.data), {});
  EXPECT_FALSE(evaluator.evaluate(f.stack));
  f.data.fitRegionHigh = f.data.qz[3];
  ChiSquareEvaluator two(f.data, {}, {}, RegionPoints(f.data), {});
  EXPECT_NEAR(*two.evaluate(f.stack), 2 * 0.25, 1e-12);
}

TEST(ChiSquareTest, BackgroundIsAddedAndCountsAsZeroWhereNeverComputed) {
  Fixture f = Make(4, 1.0);
  for (double& r : f.data.r) r += 1e-3;
  EXPECT_NEAR(*Evaluate(f, Weighting::Statistical, {1e-3, 1e-3, 1e-3, 1e-3}), 0.0, 1e-20);
  // The run computed the background of the first two points only.
  ChiSquareEvaluator partial(f.data, {}, std::vector<double>{1e-3, 1e-3}, RegionPoints(f.data),
                             {Weighting::None, false, true, KernelKind::Fast});
  EXPECT_NEAR(*partial.evaluate(f.stack), 2 * 1e-6 / 3, 1e-15);
}

TEST(ChiSquareTest, ResolutionSmearsEachPointWithItsOwnWidth) {
  Fixture f = Make(6, 1.0);
  const std::vector<double> resolution{0.001, 0.002, 0.003, 0.004, 0.005, 0.006};
  ChiSquareEvaluator evaluator(f.data, resolution, {}, RegionPoints(f.data),
                               {Weighting::None, true, false, KernelKind::Reference});
  ASSERT_TRUE(evaluator.evaluate(f.stack));
  const ReflCurve& curve = evaluator.curve();
  ASSERT_EQ(curve.size(), 6u);
  ReflectanceWorkspace workspace;
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(curve.x[i], f.data.qz[i]);
    EXPECT_EQ(curve.y[i], PointReflectivity(f.stack, {true, false}, 0.0, resolution[i],
                                            f.data.qz[i], workspace));
  }
  EXPECT_NE(curve.y[5], f.fit[5]);
}

TEST(ChiSquareTest, TheAccurateKernelSmearsWhenChosen) {
  Fixture f = Make(6, 1.0);
  const std::vector<double> resolution{0.001, 0.002, 0.003, 0.004, 0.005, 0.006};
  ChiSquareEvaluator evaluator(
      f.data, resolution, {}, RegionPoints(f.data),
      {Weighting::None, true, false, KernelKind::Fast, SmearingKernel::Accurate});
  const std::optional<ReflCurve> curve = evaluator.calculate(f.stack);
  ASSERT_TRUE(curve);
  std::vector<double> expected(6);
  PointReflectivityBatch(f.stack, {.smear = true, .kernel = SmearingKernel::Accurate}, {},
                         resolution, f.data.qz, expected);
  EXPECT_EQ(curve->y, expected);
}

TEST(ChiSquareTest, TheCurveOfAFailedEvaluationEndsBeforeTheFault) {
  Fixture f = Make(5, 2.0);
  f.data.dr[3] = 0.0;
  ChiSquareEvaluator evaluator(f.data, {}, {}, RegionPoints(f.data), {Weighting::GivenErrors});
  EXPECT_FALSE(evaluator.evaluate(f.stack));
  EXPECT_EQ(evaluator.curve().size(), 3u);
  const std::optional<ReflCurve> curve = evaluator.calculate(f.stack);
  ASSERT_TRUE(curve);
  EXPECT_EQ(curve->size(), 5u);
}

}  // namespace
}  // namespace quorrel
