#include "fit/fit_uncertainties.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorrel {
namespace {

//! n rows of the given columns' derivatives, row after row.
std::vector<double> Rows(const std::vector<std::vector<double>>& columns) {
  std::vector<double> rows;
  for (std::size_t i = 0; i < columns[0].size(); ++i) {
    for (const auto& column : columns) rows.push_back(column[i]);
  }
  return rows;
}

ParameterSet OneLayer() {
  ParameterLayout layout;
  layout.layers = 1;
  return ParameterSet(layout);
}

const std::vector<double> kResiduals{0.1, -0.2, 0.15, 0.05, -0.1, 0.2};
const std::vector<double> kFirst{1, 2, 3, 4, 5, 6};
const std::vector<double> kSecond{1, 0, -1, 0, 1, 0};

TEST(FitUncertaintiesTest, AnEntryWithoutEffectHasNoFiniteErrorAndIsNamed) {
  const std::vector<double> none(6, 0.0);
  const FitUncertainties u = EstimateUncertainties(std::vector<int>{3, 6, 4},
                                                   Rows({kFirst, none, kSecond}), kResiduals, true);
  EXPECT_EQ(u.undetermined, std::vector<int>{1});
  EXPECT_EQ(u.reciprocalCondition, 0.0);
  EXPECT_TRUE(std::isinf(u.standardErrors[1]));
  EXPECT_TRUE(std::isnan(u.correlation(0, 1)));
  EXPECT_EQ(u.correlation(1, 1), 1.0);
  // The others are those of the problem without it.
  const FitUncertainties without =
      EstimateUncertainties(std::vector<int>{3, 4}, Rows({kFirst, kSecond}), kResiduals, true);
  EXPECT_DOUBLE_EQ(u.standardErrors[0], without.standardErrors[0]);
  EXPECT_DOUBLE_EQ(u.standardErrors[2], without.standardErrors[1]);
  EXPECT_DOUBLE_EQ(u.correlation(0, 2), without.correlation(0, 1));
  EXPECT_EQ(UndeterminedWarning(OneLayer(), u),
            "ill-conditioned fit: the data do not determine sigma_1 (standard errors not "
            "meaningful)");
}

TEST(FitUncertaintiesTest, EntriesThatActAlikeAreNamedTogether) {
  std::vector<double> alike = kFirst;
  for (double& value : alike) value *= 2.0 * (1 + 1e-7 * value);  // as close as derivatives tell
  const FitUncertainties u = EstimateUncertainties(
      std::vector<int>{3, 6, 4}, Rows({kFirst, kSecond, alike}), kResiduals, false);
  EXPECT_EQ(u.undetermined, (std::vector<int>{0, 2}));
  EXPECT_LT(u.reciprocalCondition, 1e-4);
  EXPECT_GT(u.standardErrors[0], 1e3 * u.standardErrors[1]);
  EXPECT_EQ(UndeterminedWarning(OneLayer(), u),
            "ill-conditioned fit: the data do not determine d_1, rho_1 (standard errors not "
            "meaningful)");
}

TEST(FitUncertaintiesTest, AWellConditionedFitHasNoWarning) {
  const FitUncertainties u =
      EstimateUncertainties(std::vector<int>{3, 4}, Rows({kFirst, kSecond}), kResiduals, false);
  EXPECT_TRUE(u.undetermined.empty());
  EXPECT_GT(u.reciprocalCondition, 0.1);
  EXPECT_EQ(u.degreesOfFreedom, 4);
  EXPECT_EQ(UndeterminedWarning(OneLayer(), u), "");
  EXPECT_THROW(EstimateUncertainties(std::vector<int>{3, 4}, Rows({kFirst, kSecond}),
                                     std::vector<double>(2), false),
               std::invalid_argument);
}

}  // namespace
}  // namespace quorrel
