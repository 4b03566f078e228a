#include "model/spin_field.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

TEST(SpinRange, LimitsOnlyWhenTheEndsDiffer) {
  const SpinRange regions{1, 8};
  EXPECT_EQ(regions.limit(0), 1);
  EXPECT_EQ(regions.limit(9), 8);
  EXPECT_EQ(regions.limit(5), 5);
  const SpinRange open{0, 0};
  EXPECT_EQ(open.limit(5000), 5000);
  EXPECT_EQ(open.limit(-3), -3);
}

TEST(SpinField, ReadingLimitsTheText) {
  SpinField points({0, 999}, 100);
  EXPECT_EQ(points.text(), "100");
  points.setText("1200");
  EXPECT_EQ(points.value(), 999);
  EXPECT_EQ(points.text(), "1200");  // typed text stays until it is set
  points.setText("-4");
  EXPECT_EQ(points.value(), 0);
}

TEST(SpinField, UnreadableTextReadsAsTheMinimum) {
  SpinField regions({1, 8}, 1);
  for (const char* text : {"", "abc", "2.5", "3x", "99999999999"}) {
    regions.setText(text);
    EXPECT_EQ(regions.value(), 1) << text;
  }
  regions.setText(" 4 ");
  EXPECT_EQ(regions.value(), 4);
}

TEST(SpinField, SettingWritesTheLimitedValue) {
  SpinField regions({1, 8}, 1);
  regions.setValue(12);
  EXPECT_EQ(regions.text(), "8");
  SpinField open({0, 0}, 100);
  open.setValue(-20);
  EXPECT_EQ(open.text(), "-20");
  EXPECT_EQ(open.value(), -20);
}

}  // namespace
}  // namespace quorrel
