#include "fit/levenberg_marquardt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "fit/chi_square.h"

namespace quorrel {
namespace {

constexpr int kSlope = 3;      // d_1 of a one-layer set, standing for a line's slope
constexpr int kIntercept = 4;  // rho_1, standing for its intercept
constexpr double kError = 0.5;

//! Residuals (model(set, x) - y) / kError at x = 0 .. 19 of y = 2x + 1 plus a fixed
//! alternating deviation; fails its `faultAt`-th evaluation (from 1) when that is set.
class LineResiduals : public ResidualObjective {
 public:
  using Model = std::function<double(const ParameterSet&, double x)>;
  explicit LineResiduals(Model model, int faultAt = 0)
      : model_(std::move(model)), faultAt_(faultAt) {
    for (int i = 0; i < 20; ++i) {
      x_.push_back(i);
      y_.push_back(2.0 * i + 1.0 + (i % 2 ? 0.3 : -0.3) * (i % 3 ? 1.0 : 0.5));
    }
  }

  int residualCount() const override { return static_cast<int>(x_.size()); }
  bool residuals(std::span<const ParameterSet> sets, std::span<double> out) override {
    ++evaluations;
    curves += static_cast<long long>(sets.size());
    if (evaluations == faultAt_) return false;
    for (std::size_t k = 0; k < sets.size(); ++k) {
      for (std::size_t i = 0; i < x_.size(); ++i) {
        out[k * x_.size() + i] = (model_(sets[k], x_[i]) - y_[i]) / kError;
      }
    }
    return true;
  }
  std::optional<double> chiSquareOf(std::span<const double> residuals) const override {
    double sum = 0.0;
    for (const double r : residuals) sum += r * r;
    return sum / static_cast<double>(residuals.size() - 1);
  }
  const ReflCurve& evaluatedCurve() const override { return curve_; }

  const std::vector<double>& x() const { return x_; }
  int evaluations = 0;   //!< calls
  long long curves = 0;  //!< sets evaluated

