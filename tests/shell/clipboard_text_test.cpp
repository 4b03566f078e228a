// The curves that "&Copy data" puts on the clipboard.

#include <gtest/gtest.h>

#include "common/decimal_separator.h"
#include "shell/clipboard_text.h"

namespace quorrel {
namespace {

TEST(ClipboardText, TheReflectivityGivesQzAndRThenTheSpinStatesAndTheTransmission) {
  const Curve plain{{0.01, 0.02, 0.03}, {0.9, 0.25, 1.5e-7}};
  EXPECT_EQ(ReflectivityClipboardText(plain, nullptr, nullptr, nullptr),
            "0.01\t0.9\n0.02\t0.25\n0.03\t1.5E-7\n");

  const Curve spinDown{{0.01, 0.02, 0.03}, {0.8, 0.2, 2e-6}};
  const Curve spinUp{{0.01, 0.02, 0.03}, {0.95, 0.3, 4e-6}};
  const Curve transmission{{0.01, 0.03}, {0.5, 0.125}};  // none at 0.02: it was not above 0
  EXPECT_EQ(ReflectivityClipboardText(plain, &spinUp, &spinDown, &transmission),
            "0.01\t0.9\t0.95\t0.8\t0.5\n"
            "0.02\t0.25\t0.3\t0.2\t\n"
            "0.03\t1.5E-7\t4E-6\t2E-6\t0.125\n");
}

TEST(ClipboardText, SpinFlipChannelsFollowUnderANamesLine) {
  const Curve plain{{0.01, 0.02}, {0.9, 0.25}};
  const Curve transmission{{0.02}, {0.5}};
  SpinFlipResult flip;
  flip.downDown = Curve{{0.01, 0.02}, {0.8, 0.2}};
  flip.downUp = Curve{{0.01, 0.02}, {0.01, 0.02}};
  flip.upDown = Curve{{0.01, 0.02}, {0.03, 0.04}};
  flip.upUp = Curve{{0.01, 0.02}, {0.7, 0.1}};
  EXPECT_EQ(ReflectivityClipboardText(plain, nullptr, nullptr, &transmission, &flip),
            "Qz\tR\tT\tR--\tR-+\tR+-\tR++\n"
            "0.01\t0.9\t\t0.8\t0.01\t0.03\t0.7\n"
            "0.02\t0.25\t0.5\t0.2\t0.02\t0.04\t0.1\n");
}

TEST(ClipboardText, TheProfileGivesZAndRhoWithTheUsersSeparator) {
  ScopedDecimalSeparator comma(',');
  EXPECT_EQ(ProfileClipboardText(Curve{{-12.5, 0, 40}, {0, 2.07e-6, 1e-5}}),
            "-12,5\t0\n0\t2,07E-6\n40\t0,00001\n");
  EXPECT_EQ(ProfileClipboardText(Curve{}), "");
}

}  // namespace
}  // namespace quorrel
