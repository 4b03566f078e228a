#include "files/layer_table_file.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/spin_flip_model.h"
#include "common/decimal_separator.h"
#include "common/error.h"
#include "scratch_folder.h"

namespace quorrel {
namespace {

TEST(LayerTableFile, ReadsThePolarisedReferenceTable) {
  const LayerTable table =
      ReadLayerTable(std::string(QUORREL_TEST_DATA) + "/orso/polarised/test1.layers");
  EXPECT_EQ(table.form, LayerTableForm::Polarised);
  ASSERT_EQ(table.stack.media.size(), 4u);
  const MagneticMedium& layer = table.stack.media[1];
  EXPECT_EQ(layer.thickness, 200);
  EXPECT_DOUBLE_EQ(layer.rho, 4e-6);
  EXPECT_EQ(layer.thetaM, 180);
  EXPECT_DOUBLE_EQ(layer.magneticRho, 1e-6);
  EXPECT_DOUBLE_EQ(table.stack.media.back().rho, 4e-6);
  EXPECT_EQ(table.stack.aguide, 90);
  EXPECT_EQ(table.stack.field, 0);
}

TEST(LayerTableFile, ReadsTheUnpolarisedFormWithoutTheFrontingsAbsorption) {
  const LayerTable table = ReadLayerTable(std::string(QUORREL_TEST_DATA) + "/orso/test0.layers");
  EXPECT_EQ(table.form, LayerTableForm::Unpolarised);
  ASSERT_EQ(table.stack.media.size(), 4u);
  EXPECT_DOUBLE_EQ(table.stack.media[0].rho, 2.07e-6);
  EXPECT_EQ(table.stack.media[0].imRho, 0);
  EXPECT_DOUBLE_EQ(table.stack.media[1].imRho, 0.1e-6);
  EXPECT_EQ(table.stack.media[1].sigma, 3);
  EXPECT_EQ(table.stack.media[1].magneticRho, 0);
  EXPECT_EQ(table.stack.media[3].sigma, 5);
}

TEST(LayerTableFile, TheEditorsModelOfATableHasTheTablesSpinFlipStack) {
  for (const char separator : {'.', ','}) {
    const ScopedDecimalSeparator scoped(separator);
    const LayerTable table =
        ReadLayerTable(std::string(QUORREL_TEST_DATA) + "/orso/polarised/test1.layers");
    const SampleModel model = ModelOfLayerTable(table.stack);
    EXPECT_EQ(model.edtLayers, 2);
    EXPECT_EQ(model.baseGrid.cell(3, kColLabel), "2");
    SpinFlipStack fourLayers;
    fourLayers.media.resize(6);
    const SampleModel numbered = ModelOfLayerTable(fourLayers);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(numbered.baseGrid.cell(k + 1, kColLabel), std::to_string(k));
    const SpinFlipStack stack = SpinFlipStackOfModel(model, 90, 0);
    ASSERT_EQ(stack.media.size(), table.stack.media.size());
    for (std::size_t j = 0; j < stack.media.size(); ++j) {
      const MagneticMedium& read = table.stack.media[j];
      const MagneticMedium& built = stack.media[j];
      EXPECT_EQ(built.rho, read.rho) << j;
      // The stack takes it as the difference of the spin-up and the plain density.
      EXPECT_NEAR(built.magneticRho, read.magneticRho, 1e-20) << j;
      EXPECT_EQ(built.thetaM, read.thetaM) << j;
      // The fronting's roughness and thickness and the backing's thickness are not read.
      if (j > 0) {
        EXPECT_EQ(built.sigma, read.sigma) << j;
      }
      if (j > 0 && j + 1 < stack.media.size()) {
        EXPECT_EQ(built.thickness, read.thickness) << j;
      }
    }
  }
}

TEST(LayerTableFile, RefusesWhatIsNotALayerTableByLine) {
  ScratchFolder folder;
  struct Case {
    const char* content;
    const char* message;
  };
  for (const Case c : {
           Case{"# media\n0 0 0 0\n10 1 0\n",
                "line 3: a medium is 4 numbers (thickness, sld, "
                "isld, roughness) or 6 (thickness, sld, mu, thetaM, "
                "sldm, roughness), not 3"},
           Case{"0 0 0 0\n10 1 0 90 1 0\n", "line 2: 6 numbers after rows of 4"},
           Case{"0 0 0 0\n10 1,5 0 3\n", "line 2: \"1,5\" is not a number"},
           Case{"0 2.07 0 0\n", "needs a fronting and a backing medium, one row each"},
       }) {
    const auto path = folder.write("bad.layers", c.content);
    try {
      ReadLayerTable(path);
      ADD_FAILURE() << c.content;
    } catch (const FileError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
  EXPECT_THROW(ReadLayerTable(folder / "missing.layers"), FileError);
}

}  // namespace
}  // namespace quorrel
