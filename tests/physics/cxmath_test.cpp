#include "physics/cxmath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/error.h"

namespace quorrel {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(CAbs, ScalesInsteadOfOverflowing) {
  EXPECT_EQ(CAbs({3, 4}), 5.0);
  EXPECT_EQ(CAbs({0, 0}), 0.0);
  EXPECT_EQ(CAbs({-2, 0}), 2.0);
  EXPECT_EQ(CAbs({0, -7}), 7.0);
  EXPECT_NEAR(CAbs({1e200, 1e200}) / 1.414213562373095e200, 1.0, 1e-15);
  EXPECT_NEAR(CAbs({3e-200, 4e-200}) / 5e-200, 1.0, 1e-15);
}

TEST(CAbs, RaisesWhenScalingByATinyPartOverflows) {
  // Both parts below 1: the scale is the smaller one, and 0.5 / 1e-320 is beyond the range.
  EXPECT_THROW(CAbs({0.5, 1e-320}), ArithmeticFault);
}

TEST(CArg, ThresholdsAndAxes) {
  EXPECT_EQ(CArg({-1, 0}), -kPi);
  EXPECT_NEAR(CArg({-1, 1e-10}), kPi - 1e-10, 1e-15);
  EXPECT_EQ(CArg({0, -2}), -kPi / 2);
  EXPECT_EQ(CArg({0, 2}), kPi / 2);
  EXPECT_EQ(CArg({0, 0}), kPi / 2);
  EXPECT_NEAR(CArg({1, -1}), 7 * kPi / 4, 1e-15);
  EXPECT_EQ(CArg({1, 0}), 0.0);
  EXPECT_EQ(CArg({1, 1e-299}), 0.0);       // below the threshold: on the axis
  EXPECT_EQ(CArg({-1, -1e-299}), -kPi);
  EXPECT_EQ(CArg({1e-299, -5}), -kPi / 2);
}

TEST(CSqrt, TakesTheRootWithNonNegativeImaginaryPart) {
  const Complex negativeReal = CSqrt({-4, 0});
  EXPECT_NEAR(negativeReal.re, 1.2e-16, 1e-17);
  EXPECT_EQ(negativeReal.im, 2.0);
  const Complex nearlyNegativeReal = CSqrt({-4, 1e-10});
  EXPECT_NEAR(nearlyNegativeReal.re, 2.5e-11, 1e-15);  // cos near π/2 carries the rounding of π
  EXPECT_NEAR(nearlyNegativeReal.im, 2.0, 1e-15);
  const Complex negativeImaginary = CSqrt({0, -2});
  EXPECT_NEAR(negativeImaginary.re, -1.0, 1e-15);
  EXPECT_NEAR(negativeImaginary.im, 1.0, 1e-15);
  const Complex lowerHalf = CSqrt({3, -4});  // (±(2 - i))
  EXPECT_NEAR(lowerHalf.re, -2.0, 1e-15);
  EXPECT_NEAR(lowerHalf.im, 1.0, 1e-15);
  EXPECT_EQ(CSqrt({4, 0}).re, 2.0);
  EXPECT_EQ(CSqrt({4, 0}).im, 0.0);
  EXPECT_EQ(CSqrt({0, 0}).re, 0.0);
  EXPECT_EQ(CSqrt({0, 0}).im, 0.0);
}

TEST(CDiv, AbsorbsFaultsOfTheQuotient) {
  const Complex byZero = CDiv({1, 0}, {0, 0});
  EXPECT_EQ(byZero.re, 1e37);
  EXPECT_EQ(byZero.im, 1e37);
  const Complex byTiny = CDiv({1, 0}, {1e-170, 0});  // e underflows to 0
  EXPECT_EQ(byTiny.re, 1e37);
  const Complex tooLarge = CDiv({1e300, 0}, {1e-10, 0});
  EXPECT_EQ(tooLarge.re, 1e37);
  EXPECT_EQ(tooLarge.im, 1e37);
  const Complex ordinary = CDiv({1, 2}, {3, 4});  // (11 + 2i) / 25
  EXPECT_DOUBLE_EQ(ordinary.re, 0.44);
  EXPECT_DOUBLE_EQ(ordinary.im, 0.08);
}

TEST(CDiv, PassesOnAnOverflowingDenominatorModulus) {
  EXPECT_THROW(CDiv({1, 0}, {1e200, 0}), ArithmeticFault);
}

TEST(CExp, OverflowGivesZero) {
  EXPECT_EQ(CExp({800, 0}).re, 0.0);
  EXPECT_EQ(CExp({800, 0}).im, 0.0);
  const Complex minusOne = CExp({0, kPi});
  EXPECT_EQ(minusOne.re, -1.0);
  EXPECT_NEAR(minusOne.im, 1.2246e-16, 1e-20);
  EXPECT_EQ(CExp({-800, 1}).re, 0.0);  // underflow is 0, not a fault
}

TEST(BoundedTrig, GivesZeroFromTwoToTheSixtyThree) {
  EXPECT_EQ(BoundedSin(9223372036854775808.0), 0.0);
  EXPECT_EQ(BoundedCos(-9223372036854775808.0), 0.0);
  EXPECT_NE(BoundedCos(9223372036854774784.0), 0.0);  // the double just below 2^63
  EXPECT_EQ(CExp({0, 1e19}).re, 0.0);
}

TEST(ComplexArithmetic, PlainOperations) {
  const Complex a{1, 2};
  const Complex b{3, -4};
  EXPECT_EQ(CAdd(a, b).re, 4.0);
  EXPECT_EQ(CAdd(a, b).im, -2.0);
  EXPECT_EQ(CSub(a, b).re, -2.0);
  EXPECT_EQ(CSub(a, b).im, 6.0);
  EXPECT_EQ(CMul(a, b).re, 11.0);
  EXPECT_EQ(CMul(a, b).im, 2.0);
  EXPECT_EQ(CScale(a, -2).re, -2.0);
  EXPECT_EQ(CScale(a, -2).im, -4.0);
  EXPECT_THROW(RequireFinite(CMul({1e200, 0}, {1e200, 0}), "multiplication"), ArithmeticFault);
}

}  // namespace
}  // namespace quorrel
