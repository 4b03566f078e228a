#include "calc/point_resolution.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/decimal_separator.h"
#include "common/error.h"

namespace quorrel {
namespace {

CalcSettings Regions(const std::vector<std::pair<std::string, std::string>>& rows) {
  CalcSettings settings;
  settings.edtRegions = static_cast<int>(rows.size());
  settings.resltnGrid.setRowCount(settings.edtRegions + 1);
  for (int r = 1; r <= settings.edtRegions; ++r) {
    settings.resltnGrid.setCell(r, 0, rows[static_cast<std::size_t>(r - 1)].first);
    settings.resltnGrid.setCell(r, 1, rows[static_cast<std::size_t>(r - 1)].second);
  }
  return settings;
}

void ExpectRegionError(const CalcSettings& settings, const std::string& message) {
  try {
    PointResolutions(settings, std::vector<double>{0.05});
    FAIL() << "no error: " << message;
  } catch (const QuorrelError& error) {
    EXPECT_EQ(error.what(), message);
  }
}

TEST(PointResolutionTest, VelocitySelectorAddsTheWavelengthSpread) {
  CalcSettings settings;
  settings.cbVSelector = true;
  settings.edtConstantRes = 0.001;
  settings.edtDistribution = 5;
  const std::vector<double> b = PointResolutions(settings, std::vector<double>{0, 0.1, 0.2});
  EXPECT_DOUBLE_EQ(b[0], 0.001);
  EXPECT_DOUBLE_EQ(b[1], 0.006);
  EXPECT_DOUBLE_EQ(b[2], 0.011);
}

TEST(PointResolutionTest, TheLastRegionNotAboveQzWins) {
  const std::vector<double> qz{0, 0.04, 0.05, 0.0999, 0.1, 0.2};
  EXPECT_EQ(PointResolutions(Regions({{"0", "0.001"}, {"0.1", "0.005"}}), qz),
            (std::vector<double>{0.001, 0.001, 0.001, 0.001, 0.005, 0.005}));
  EXPECT_EQ(PointResolutions(Regions({{"0", "0.001"}, {"0.05", "0.002"}}), qz),
            (std::vector<double>{0.001, 0.001, 0.002, 0.002, 0.002, 0.002}));
  // Rows are not sorted: a later row that starts lower overrides an earlier one.
  EXPECT_EQ(PointResolutions(Regions({{"0.1", "0.005"}, {"0", "0.001"}}), qz),
            std::vector<double>(qz.size(), 0.001));
}

TEST(PointResolutionTest, PointsThatNoRegionCoversGetZero) {
  const std::vector<double> qz{0.01, 0.09, 0.1};
  EXPECT_EQ(PointResolutions(Regions({{"0.1", "0.005"}}), qz),
            (std::vector<double>{0, 0, 0.005}));
  EXPECT_EQ(PointResolutions(Regions({}), qz), std::vector<double>(3, 0.0));
}

TEST(PointResolutionTest, CellsFollowTheUserSeparator) {
  const ScopedDecimalSeparator comma(',');
  EXPECT_EQ(PointResolutions(Regions({{"0", "0,002"}}), std::vector<double>{0.1}),
            std::vector<double>{0.002});
  ExpectRegionError(Regions({{"0", "0.002"}}), "resolution region 1: '0.002' is not a number");
}

TEST(PointResolutionTest, AnUnreadableRegionCellNamesItsRow) {
  ExpectRegionError(Regions({{"0", "0.001"}, {"abc", "0.002"}}),
                    "resolution region 2: 'abc' is not a number");
  ExpectRegionError(Regions({{"0", "0.001"}, {"0.1", "0.0x2"}}),
                    "resolution region 2: '0.0x2' is not a number");
  ExpectRegionError(Regions({{"0", ""}}), "resolution region 1: the delta Qz cell is empty");
  ExpectRegionError(Regions({{"0", "0.001"}, {" ", "0.002"}}),
                    "resolution region 2: the from Qz cell is empty");
  // More regions than rows typed in: the new rows are empty.
  CalcSettings settings = Regions({{"0", "0.001"}});
  settings.edtRegions = 3;
  ExpectRegionError(settings, "resolution region 2: the from Qz cell is empty");
}

TEST(PointResolutionTest, TheVelocitySelectorIgnoresTheRegionTable) {
  CalcSettings settings = Regions({{"abc", ""}});
  settings.cbVSelector = true;
  settings.edtConstantRes = 0.002;
  EXPECT_EQ(PointResolutions(settings, std::vector<double>{0.1}), std::vector<double>{0.002});
}

TEST(PointResolutionTest, AWidthBeyondTheDoubleRangeIsAFaultAtItsQz) {
  CalcSettings settings;
  settings.cbVSelector = true;
  settings.edtDistribution = 1e308;
  try {
    PointResolutions(settings, std::vector<double>{0, 500});
    FAIL() << "no fault";
  } catch (const ArithmeticFault& fault) {
    EXPECT_EQ(fault.qz(), 500.0);
  }
}

//! Three points whose 1-sigma resolution is 0.001, 0.002 and 0.004, out of Qz order.
MeasuredData WithResolution() {
  MeasuredData data;
  data.fileName = "/data/run.ort";
  data.qz = {0.1, 0.2, 0.05};
  data.r = {1e-3, 1e-4, 1e-2};
  data.dr = {0, 0, 0};
  data.sqz = {0.002, 0.004, 0.001};
  return data;
}

TEST(PointResolutionTest, FromTheDataTheWidthIsTwiceSQzAtEveryMeasuredPoint) {
  CalcSettings settings;
  settings.resolutionFromData = true;
  const MeasuredData data = WithResolution();
  EXPECT_EQ(PointResolutions(settings, data, data.qz), (std::vector<double>{0.004, 0.008, 0.002}));
}

TEST(PointResolutionTest, FromTheDataAComputedGridInterpolatesAndHoldsTheEnds) {
  CalcSettings settings;
  settings.resolutionFromData = true;
  const std::vector<double> b =
      PointResolutions(settings, WithResolution(), std::vector<double>{0.0, 0.075, 0.15, 0.3});
  ASSERT_EQ(b.size(), 4u);
  EXPECT_DOUBLE_EQ(b[0], 0.002);   // below the first point: its width
  EXPECT_DOUBLE_EQ(b[1], 0.003);   // halfway between 0.05 and 0.1
  EXPECT_DOUBLE_EQ(b[2], 0.006);   // halfway between 0.1 and 0.2
  EXPECT_DOUBLE_EQ(b[3], 0.008);   // above the last point
}

TEST(PointResolutionTest, WithoutTheChoiceOrWithoutSQzTheModelDecides) {
  CalcSettings settings = Regions({{"0", "0.0005"}});
  MeasuredData data = WithResolution();
  EXPECT_EQ(PointResolutions(settings, data, data.qz), std::vector<double>(3, 0.0005));
  settings.resolutionFromData = true;
  data.sqz.clear();
  EXPECT_EQ(PointResolutions(settings, data, data.qz), std::vector<double>(3, 0.0005));
}

}  // namespace
}  // namespace quorrel
