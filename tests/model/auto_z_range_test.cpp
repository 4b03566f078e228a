#include "model/auto_z_range.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/decimal_separator.h"
#include "common/error.h"
#include "model/layer_stack_builder.h"

namespace quorrel {
namespace {

//! Independent layers with the given thickness cells.
SampleModel Layers(const std::vector<std::string>& thicknesses) {
  SampleModel model;
  model.edtLayers = static_cast<int>(thicknesses.size());
  model.baseGrid.setRowCount(model.edtLayers + 3);
  for (int j = 0; j < model.edtLayers; ++j) {
    model.baseGrid.setCell(j + 2, kColThickness, thicknesses[static_cast<std::size_t>(j)]);
  }
  model.baseGrid.setCell(model.lastRow(), kColThickness, "N/A");
  return model;
}

void ExpectRange(const SampleModel& model, int zmin, int zmax) {
  const ZRange range = AutoZRange(model);
  EXPECT_EQ(range.zmin, zmin);
  EXPECT_EQ(range.zmax, zmax);
}

TEST(AutoZRangeTest, DefaultModel) { ExpectRange(SampleModel(), -6, 31); }

TEST(AutoZRangeTest, TiesGoToTheEvenNeighbour) {
  ExpectRange(Layers({"10"}), -2, 12);        // -2.5 and 12.5
  ExpectRange(Layers({"6", "8"}), -4, 18);    // -3.5 and 17.5
  ExpectRange(Layers({"2"}), 0, 2);           // -0.5 and 2.5
}

TEST(AutoZRangeTest, NoLayersOrNoPositiveThicknessGiveTheFixedRange) {
  ExpectRange(Layers({}), -25, 25);
  ExpectRange(Layers({"10", "-30"}), -25, 25);  // signs are kept, so T = -20
  ExpectRange(Layers({"0"}), -25, 25);
}

TEST(AutoZRangeTest, AThinLayerGivesARangeOfOneDepth) {
  ExpectRange(Layers({"0.4"}), 0, 0);
}

TEST(AutoZRangeTest, SymmetricFilmCountsTheHalfTwiceAndTheCoreOnce) {
  SampleModel model = Layers({"20"});
  model.type = SampleType::SymmetricFilm;
  model.baseGrid.setCell(model.lastRow(), kColThickness, "40");
  ExpectRange(model, -20, 100);  // T = 80
}

TEST(AutoZRangeTest, ProfileFunctionAddsItsSteps) {
  SampleModel model = Layers({"20"});
  model.type = SampleType::ProfileFunction;
  model.edtNumCalcLayers = 30;
  model.edtLayerThickness = 2;
  ExpectRange(model, -20, 100);  // T = 20 + 60
}

TEST(AutoZRangeTest, MultipleLayersAddTheRepeatedPeriod) {
  SampleModel model = Layers({"19"});
  model.type = SampleType::MultipleLayers;
  model.edtRepts = 3;  // the default period is 50 + 11 Å
  ExpectRange(model, -50, 252);  // T = 19 + 183 = 202: -50.5 and 252.5
}

TEST(AutoZRangeTest, MultipleLayersWithoutBaseLayersStillUseThePeriod) {
  SampleModel model = Layers({});
  model.type = SampleType::MultipleLayers;
  model.edtRepts = 2;
  ExpectRange(model, -30, 152);  // T = 122: -30.5 and 152.5
}

TEST(AutoZRangeTest, ThicknessesFollowTheUserSeparator) {
  const ScopedDecimalSeparator comma(',');
  ExpectRange(Layers({"12,5", "7,5"}), -5, 25);
}

TEST(AutoZRangeTest, AThicknessThatIsNotANumberNamesItsCell) {
  try {
    AutoZRange(Layers({"10", "abc"}));
    FAIL() << "no error";
  } catch (const CellError& error) {
    EXPECT_EQ(error.grid(), kBaseGridName);
    EXPECT_EQ(error.row(), 3);
    EXPECT_EQ(error.column(), kColThickness);
    EXPECT_EQ(error.text(), "abc");
  }
}

TEST(AutoZRangeTest, ARangeBeyondTheIntegersIsAFault) {
  EXPECT_THROW(AutoZRange(Layers({"1e300"})), ArithmeticFault);
}

}  // namespace
}  // namespace quorrel
