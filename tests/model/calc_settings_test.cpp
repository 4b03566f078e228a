#include "model/calc_settings.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

TEST(CalcSettings, StartUpDefaults) {
  const CalcSettings s;
  EXPECT_TRUE(s.cbUserRange);
  EXPECT_EQ(s.edtminQ, 0.0);
  EXPECT_EQ(s.edtMaxQ, 0.25);
  EXPECT_EQ(s.edtNumPoints, 100);
  EXPECT_FALSE(s.cbMagnet);
  EXPECT_FALSE(s.cbTransmission);
  EXPECT_EQ(s.edtWavelength, 4.66);
  EXPECT_EQ(s.edtSampleThickness, 0.0);
  EXPECT_FALSE(s.cbUserZ);
  EXPECT_EQ(s.edtNumPointsZ, 100);
  EXPECT_FALSE(s.cbBackground);
  EXPECT_EQ(s.background, BackgroundKind::Constant);
  EXPECT_FALSE(s.cbVSelector);
  EXPECT_EQ(s.edtRegions, 1);
  EXPECT_EQ(s.radiation, Radiation::Neutrons);
}

TEST(CalcSettings, RegionTableStartsWithHeadingsAndOneZeroRow) {
  const CalcSettings s;
  ASSERT_EQ(s.resltnGrid.rowCount(), 2);
  ASSERT_EQ(s.resltnGrid.columnCount(), 2);
  EXPECT_EQ(s.resltnGrid.cell(0, 0), "from Qz");
  EXPECT_EQ(s.resltnGrid.cell(0, 1), "delta Qz");
  EXPECT_EQ(s.resltnGrid.cell(1, 0), "0");
  EXPECT_EQ(s.resltnGrid.cell(1, 1), "0");
}

TEST(CalcSettings, SpinRanges) {
  EXPECT_EQ(CalcSettings::kNumPointsRange.limit(1000), 1000);
  EXPECT_EQ(CalcSettings::kNumPointsRange.limit(100001), 100000);
  EXPECT_EQ(CalcSettings::kNumPointsRange.limit(-1), 0);
  EXPECT_EQ(CalcSettings::kRegionsRange.limit(9), 8);
  EXPECT_EQ(CalcSettings::kRegionsRange.limit(0), 1);
  EXPECT_EQ(CalcSettings::kNumPointsZRange.limit(5000), 5000);
}

}  // namespace
}  // namespace quorrel
