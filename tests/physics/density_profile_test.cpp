#include "physics/density_profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/error.h"

namespace quorrel {
namespace {

constexpr double kAirRho = 1e-7;
constexpr double kBulkRho = 2.073e-6;

LayerStack Interface(double sigma) {
  LayerStack stack(0);
  stack.setRho(0, kAirRho);
  stack.setRho(1, kBulkRho);
  stack.setSigma(1, sigma);
  return stack;
}

TEST(DensityProfileTest, OneInterfaceIsAnErrorFunction) {
  const DensityProfile profile(Interface(5.0));
  for (double z = -25.0; z <= 25.0; z += 2.5) {
    const double expected =
        kAirRho + (kBulkRho - kAirRho) / 2 * (1 + std::erf(z / (std::numbers::sqrt2 * 5.0)));
    EXPECT_NEAR(profile.rhoAt(z), expected, 2e-7 * kBulkRho) << z;
  }
}

TEST(DensityProfileTest, FarFromTheInterfacesTheMediaThemselves) {
  const DensityProfile profile(Interface(3.0));
  EXPECT_DOUBLE_EQ(profile.rhoAt(-1000.0), kAirRho);
  EXPECT_DOUBLE_EQ(profile.rhoAt(1000.0), kBulkRho);
}

TEST(DensityProfileTest, ZeroRoughnessIsASharpStepWithTheMeanAtIt) {
  const DensityProfile profile(Interface(0.0));
  EXPECT_EQ(profile.rhoAt(-0.01), kAirRho);
  EXPECT_EQ(profile.rhoAt(0.01), kBulkRho);
  EXPECT_NEAR(profile.rhoAt(0.0), (kAirRho + kBulkRho) / 2, 1e-7 * kBulkRho);
  // Still an error function, of width 0.001 Å.
  const double inside = profile.rhoAt(0.001);
  EXPECT_GT(inside, (kAirRho + kBulkRho) / 2);
  EXPECT_LT(inside, kBulkRho);
}

TEST(DensityProfileTest, InterfacesLieAtTheSummedThicknesses) {
  // Two sharp-ish layers of 40 and 60 Å: the middle of each shows its own density.
  LayerStack stack(2);
  stack.setThickness(1, 40.0);
  stack.setRho(1, 6e-6);
  stack.setSigma(1, 1.0);
  stack.setThickness(2, 60.0);
  stack.setRho(2, 3e-6);
  stack.setSigma(2, 1.0);
  stack.setRho(3, kBulkRho);
  stack.setSigma(3, 1.0);
  const DensityProfile profile(stack);
  EXPECT_DOUBLE_EQ(profile.rhoAt(20.0), 6e-6);
  EXPECT_DOUBLE_EQ(profile.rhoAt(70.0), 3e-6);
  EXPECT_NEAR(profile.rhoAt(40.0), 4.5e-6, 1e-12);
  EXPECT_NEAR(profile.rhoAt(100.0), (3e-6 + kBulkRho) / 2, 1e-12);
  EXPECT_DOUBLE_EQ(profile.rhoAt(200.0), kBulkRho);
}

TEST(DensityProfileTest, OnlyRealDensitiesEnter) {
  LayerStack absorbing = Interface(4.0);
  absorbing.setImRho(1, 1e-3);
  absorbing.setImRho(0, 5e-4);
  const DensityProfile plain(Interface(4.0));
  const DensityProfile withAbsorption(absorbing);
  EXPECT_EQ(withAbsorption.rhoAt(1.5), plain.rhoAt(1.5));
}

TEST(DensityProfileTest, ASumBeyondTheDoubleRangeIsAFault) {
  LayerStack stack(0);
  stack.setRho(0, -1e308);
  stack.setRho(1, 1e308);
  stack.setSigma(1, 1.0);
  const DensityProfile profile(stack);
  try {
    profile.rhoAt(5.0);
    FAIL() << "no fault";
  } catch (const ArithmeticFault& fault) {
    EXPECT_EQ(fault.fault(), "overflow in the density profile at z = 5");
  }
}

}  // namespace
}  // namespace quorrel