 private:
  Model model_;
  int faultAt_;
  std::vector<double> x_, y_;
  ReflCurve curve_;
};

double Line(const ParameterSet& set, double x) { return set[kSlope] * x + set[kIntercept]; }

ParameterSet OneLayerSet(double slope, double intercept) {
  ParameterLayout layout;
  layout.layers = 1;
  ParameterSet set(layout);
  set[kSlope] = slope;
  set[kIntercept] = intercept;
  return set;
}

TEST(LevenbergMarquardtTest, AStraightLineGetsTheStandardErrorsOfLinearRegression) {
  for (const bool absolute : {true, false}) {
    ParameterSet set = OneLayerSet(1.0, 0.0);
    LineResiduals line(Line);
    RunControl control;
    const FitOutcome outcome =
        RunLevenbergMarquardt(set, line, {{kSlope, kIntercept}, false, absolute, {}}, control);
    ASSERT_EQ(outcome.state, FitEndState::Converged);
    ASSERT_TRUE(outcome.uncertainties);
    const FitUncertainties& u = *outcome.uncertainties;

    // The closed form of a straight line through points with equal errors.
    double n = 0, sx = 0, sxx = 0;
    for (const double x : line.x()) {
      n += 1;
      sx += x;
      sxx += x * x;
    }
    const double spread = sxx - sx * sx / n;
    const double mean = sx / n;
    const double variance = absolute ? kError * kError : u.reducedChiSquare * kError * kError;
    EXPECT_NEAR(set[kSlope], 2.0, 0.05);
    EXPECT_NEAR(u.standardErrors[0], std::sqrt(variance / spread), 1e-6 * std::sqrt(variance));
    EXPECT_NEAR(u.standardErrors[1], std::sqrt(variance * (1 / n + mean * mean / spread)),
                1e-6 * std::sqrt(variance));
    EXPECT_NEAR(u.correlation(0, 1), -mean / std::sqrt(mean * mean + spread / n), 1e-6);
    EXPECT_EQ(u.correlation(1, 0), u.correlation(0, 1));
    EXPECT_EQ(u.degreesOfFreedom, 18);
    EXPECT_EQ(u.varied, (std::vector<int>{kSlope, kIntercept}));
    EXPECT_TRUE(u.undetermined.empty());
    // Every model curve counts, each column of the derivatives too, which share one call.
    EXPECT_EQ(outcome.evaluations, line.curves);
    EXPECT_GT(line.curves, line.evaluations);
  }
}

TEST(LevenbergMarquardtTest, AFaultDuringTheRunFailsItWithTheMessage) {
  // A curved model, so that the run needs several iterations; the fifth evaluation faults.
  const auto curved = [](const ParameterSet& set, double x) {
    return set[kIntercept] * std::exp(set[kSlope] * x / 20.0) + 2.0 * x - 1.0;
  };
  ParameterSet set = OneLayerSet(0.5, 1.0);
  LineResiduals objective(curved, 5);
  RunControl control;
  int iterations = 0;
  FitEvents events;
  events.step = [&iterations](int) { ++iterations; };
  const FitOutcome outcome =
      RunLevenbergMarquardt(set, objective, {{kSlope, kIntercept}, false, true, {}}, control, events);
  EXPECT_EQ(outcome.state, FitEndState::Failed);
  EXPECT_EQ(outcome.message, kOutOfBoundsMessage);
  EXPECT_EQ(outcome.chiSquare, 0.0);
  EXPECT_FALSE(outcome.uncertainties);
  EXPECT_GE(iterations, 1);
  EXPECT_EQ(objective.evaluations, 5);
}

TEST(LevenbergMarquardtTest, StopAndCancelEndTheRunAfterTheCurrentIteration) {
  const auto curved = [](const ParameterSet& set, double x) {
    return set[kIntercept] * std::exp(set[kSlope] * x / 20.0);
  };
  for (const bool cancel : {false, true}) {
    ParameterSet set = OneLayerSet(2.0, 20.0);
    LineResiduals objective(curved);
    RunControl control;
    std::vector<int> steps;
    std::vector<double> shown;
    FitEvents events;
    events.step = [&](int iteration) {
      steps.push_back(iteration);
      if (iteration == 2) cancel ? control.requestCancel() : control.requestStop();
    };
    events.parametersChanged = [&shown](const ParameterSet& s) { shown.push_back(s[kSlope]); };
    const FitOutcome outcome =
        RunLevenbergMarquardt(set, objective, {{kSlope, kIntercept}, false, true, {}}, control, events);
    EXPECT_EQ(outcome.state, FitEndState::Stopped);
    EXPECT_EQ(steps, (std::vector<int>{1, 2}));
    EXPECT_EQ(outcome.iterations, 2);
    EXPECT_FALSE(outcome.uncertainties);
    // The values of the last iteration are the set's.
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(set[kSlope], shown.back());
    EXPECT_NE(set[kSlope], 2.0);
  }
}

TEST(LevenbergMarquardtTest, ThicknessesAndRoughnessesEndAsMagnitudes) {
  // The model sees only |d_1|; starting below zero, the fit stays there.
  const auto magnitude = [](const ParameterSet& set, double x) {
    return std::fabs(set[kSlope]) * x + set[kIntercept];
  };
  ParameterSet set = OneLayerSet(-1.0, 0.0);
  LineResiduals objective(magnitude);
  RunControl control;
  const FitOutcome outcome =
      RunLevenbergMarquardt(set, objective, {{kSlope, kIntercept}, false, true, {}}, control);
  ASSERT_EQ(outcome.state, FitEndState::Converged);
  EXPECT_NEAR(set[kSlope], 2.0, 0.05);
  // Turned with the slope, the correlation is that of the line fit: negative.
  EXPECT_LT(outcome.uncertainties->correlation(0, 1), 0.0);
}

TEST(LevenbergMarquardtTest, NothingVariedEvaluatesOnceAndConverges) {
  ParameterSet set = OneLayerSet(2.0, 1.0);
  LineResiduals line(Line);
  RunControl control;
  int iterated = 0;
  FitEvents events;
  events.iterated = [&iterated](double, const ReflCurve&) { ++iterated; };
  const FitOutcome outcome = RunLevenbergMarquardt(set, line, {}, control, events);
  EXPECT_EQ(outcome.state, FitEndState::Converged);
  EXPECT_EQ(outcome.evaluations, 1);
  EXPECT_EQ(iterated, 1);
  EXPECT_FALSE(outcome.uncertainties);
  EXPECT_GT(outcome.chiSquare, 0.0);
}

TEST(LevenbergMarquardtTest, RefusesAnUnlistedIndexAndTooFewPoints) {
  ParameterSet set = OneLayerSet(2.0, 1.0);
  LineResiduals line(Line);
  RunControl control;
  EXPECT_THROW(RunLevenbergMarquardt(set, line, {{10}, false, false, {}}, control), std::out_of_range);
  // 21 values cannot be fitted to 20 points.
  ParameterLayout wide;
  wide.layers = 4;  // 21 values
  ParameterSet wideSet(wide);
  std::vector<int> many;
  for (int index = 1; index <= 21; ++index) many.push_back(index);
  EXPECT_THROW(RunLevenbergMarquardt(wideSet, line, {many, false, false, {}}, control), std::invalid_argument);
}

}  // namespace
}  // namespace quorrel
