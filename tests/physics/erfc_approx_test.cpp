#include "physics/erfc_approx.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorrel {
namespace {

TEST(ErfcApproxTest, NamedValues) {
  EXPECT_NEAR(ErfcApprox(0.0), 1.0, 1.2e-7);
  EXPECT_EQ(ErfcApprox(-10.0), 2.0);
  EXPECT_NEAR(ErfcApprox(3.0), 2.2090498e-5, 1e-12);
}

TEST(ErfcApproxTest, FractionalErrorBelowTheStatedBound) {
  for (double x = -6.0; x <= 9.0; x += 0.0625) {
    const double exact = std::erfc(x);
    EXPECT_LT(std::fabs(ErfcApprox(x) - exact) / exact, 1.2e-7) << x;
  }
}

TEST(ErfcApproxTest, MirrorsAroundOne) {
  for (const double x : {0.1, 0.7, 1.5, 2.5, 4.0}) {
    EXPECT_EQ(ErfcApprox(-x), 2 - ErfcApprox(x)) << x;
  }
}

TEST(ErfcApproxTest, TailsWhereTheSquareOverflows) {
  EXPECT_EQ(ErfcApprox(1e200), 0.0);
  EXPECT_EQ(ErfcApprox(-1e200), 2.0);
  EXPECT_EQ(ErfcApprox(30.0), 0.0);
}

}  // namespace
}  // namespace quorrel
