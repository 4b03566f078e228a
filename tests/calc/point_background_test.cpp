#include "calc/point_background.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/error.h"

namespace quorrel {
namespace {

struct BackgroundCase {
  const char* name;
  BackgroundKind kind;
  double y0, m, a, w, xc;
  double qz;
  double expected;
};

CalcSettings Settings(const BackgroundCase& c) {
  CalcSettings settings;
  settings.cbBackground = true;
  settings.background = c.kind;
  settings.edtY0 = c.y0;
  settings.edtM = c.m;
  settings.edtPeakA = c.a;
  settings.edtPeakW = c.w;
  settings.edtPeakXC = c.xc;
  return settings;
}

TEST(PointBackgroundTest, Forms) {
  const BackgroundCase cases[] = {
      {"constant", BackgroundKind::Constant, 1e-6, 5, 1, 0, 0.1, 0.3, 1e-6},
      {"linear", BackgroundKind::Linear, 1e-6, 2e-5, 1, 0, 0.1, 0.1, 3e-6},
      {"gaussian at its centre", BackgroundKind::Gaussian, 0, 0, 1, 0.01, 0.1, 0.1,
       79.78845608028655},
      {"gaussian one width off", BackgroundKind::Gaussian, 0, 0, 1, 0.01, 0.1, 0.11,
       10.798193302637612},
      {"gaussian on a line", BackgroundKind::Gaussian, 1e-6, 1e-5, 1, 0.01, 0.1, 0.1,
       79.78845608028655 + 2e-6},
      {"lorentzian at its centre", BackgroundKind::Lorentzian, 0, 0, 1, 0.01, 0.1, 0.1,
       63.66197723675814},
      {"lorentzian half a width off", BackgroundKind::Lorentzian, 0, 0, 1, 0.01, 0.1, 0.105,
       31.83098861837907},
      {"lorentzian of width 0 away from its centre", BackgroundKind::Lorentzian, 2e-6, 0, 1, 0,
       0.1, 0.2, 2e-6},
  };
  for (const BackgroundCase& c : cases) {
    const std::vector<double> values = PointBackgrounds(Settings(c), std::vector<double>{c.qz});
    ASSERT_EQ(values.size(), 1u);
    EXPECT_NEAR(values[0], c.expected, 1e-12 * c.expected) << c.name;
  }
}

TEST(PointBackgroundTest, APeakOfWidthZeroIsAFaultNamingFormAndQz) {
  struct FaultCase {
    BackgroundKind kind;
    double a;
    std::vector<double> qz;
    double faultQz;
    std::string fault;
  };
  const FaultCase cases[] = {
      {BackgroundKind::Gaussian, 1, {0.02, 0.05}, 0.02,
       "division by zero or overflow in the gaussian background"},
      {BackgroundKind::Gaussian, 0, {0.02, 0.05}, 0.02,
       "invalid operation in the gaussian background"},
      {BackgroundKind::Lorentzian, 1, {0.02, 0.05, 0.1}, 0.05,
       "invalid operation in the lorentzian background"},
  };
  for (const FaultCase& c : cases) {
    CalcSettings settings = Settings({"", c.kind, 0, 0, c.a, 0, 0.05, 0, 0});
    try {
      PointBackgrounds(settings, c.qz);
      ADD_FAILURE() << "no fault: " << c.fault;
    } catch (const ArithmeticFault& fault) {
      EXPECT_EQ(fault.fault(), c.fault);
      EXPECT_EQ(fault.qz(), c.faultQz) << c.fault;
    }
  }
}

}  // namespace
}  // namespace quorrel
