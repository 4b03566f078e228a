#include "calc/qz_grid.h"

#include <gtest/gtest.h>

#include <string>

#include "common/error.h"

namespace quorrel {
namespace {

MeasuredData Measured(int count, double firstQz = 0.002, double stepQz = 0.002) {
  MeasuredData data;
  data.fileName = "/data/run.dat";
  for (int k = 0; k < count; ++k) {
    data.qz.push_back(firstQz + k * stepQz);
    data.r.push_back(1e-3);
    data.dr.push_back(1e-5);
  }
  return data;
}

void ExpectRefused(const CalcSettings& settings, const MeasuredData& data,
                   const std::string& message) {
  try {
    QzGrid(settings, data);
    FAIL() << "not refused: " << message;
  } catch (const QuorrelError& error) {
    EXPECT_EQ(error.what(), message);
  }
}

TEST(QzGridTest, DefaultSettingsStopOneStepBelowTheUpperEnd) {
  const std::vector<double> qz = QzGrid(CalcSettings(), MeasuredData());
  ASSERT_EQ(qz.size(), 100u);
  EXPECT_EQ(qz[0], 0.0);
  EXPECT_DOUBLE_EQ(qz[1], 0.0025);
  EXPECT_DOUBLE_EQ(qz[99], 0.2475);
  EXPECT_LT(qz[99], 0.25);
}

TEST(QzGridTest, LoadedDataWithoutTheUserRangeGiveTheMeasuredQz) {
  const MeasuredData data = Measured(250, 0.0031, 0.0007);
  CalcSettings settings;
  settings.cbUserRange = false;
  EXPECT_EQ(QzGrid(settings, data), data.qz);
  // The computed grid applies with the user range on, or when nothing is loaded.
  settings.cbUserRange = true;
  EXPECT_EQ(QzGrid(settings, data).size(), 100u);
  settings.cbUserRange = false;
  MeasuredData notLoaded = data;
  notLoaded.fileName.clear();
  EXPECT_EQ(QzGrid(settings, notLoaded).size(), 100u);
}

TEST(QzGridTest, OnePointIsTheLowerEnd) {
  CalcSettings settings;
  settings.edtNumPoints = 1;
  settings.edtminQ = 0.01;
  EXPECT_EQ(QzGrid(settings, MeasuredData()), std::vector<double>{0.01});
}

TEST(QzGridTest, ADescendingRangeRunsDownwards) {
  CalcSettings settings;
  settings.edtminQ = 0.2;
  settings.edtMaxQ = 0.1;
  settings.edtNumPoints = 4;
  const std::vector<double> qz = QzGrid(settings, MeasuredData());
  ASSERT_EQ(qz.size(), 4u);
  EXPECT_DOUBLE_EQ(qz[3], 0.125);
}

TEST(QzGridTest, CountsOutsideOneTo100000AreRefused) {
  CalcSettings settings;
  for (const int count : {0, -1, 100001}) {
    settings.edtNumPoints = count;
    ExpectRefused(settings, MeasuredData(),
                  "the number of points must lie between 1 and 100000, not " +
                      std::to_string(count));
  }
  // The step is formed from edtNumPoints even when the measured points replace the grid.
  settings.edtNumPoints = 0;
  settings.cbUserRange = false;
  ExpectRefused(settings, Measured(20),
                "the number of points must lie between 1 and 100000, not 0");
  settings.edtNumPoints = 100000;
  EXPECT_EQ(QzGrid(settings, MeasuredData()).size(), 100000u);
  EXPECT_EQ(QzGrid(settings, Measured(100000)).size(), 100000u);
  ExpectRefused(settings, Measured(100001),
                "the number of measured points must lie between 1 and 100000, not 100001");
  // A loaded file without a point leaves the computed grid.
  EXPECT_EQ(QzGrid(settings, Measured(0)).size(), 100000u);
}

TEST(QzGridTest, AGridBeyondTheDoubleRangeIsAFault) {
  CalcSettings settings;
  settings.edtminQ = -1e308;
  settings.edtMaxQ = 1e308;
  EXPECT_THROW(QzGrid(settings, MeasuredData()), ArithmeticFault);
}

}  // namespace
}  // namespace quorrel
