// The catalogue of built-in profile functions and their values at the edges.

#include "parser/builtin_profiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/error.h"

namespace quorrel {
namespace {

constexpr double kRhoS = 4e-6;
constexpr double kRhoE = 2e-6;

enum Index { kDecaying = 0, kLiuFisher = 1, kOscillating = 2, kOscDecay = 3, kOscSine = 4 };

double F(int index, double z, std::array<double, 5> p, long long length = 100) {
  return EvaluateBuiltInProfile(index, z, kRhoS, kRhoE, p, length);
}

TEST(BuiltInCatalogue, ShowsTheFiveFunctions) {
  const auto rows = BuiltInProfiles();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_STREQ(rows[0].name, "decaying");
  EXPECT_STREQ(rows[0].formulaText, "f(z)=exp(-z/xsi)");
  EXPECT_STREQ(rows[0].comment, "xsi: correlation length");
  EXPECT_STREQ(rows[1].name, "Liu-Fisher decay");
  EXPECT_STREQ(rows[1].formulaText, "f(z)=sqrt(xsi/z+c)*exp(-z/xsi)");
  EXPECT_STREQ(rows[1].comment, "xsi: correlation length, c: tuning parameter");
  EXPECT_STREQ(rows[2].name, "oscillating");
  EXPECT_STREQ(rows[2].formulaText, "f(z)=A*cos(2*3.1415926535*z/lam+phi)");
  EXPECT_STREQ(rows[2].comment, "A: amplitude, lam: wavelength, phi: phase");
  EXPECT_STREQ(rows[3].name, "oscillating decay");
  EXPECT_STREQ(rows[3].formulaText, "f(z)=exp(-z/xsi)*A*cos(2*3.1415926535*z/lam+phi)");
  EXPECT_STREQ(rows[4].name, "oscillating decay (sine)");
  EXPECT_STREQ(rows[4].formulaText, "f(z)=exp(-z/xsi)*A*sin(2*3.1415926535*z/lam+phi)");
  for (int i : {3, 4}) {
    EXPECT_STREQ(rows[i].comment,
                 "A: amplitude, lam: wavelength, phi: phase, xsi: correlation length");
  }
  const int counts[] = {1, 2, 3, 4, 4};
  const char* lastNames[] = {"xsi", "c", "phi", "xsi", "xsi"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(rows[i].parameterCount, counts[i]) << i;
    EXPECT_STREQ(rows[i].parameterNames[counts[i] - 1], lastNames[i]) << i;
  }
  EXPECT_STREQ(rows[2].parameterNames[0], "A");
  EXPECT_STREQ(rows[2].parameterNames[1], "lam");
}

TEST(BuiltInProfile, DecayingFallsFromStartTowardsEnd) {
  EXPECT_EQ(F(kDecaying, 0, {10}), 4e-6);
  EXPECT_DOUBLE_EQ(F(kDecaying, 10, {10}), 2e-6 + 2e-6 * std::exp(-1.0));
  EXPECT_NEAR(F(kDecaying, 1000, {10}), kRhoE, 1e-20);
}

TEST(BuiltInProfile, DecayingTurnsFaultsIntoTheStartValue) {
  for (double z : {0.0, 10.0}) EXPECT_EQ(F(kDecaying, z, {0}), kRhoS) << z;
  EXPECT_EQ(F(kDecaying, 10, {-1e-3}), kRhoS);  // exp(1e4) overflows
}

TEST(BuiltInProfile, LiuFisherStartsAtAndNeverFallsBelowTheStart) {
  EXPECT_EQ(F(kLiuFisher, 0, {10, 1}), kRhoS);
  // exp(-1) * sqrt(2) < 1: the formula falls below the start value, which replaces it.
  EXPECT_EQ(F(kLiuFisher, 10, {10, 1}), kRhoS);
  EXPECT_DOUBLE_EQ(F(kLiuFisher, 10, {10, 10}), 2e-6 + 2e-6 * std::exp(-1.0) * std::sqrt(11.0));
  EXPECT_EQ(F(kLiuFisher, 10, {10, -5}), kRhoS);  // root of a negative number
  EXPECT_EQ(F(kLiuFisher, 10, {0, 1}), kRhoS);
}

TEST(BuiltInProfile, OscillatingWithoutAmplitudeIsTheStraightLine) {
  for (double c : {0.0, 1.3, -2.0}) {
    EXPECT_EQ(F(kOscillating, 0, {0, 50, c}), kRhoS) << c;
    EXPECT_EQ(F(kOscillating, 0, {1e-6, 50, c}), kRhoS) << c;
    EXPECT_DOUBLE_EQ(F(kOscillating, 50, {0, 50, c}, 100), 3e-6) << c;
    EXPECT_DOUBLE_EQ(F(kOscillating, 100, {0, 50, c}, 100), kRhoE) << c;
  }
}

TEST(BuiltInProfile, OscillatingSwingsAboutTheLine) {
  // Half a period in: cos(pi) - cos(0) = -2.
  EXPECT_DOUBLE_EQ(F(kOscillating, 25, {1e-7, 50, 0}, 100), 4e-6 - 2e-7 - 0.5e-6);
  // With a decay length the swing shrinks by exp(-z/xsi).
  EXPECT_DOUBLE_EQ(F(kOscDecay, 25, {1e-7, 50, 0, 25}, 100),
                   4e-6 - 2e-7 * std::exp(-1.0) - 0.5e-6);
}

TEST(BuiltInProfile, SineDecayOscillatesAboutTheStartWithoutTrend) {
  EXPECT_EQ(F(kOscSine, 0, {1e-7, 40, 0, 1e9}), kRhoS);
  EXPECT_DOUBLE_EQ(F(kOscSine, 10, {1e-7, 40, 0, 1e9}), kRhoS + 1e-7 * std::exp(-1e-8));
  EXPECT_NEAR(F(kOscSine, 40, {1e-7, 40, 0, 1e9}), kRhoS, 1e-20);
}

TEST(BuiltInProfile, OscillatingFaultsNameTheFunctionAndTheDepth) {
  struct Case {
    int index;
    std::array<double, 5> p;
    long long length;
    const char* message;
  };
  const Case cases[] = {
      {kOscillating, {1e-7, 0, 0}, 100,
       "arithmetic fault: oscillating: division by zero at z = 10"},
      {kOscillating, {0, 50, 0}, 0, "arithmetic fault: oscillating: division by zero at z = 10"},
      {kOscDecay, {1e-7, 50, 0, 0}, 100,
       "arithmetic fault: oscillating decay: division by zero at z = 10"},
      {kOscDecay, {1e-7, 50, 0, 1}, 0,
       "arithmetic fault: oscillating decay: division by zero at z = 10"},
      {kOscSine, {1e-7, 50, 0, 0}, 100,
       "arithmetic fault: oscillating decay (sine): division by zero at z = 10"},
      {kOscSine, {1e-7, 50, 0, -1e-3}, 100,
       "arithmetic fault: oscillating decay (sine): overflow at z = 10"},
  };
  for (const Case& c : cases) {
    try {
      const double value = F(c.index, 10, c.p, c.length);
      ADD_FAILURE() << c.message << " not raised; gave " << value;
    } catch (const ArithmeticFault& fault) {
      EXPECT_EQ(std::string(fault.what()), c.message);
    }
  }
  // The sine form has no line, so no step length to divide by.
  EXPECT_NO_THROW(F(kOscSine, 10, {1e-7, 50, 0, 1}, 0));
}

TEST(BuiltInProfile, IndexOutsideTheCatalogueGivesTheStart) {
  EXPECT_EQ(F(5, 10, {1, 1, 1, 1, 1}), kRhoS);
  EXPECT_EQ(F(-1, 10, {1, 1, 1, 1, 1}), kRhoS);
}

}  // namespace
}  // namespace quorrel
