#include "fit/difference_jacobian.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorrel {
namespace {

constexpr int kRhoAir = 1;
constexpr int kD1 = 3;
constexpr int kRho1 = 4;

//! r_i = sin(0.1 i d_1) + 1e6 i rho_1 + 1e6 (12 - i) rho_air + i, recording every batch it is
//! given.
class RecordingResiduals : public ResidualObjective {
 public:
  int residualCount() const override { return 12; }
  bool residuals(std::span<const ParameterSet> sets, std::span<double> out) override {
    batches.emplace_back(sets.begin(), sets.end());
    for (std::size_t k = 0; k < sets.size(); ++k) {
      for (int i = 0; i < 12; ++i) {
        const ParameterSet& s = sets[k];
        out[k * 12 + static_cast<std::size_t>(i)] =
            std::sin(0.1 * i * s[kD1]) + 1e6 * i * s[kRho1] + 1e6 * (12 - i) * s[kRhoAir] + i;
      }
    }
    return true;
  }
  std::optional<double> chiSquareOf(std::span<const double>) const override { return 0.0; }
  const ReflCurve& evaluatedCurve() const override { return curve_; }

  std::vector<std::vector<ParameterSet>> batches;

 private:
  ReflCurve curve_;
};

ParameterSet Set(SampleType type) {
  ParameterLayout layout;
  layout.type = type;
  layout.layers = 1;
  ParameterSet set(layout);
  set[kD1] = 60.0;
  set[kRho1] = 4e-6;
  set[kRhoAir] = 0.0;
  return set;
}

TEST(DifferenceJacobianTest, AllColumnsGoToTheObjectiveInOneBatch) {
  const ParameterSet set = Set(SampleType::IndependentLayers);
  const std::vector<int> varied{kD1, kRho1, kRhoAir};
  RecordingResiduals objective;
  std::vector<double> base;
  std::vector<double> jacobian(12 * 3);
  ASSERT_TRUE(DifferenceJacobian(set, varied, base, objective, jacobian));
  // Without residuals at the point itself, they are the first set of the same batch.
  ASSERT_EQ(objective.batches.size(), 1u);
  EXPECT_EQ(objective.batches[0].size(), 4u);
  ASSERT_EQ(base.size(), 12u);
  EXPECT_NEAR(base[5], std::sin(0.5 * 60.0) + 1e6 * 5 * 4e-6 + 5, 1e-12);

  std::vector<double> again(12 * 3);
  ASSERT_TRUE(DifferenceJacobian(set, varied, base, objective, again));
  ASSERT_EQ(objective.batches.size(), 2u);
  EXPECT_EQ(objective.batches[1].size(), 3u);
  EXPECT_EQ(again, jacobian);

  for (int i = 0; i < 12; ++i) {
    const auto row = static_cast<std::size_t>(i) * 3;
    EXPECT_NEAR(jacobian[row], 0.1 * i * std::cos(0.1 * i * 60.0), 1e-4);
    EXPECT_NEAR(jacobian[row + 1], 1e6 * i, 1.0 * (1 + i));
    // An entry at zero still moves, by a step its quantity makes measurable.
    EXPECT_NEAR(jacobian[row + 2], 1e6 * (12 - i), 1.0 * (12 - i));
  }
}

TEST(DifferenceJacobianTest, AColumnMovesTheEntriesTiedToItsEntry) {
  // A symmetric film with one layer: d_1 (3) is mirrored at 8L + 7 - 4 = 11.
  ParameterSet set = Set(SampleType::SymmetricFilm);
  set[11] = set[kD1];
  RecordingResiduals objective;
  std::vector<double> base(12, 0.0);
  std::vector<double> jacobian(12);
  ASSERT_TRUE(DifferenceJacobian(set, std::vector<int>{kD1}, base, objective, jacobian));
  const ParameterSet& column = objective.batches.at(0).at(0);
  EXPECT_GT(column[kD1], 60.0);
  EXPECT_EQ(column[11], column[kD1]);
}

}  // namespace
}  // namespace quorrel
