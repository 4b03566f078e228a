#include "model/settings_rules.h"

#include <gtest/gtest.h>

#include "common/decimal_separator.h"
#include "common/error.h"

namespace quorrel {
namespace {

MeasuredData LoadedData(int points, double first, double last) {
  MeasuredData data;
  for (int i = 0; i < points; ++i) {
    data.qz.push_back(first + (last - first) * i / (points - 1));
    data.r.push_back(1.0);
    data.dr.push_back(0.0);
  }
  data.qz.back() = last;  // exactly, whatever the rounding of the steps
  data.fileName = "/data/run.dat";
  return data;
}

TEST(SetUserQRange, OffTakesTheMeasuredRangeAndCount) {
  CalcSettings settings;
  SetUserQRange(settings, false, LoadedData(120, 0.01, 0.3));
  EXPECT_FALSE(settings.cbUserRange);
  EXPECT_EQ(settings.edtminQ, 0.01);
  EXPECT_EQ(settings.edtMaxQ, 0.3);
  EXPECT_EQ(settings.edtNumPoints, 120);
}

TEST(SetUserQRange, OffWithoutPointsOnlySwitches) {
  MeasuredData emptyLoad;
  emptyLoad.fileName = "/data/empty.dat";  // a successful load of 0 points
  for (const MeasuredData& data : {MeasuredData(), emptyLoad}) {
    CalcSettings settings;
    SetUserQRange(settings, false, data);
    EXPECT_FALSE(settings.cbUserRange);
    EXPECT_EQ(settings.edtminQ, 0.0);
    EXPECT_EQ(settings.edtMaxQ, 0.25);
    EXPECT_EQ(settings.edtNumPoints, 100);
  }
}

TEST(SetUserQRange, OnKeepsTheFields) {
  CalcSettings settings;
  settings.cbUserRange = false;
  settings.edtMaxQ = 0.4;
  SetUserQRange(settings, true, LoadedData(10, 0.01, 0.3));
  EXPECT_TRUE(settings.cbUserRange);
  EXPECT_EQ(settings.edtMaxQ, 0.4);
  EXPECT_EQ(settings.edtNumPoints, 100);
}

TEST(SetUserZRange, OffTakesTheAutomaticRangeAndFiftyPoints) {
  CalcSettings settings;
  settings.cbUserZ = true;
  settings.edtMinZ = 100;
  settings.edtMaxZ = -50;
  SetUserZRange(settings, false, SampleModel());  // one 25 Å layer
  EXPECT_FALSE(settings.cbUserZ);
  EXPECT_EQ(settings.edtMinZ, -6);
  EXPECT_EQ(settings.edtMaxZ, 31);
  EXPECT_EQ(settings.edtNumPointsZ, 50);
}

TEST(SetUserZRange, OnKeepsTheFields) {
  CalcSettings settings;
  settings.edtMinZ = 3;
  SetUserZRange(settings, true, SampleModel());
  EXPECT_TRUE(settings.cbUserZ);
  EXPECT_EQ(settings.edtMinZ, 3);
  EXPECT_EQ(settings.edtNumPointsZ, 100);
}

TEST(SetUserZRange, UnreadableThicknessSwitchesOffAndKeepsTheRange) {
  ScopedDecimalSeparator point('.');
  SampleModel model;
  model.baseGrid.setCell(2, kColThickness, "2x5");
  CalcSettings settings;
  settings.cbUserZ = true;
  settings.edtMinZ = 7;
  settings.edtMaxZ = 9;
  EXPECT_THROW(SetUserZRange(settings, false, model), CellError);
  EXPECT_FALSE(settings.cbUserZ);
  EXPECT_EQ(settings.edtMinZ, 7);
  EXPECT_EQ(settings.edtMaxZ, 9);
  EXPECT_EQ(settings.edtNumPointsZ, 100);
}

TEST(SetRegionCount, AnAddedRowRepeatsTheRowAbove) {
  CalcSettings settings;
  SetRegionCount(settings, 2);
  EXPECT_EQ(settings.edtRegions, 2);
  ASSERT_EQ(settings.resltnGrid.rowCount(), 3);
  EXPECT_EQ(settings.resltnGrid.cell(2, 0), "0");
  EXPECT_EQ(settings.resltnGrid.cell(2, 1), "0");
}

TEST(SetRegionCount, LoweringRemovesTheLastRowForGood) {
  CalcSettings settings;
  settings.resltnGrid.setCell(1, 1, "0.001");
  SetRegionCount(settings, 2);
  settings.resltnGrid.setCell(2, 0, "0.05");
  settings.resltnGrid.setCell(2, 1, "0.002");
  SetRegionCount(settings, 1);
  EXPECT_EQ(settings.resltnGrid.rowCount(), 2);
  SetRegionCount(settings, 2);  // the new row copies row 1, not the removed text
  EXPECT_EQ(settings.resltnGrid.cell(2, 0), "0");
  EXPECT_EQ(settings.resltnGrid.cell(2, 1), "0.001");
}

TEST(SetRegionCount, SeveralRowsAtOnceAreAllFilled) {
  CalcSettings settings;
  settings.resltnGrid.setCell(1, 0, "0.01");
  settings.resltnGrid.setCell(1, 1, "0.003");
  SetRegionCount(settings, 4);
  ASSERT_EQ(settings.resltnGrid.rowCount(), 5);
  for (int row = 2; row <= 4; ++row) {
    EXPECT_EQ(settings.resltnGrid.cell(row, 0), "0.01") << row;
    EXPECT_EQ(settings.resltnGrid.cell(row, 1), "0.003") << row;
  }
  EXPECT_EQ(settings.resltnGrid.cell(0, 0), "from Qz");
}

TEST(SetRegionCount, CountIsLimitedToOneToEight) {
  CalcSettings settings;
  SetRegionCount(settings, 12);
  EXPECT_EQ(settings.edtRegions, 8);
  EXPECT_EQ(settings.resltnGrid.rowCount(), 9);
  SetRegionCount(settings, 0);
  EXPECT_EQ(settings.edtRegions, 1);
  EXPECT_EQ(settings.resltnGrid.rowCount(), 2);
}

}  // namespace
}  // namespace quorrel
