#include "physics/transmission.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "common/error.h"

namespace quorrel {
namespace {

constexpr double kSubstrateRho = 2.073e-6;
constexpr double kAbsorbing = 2.37e-11;
constexpr double kWavelength = 4.75;

LayerStack Substrate(double imRho, int layers = 0) {
  LayerStack stack(layers);
  stack.setRho(layers + 1, kSubstrateRho);
  stack.setImRho(layers + 1, imRho);
  return stack;
}

TEST(TransmissionTest, AbsorbingSubstrateAboveItsEdge) {
  const LayerStack stack = Substrate(kAbsorbing);
  const double length = TransmissionPathLength(0, stack, 1.0, kWavelength, 0.1);
  EXPECT_NEAR(length, 2.6594e8, 0.0001e8);
  // d / sin(theta) by the principal root, which agrees with the program's above the edge.
  const std::complex<double> kz = std::sqrt(std::complex<double>(
      0.0025 - 4 * std::numbers::pi * kSubstrateRho, 4 * std::numbers::pi * kAbsorbing));
  EXPECT_NEAR(length, std::real(2 * std::numbers::pi * 1e7 / kWavelength / kz), 1.0);
  EXPECT_NEAR(Transmission(0, stack, 1.0, kWavelength, 0.1), 0.94188, 0.00001);
}

TEST(TransmissionTest, BelowTheEdgeThePathIsShortAndAlmostNothingIsAbsorbed) {
  const LayerStack stack = Substrate(kAbsorbing);
  const double below = TransmissionPathLength(0, stack, 1.0, kWavelength, 0.005);
  EXPECT_GT(below, 0.0);
  EXPECT_LT(below, 0.01 * TransmissionPathLength(0, stack, 1.0, kWavelength, 0.1));
  const double t = Transmission(0, stack, 1.0, kWavelength, 0.005);
  EXPECT_GT(t, 0.999);
  EXPECT_LT(t, 1.0);
}

TEST(TransmissionTest, NonAbsorbingSubstrateTransmitsEverythingAtEveryQz) {
  const LayerStack stack = Substrate(0.0);
  for (const double qz : {0.001, 0.005, 0.0102, 0.02, 0.1, 0.3}) {
    EXPECT_EQ(Transmission(0, stack, 1.0, kWavelength, qz), 1.0) << qz;
  }
}

TEST(TransmissionTest, LayersLengthenThePathWhateverTheSignOfTheirThickness) {
  LayerStack positive = Substrate(kAbsorbing, 1);
  positive.setThickness(1, 100.0);
  positive.setRho(1, 3.475e-6);
  LayerStack negative = positive;
  negative.setThickness(1, -100.0);
  const double bare = TransmissionPathLength(0, Substrate(kAbsorbing), 1.0, kWavelength, 0.1);
  const double withLayer = TransmissionPathLength(1, positive, 1.0, kWavelength, 0.1);
  EXPECT_GT(withLayer, bare + 1000.0);
  EXPECT_EQ(TransmissionPathLength(1, negative, 1.0, kWavelength, 0.1), withLayer);
  EXPECT_EQ(Transmission(1, negative, 1.0, kWavelength, 0.1),
            Transmission(1, positive, 1.0, kWavelength, 0.1));
}

TEST(TransmissionTest, ZeroKzGivesAHugePathAndNoTransmission) {
  // A vacuum layer at Qz = 0 has kz = 0; the division absorbs it as 1e37.
  LayerStack stack = Substrate(kAbsorbing, 1);
  stack.setThickness(1, 10.0);
  EXPECT_GE(TransmissionPathLength(1, stack, 1.0, kWavelength, 0.0), 1e37);
  EXPECT_EQ(Transmission(1, stack, 1.0, kWavelength, 0.0), 0.0);
}

TEST(TransmissionTest, NoPathGivesZero) {
  // A substrate of no thickness and no layers: L = 0, which is not above 0.
  EXPECT_EQ(Transmission(0, Substrate(kAbsorbing), 0.0, kWavelength, 0.1), 0.0);
}

TEST(TransmissionTest, WavelengthZeroIsAFaultAtItsQz) {
  try {
    Transmission(0, Substrate(kAbsorbing), 1.0, 0.0, 0.05);
    FAIL() << "no fault";
  } catch (const ArithmeticFault& fault) {
    EXPECT_EQ(fault.qz(), 0.05);
    EXPECT_EQ(fault.fault(), "division by the wavelength");
  }
}

TEST(TransmissionTest, AGainOverflowIsAFault) {
  // A negative absorption on a long path through a layer would amplify beyond the double range.
  LayerStack stack = Substrate(-1e-6, 1);
  stack.setThickness(1, 1e12);
  EXPECT_THROW(Transmission(1, stack, 0.0, kWavelength, 0.1), ArithmeticFault);
}

}  // namespace
}  // namespace quorrel
