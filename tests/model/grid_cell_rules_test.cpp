#include "model/grid_cell_rules.h"

#include <gtest/gtest.h>

#include "model/editor_fields.h"
#include "model/sample_type_choice.h"

namespace quorrel {
namespace {

TEST(LeaveBaseGrid, RestoresLabelsAndNotApplicableCells) {
  SampleModel model;
  SetLayerCount(model, 3);  // row 3, the old substrate, is now layer 2 labelled "bulk"
  model.baseGrid.setCell(1, kColLabel, "layer 1 moved up");
  model.baseGrid.setCell(1, kColThickness, "25");
  model.baseGrid.setCell(1, kColRho, "3e-6");
  model.baseGrid.setCell(2, kColLabel, "Si");  // a material name from the lookup
  model.baseGrid.setCell(5, kColThickness, "7");
  LeaveBaseGrid(model);
  const char* labels[] = {"air", "1", "2", "3", "bulk"};
  for (int row = 1; row <= 5; ++row) {
    EXPECT_EQ(model.baseGrid.cell(row, kColLabel), labels[row - 1]);
  }
  EXPECT_EQ(model.baseGrid.cell(1, kColThickness), "N/A");
  EXPECT_EQ(model.baseGrid.cell(1, kColSigma), "N/A");
  EXPECT_EQ(model.baseGrid.cell(1, kColRho), "3e-6");  // the densities stay
  EXPECT_EQ(model.baseGrid.cell(5, kColThickness), "N/A");
  EXPECT_EQ(model.baseGrid.cell(3, kColThickness), "N/A");  // until the user edits it
}

TEST(LeaveBaseGrid, LeavesTheCoreRowAlone) {
  SampleModel model;
  ChooseSampleType(model, SampleType::SymmetricFilm);
  model.baseGrid.setCell(3, kColLabel, "SiO2");
  model.baseGrid.setCell(2, kColLabel, "Au");
  LeaveBaseGrid(model);
  EXPECT_EQ(model.baseGrid.cell(3, kColLabel), "SiO2");
  EXPECT_EQ(model.baseGrid.cell(3, kColThickness), "100");
  EXPECT_EQ(model.baseGrid.cell(2, kColLabel), "1");
}

TEST(LeaveMLGrid, NumbersTheVisibleRows) {
  SampleModel model;
  model.mlGrid.setCell(1, kColLabel, "Ni");
  model.mlGrid.setCell(3, kColLabel, "hidden");
  LeaveMLGrid(model);
  EXPECT_EQ(model.mlGrid.cell(1, kColLabel), "1");
  EXPECT_EQ(model.mlGrid.cell(3, kColLabel), "hidden");
}

TEST(EditBaseCell, IdenticalSigmasReachEveryLayerAndTheCore) {
  SampleModel model;
  SetLayerCount(model, 3);
  ChooseSampleType(model, SampleType::SymmetricFilm);
  model.identicalSigmas = true;
  EditBaseCell(model, 3, kColSigma, "4.5");
  for (int row = 2; row <= 5; ++row) EXPECT_EQ(model.baseGrid.cell(row, kColSigma), "4.5") << row;
  EXPECT_EQ(model.baseGrid.cell(1, kColSigma), "N/A");
  EditBaseCell(model, 3, kColRho, "1e-6");
  EXPECT_EQ(model.baseGrid.cell(4, kColRho), "0");  // only roughness is shared
}

TEST(EditBaseCell, SigmasStayApartUnlessAllThreeConditionsHold) {
  struct Case {
    SampleType type;
    bool identical;
    int column;
  };
  const Case cases[] = {{SampleType::IndependentLayers, true, kColSigma},
                        {SampleType::SymmetricFilm, false, kColSigma},
                        {SampleType::SymmetricFilm, true, kColRho}};
  for (const Case& c : cases) {
    SampleModel model;
    ChooseSampleType(model, c.type);
    model.identicalSigmas = c.identical;
    EditBaseCell(model, 2, c.column, "9");
    EXPECT_EQ(model.baseGrid.cell(2, c.column), "9");
    EXPECT_EQ(model.baseGrid.cell(3, kColSigma), "5");
  }
}

TEST(ChooseSampleType, SymmetricFilmAndBack) {
  SampleModel model;
  model.baseGrid.setCell(1, kColSigma, "2");
  ChooseSampleType(model, SampleType::SymmetricFilm);
  EXPECT_EQ(model.baseGrid.cell(3, kColLabel), "core");
  EXPECT_EQ(model.baseGrid.cell(3, kColThickness), "100");
  EXPECT_EQ(model.baseGrid.cell(3, kColSigma), "5");
  EXPECT_EQ(model.baseGrid.cell(1, kColSigma), "2");
  model.baseGrid.setCell(3, kColThickness, "40");
  ChooseSampleType(model, SampleType::SymmetricFilm);  // already chosen
  EXPECT_EQ(model.baseGrid.cell(3, kColThickness), "40");
  ChooseSampleType(model, SampleType::MultipleLayers);
  EXPECT_EQ(model.type, SampleType::MultipleLayers);
  EXPECT_EQ(model.baseGrid.cell(3, kColLabel), "bulk");
  EXPECT_EQ(model.baseGrid.cell(3, kColThickness), "N/A");
  EXPECT_EQ(model.baseGrid.cell(1, kColSigma), "N/A");
  EXPECT_EQ(model.baseGrid.cell(3, kColRho), SampleModel().baseGrid.cell(3, kColRho));
}

}  // namespace
}  // namespace quorrel
