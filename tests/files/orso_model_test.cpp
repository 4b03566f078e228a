#include "files/orso_model.h"

#include <gtest/gtest.h>

#include <map>

#include "common/error.h"
#include "model/cell_values.h"
#include "scratch_folder.h"

namespace quorrel {
namespace {

//! A table of a few materials by name; a formula's rho is its mass density times 1e-6 (2e-6
//! for a number density), so that a test sees which density reached it.
class FakeCatalogue : public MaterialCatalogue {
 public:
  std::optional<LayerSld> byName(const std::string& name, Radiation radiation) const override {
    static const std::map<std::string, LayerSld> kNeutron{
        {"Si", {2.07e-6, 1e-10}}, {"Ni", {9.4e-6, 0}},  {"Ti", {-1.95e-6, 0}},
        {"Al2O3", {5.7e-6, 2e-11}}, {"H2O", {-0.56e-6, 0}}, {"D2O", {6.36e-6, 0}}};
    const auto found = kNeutron.find(name);
    if (found == kNeutron.end()) return std::nullopt;
    const double scale = radiation == Radiation::Xrays ? 10 : 1;
    return LayerSld{found->second.rho * scale, found->second.imRho * scale};
  }
  LayerSld byFormula(const std::string& formula, FormulaDensity density,
                     Radiation) const override {
    if (formula == "Xx") throw QuorrelError("the element Xx is not in the material table");
    const double per = density.kind == FormulaDensity::Kind::Mass ? 1e-6 : 2e-6;
    return {density.value * per, 0};
  }
};

const FakeCatalogue kCatalogue;

//! A header whose model is `model` (YAML lines of the model map, without indentation).
std::string Header(const std::string& model, const std::string& probe = "neutron") {
  std::string text = "data_source:\n  experiment: {probe: " + probe + "}\n  sample:\n    model:\n";
  std::size_t at = 0;
  while (at < model.size()) {
    const std::size_t end = std::min(model.find('\n', at), model.size());
    text += "      " + model.substr(at, end - at) + "\n";
    at = end + 1;
  }
  return text;
}

//! The cells of a grid row from column 0 to 4.
std::vector<std::string> Row(const TextGrid& grid, int row) {
  std::vector<std::string> cells;
  for (int c = kColLabel; c <= kColSigma; ++c) cells.push_back(grid.cell(row, c));
  return cells;
}

double Number(const TextGrid& grid, int row, int column) {
  return CellNumber(grid, "grid", row, column);
}

std::string Refusal(const std::string& header) {
  try {
    BuildOrsoModel(header, kCatalogue);
  } catch (const QuorrelError& error) {
    return error.what();
  }
  return "no error";
}

TEST(OrsoModel, APlainStackInNanometresWithTableMaterials) {
  const OrsoModel built = BuildOrsoModel(Header("stack: vacuum | Al2O3 2 | Ni 10.5 | Si"), kCatalogue);
  const SampleModel& m = built.model;
  EXPECT_EQ(m.type, SampleType::IndependentLayers);
  ASSERT_EQ(m.edtLayers, 2);
  EXPECT_EQ(Row(m.baseGrid, 1), (std::vector<std::string>{"air", "N/A", "0", "0", "N/A"}));
  EXPECT_EQ(m.baseGrid.cell(2, kColLabel), "Al2O3");
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 2, kColThickness), 20);
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 2, kColRho), 5.7e-6);
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 2, kColImRho), 2e-11);
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 2, kColSigma), 3);  // the language's 0.3 nm
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 3, kColThickness), 105);
  EXPECT_EQ(m.baseGrid.cell(4, kColLabel), "bulk");
  EXPECT_EQ(m.baseGrid.cell(4, kColThickness), "N/A");
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 4, kColRho), 2.07e-6);
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 4, kColSigma), 3);
  EXPECT_EQ(m.baseGrid.rowCount(), 5);
  EXPECT_EQ(built.radiation, Radiation::Neutrons);
  EXPECT_TRUE(built.notes.empty());

  const OrsoModel xray = BuildOrsoModel(Header("stack: air | Ni 1 | Si", "x-ray"), kCatalogue);
  EXPECT_EQ(xray.radiation, Radiation::Xrays);
  EXPECT_DOUBLE_EQ(Number(xray.model.baseGrid, 2, kColRho), 9.4e-5);
  EXPECT_EQ(xray.notes, std::vector<std::string>{"x-ray densities from the material table are for 8047 eV"});
}

TEST(OrsoModel, OneRepeatedBlockIsAMultilayerAndAnyOtherRepetitionIsWrittenOut) {
  const SampleModel ml =
      BuildOrsoModel(Header("stack: air | Ni 10 | 5 ( Ti 3 | Ni 7 ) | Al2O3 1 | Si"), kCatalogue).model;
  EXPECT_EQ(ml.type, SampleType::MultipleLayers);
  EXPECT_EQ(ml.edtLayers, 2);
  EXPECT_EQ(ml.edtInsertLayer, 1);
  EXPECT_EQ(ml.edtStackedLayers, 2);
  EXPECT_EQ(ml.edtRepts, 5);
  EXPECT_EQ(ml.baseGrid.cell(2, kColLabel), "Ni");
  EXPECT_EQ(ml.baseGrid.cell(3, kColLabel), "Al2O3");
  EXPECT_EQ(ml.mlGrid.cell(1, kColLabel), "Ti");
  EXPECT_DOUBLE_EQ(Number(ml.mlGrid, 2, kColThickness), 70);
  EXPECT_EQ(CalcLayerCount(ml), 12);

  // Two repeated blocks, or a period of more than 99 layers: independent layers.
  const SampleModel two =
      BuildOrsoModel(Header("stack: air | 2 ( Ti 3 | Ni 7 ) | 3 ( Si 1 ) | Si"), kCatalogue).model;
  EXPECT_EQ(two.type, SampleType::IndependentLayers);
  ASSERT_EQ(two.edtLayers, 7);
  EXPECT_EQ(two.baseGrid.cell(4, kColLabel), "Ti");
  EXPECT_EQ(two.baseGrid.cell(8, kColLabel), "Si");
  const SampleModel big =
      BuildOrsoModel(Header("stack: air | 2 ( 50 ( Ti 3 | Ni 7 ) ) | Si"), kCatalogue).model;
  EXPECT_EQ(big.type, SampleType::IndependentLayers);
  EXPECT_EQ(big.edtLayers, 200);
  // A block repeated once is no block; a nested repetition is written out in the period.
  const SampleModel nested =
      BuildOrsoModel(Header("stack: 1 ( air ) | 4 ( Ti 3 | 2 ( Ni 1 ) ) | Si"), kCatalogue).model;
  EXPECT_EQ(nested.type, SampleType::MultipleLayers);
  EXPECT_EQ(nested.edtLayers, 0);
  EXPECT_EQ(nested.edtStackedLayers, 3);
  EXPECT_EQ(nested.edtRepts, 4);
}

TEST(OrsoModel, LayersSubStacksMaterialsCompositsAndGlobals) {
  const std::string model =
      "stack: air | cap | film | SiO2 15 | water\n"
      "sub_stacks:\n"
      "  film:\n"
      "    repetitions: 3\n"
      "    sequence:\n"
      "    - {material: Fe, thickness: {magnitude: 0.7, unit: nm}}\n"
      "    - {material: {sld: {real: 2.0e-2, imag: 1.0e-4, unit: 1/nm^2}}, thickness: 11}\n"
      "layers:\n"
      "  cap: {material: oxide, thickness: 25, roughness: {magnitude: 0.5, unit: nm}}\n"
      "materials:\n"
      "  Fe: {formula: Fe, mass_density: 7.8}\n"
      "  oxide: {formula: Fe2O3, number_density: 40, relative_density: 0.5}\n"
      "  SiO2: {sld: 3.47}\n"
      "composits:\n"
      "  water: {H2O: 0.25, D2O: 0.75}\n"
      "globals: {length_unit: angstrom, roughness: 4, sld_unit: 1e-6/angstrom^2, "
      "number_density_unit: 1/nm^3}";
  const SampleModel m = BuildOrsoModel(Header(model), kCatalogue).model;
  ASSERT_EQ(m.type, SampleType::MultipleLayers);
  ASSERT_EQ(m.edtLayers, 2);
  EXPECT_EQ(m.edtInsertLayer, 1);
  // cap: 25 Å, 5 Å roughness, half the number density's 40e-3 per Å³ · 2e-6.
  EXPECT_EQ(m.baseGrid.cell(2, kColLabel), "cap");
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 2, kColThickness), 25);
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 2, kColSigma), 5);
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 2, kColRho), 0.5 * 40e-3 * 2e-6);
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 3, kColThickness), 15);
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 3, kColRho), 3.47e-6);
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 3, kColSigma), 4);
  EXPECT_DOUBLE_EQ(Number(m.baseGrid, 4, kColRho), 0.25 * -0.56e-6 + 0.75 * 6.36e-6);
  EXPECT_EQ(m.mlGrid.cell(1, kColLabel), "Fe");
  EXPECT_DOUBLE_EQ(Number(m.mlGrid, 1, kColThickness), 7);
  EXPECT_DOUBLE_EQ(Number(m.mlGrid, 1, kColRho), 7.8e-6);
  EXPECT_DOUBLE_EQ(Number(m.mlGrid, 2, kColThickness), 11);
  EXPECT_DOUBLE_EQ(Number(m.mlGrid, 2, kColRho), 2e-4);
  EXPECT_DOUBLE_EQ(Number(m.mlGrid, 2, kColImRho), 1e-6);
}

TEST(OrsoModel, WhatAModelCannotHoldIsRefusedNamingTheItemAndLine) {
  struct Case {
    std::string model;
    std::string message;
  };
  // The model's first line is line 5 of the header.
  const std::vector<Case> cases{
      {"stack: air | Unobtainium 5 | Si",
       "line 5: the material \"Unobtainium\" is not in the material table and the header gives "
       "it no density: give it an sld, or a formula with a mass_density"},
      {"stack: air | Fe 5 | Si\nmaterials:\n  Fe: {formula: Fe, magnetic_moment: 2.2}",
       "line 7: the material \"Fe\" has a magnetic moment, which cannot be represented: give "
       "R(mag) in the model editor instead"},
      {"stack: air | ramp | Si\nsub_stacks:\n  ramp: {sub_stack_class: FunctionTwoElements}",
       "line 7: the sub-stack \"ramp\" is a FunctionTwoElements, which cannot be represented as "
       "layers"},
      {"stack: air | 3 ( Ni 1 ) in D2O | Si",
       "line 5: \"3 ( Ni 1 ) in D2O\": layers inside a matrix material cannot be represented"},
      {"stack: air | a | Si\nsub_stacks:\n  a: {stack: a}",
       "line 7: the sub-stacks refer to each other in a circle"},
      {"stack: air | x 1 | Si\nmaterials:\n  x: {formula: Xx, mass_density: 1}",
       "line 7: the material \"x\": the element Xx is not in the material table"},
      {"stack: air | l | Si\nlayers:\n  l: {material: Ni, sigma: 2}",
       "line 7: the layer \"l\": 'sigma' is not a key of the model language here"},
      {"stack: air | Ni {1} | Si\nglobals: {length_unit: furlong}",
       "line 6: globals length_unit: 'furlong' is not a length unit"},
      {"stack: air | 0 ( Ni 1 ) | Si",
       "line 5: \"0 ( Ni 1 )\": the repetitions '0' are not a whole number of 1 or more"},
      {"stack: air | (Ni 1 | Si", "line 5: the stack \"air | (Ni 1 | Si\" leaves a '(' open"},
      {"stack: air | w 1 | Si\ncomposits:\n  w: {w: 1}",
       "line 7: the materials refer to each other in a circle"},
      {"stack: 2 ( air ) | Si",
       "line 5: the stack must start with the fronting medium and end with the backing medium, "
       "each a single item"},
      {"stack: air | 99 ( 99 ( Ni 1 | Ti 1 ) ) | Si",
       "line 5: the model has more layers than a model can hold"},
  };
  for (const Case& c : cases) EXPECT_EQ(Refusal(Header(c.model)), c.message) << c.model;
  EXPECT_EQ(Refusal("data_source: {sample: {name: x}}\n"),
            "line 1: the header describes no sample model (data_source: sample: model:)");
}

TEST(OrsoModel, AFileNamesItsOwnLines) {
  ScratchFolder folder;
  const std::string first =
      "# # ORSO reflectivity data file | 1.1 standard | YAML encoding | "
      "https://www.reflectometry.org/\n";
  std::string header;
  std::size_t at = 0;
  const std::string yaml = Header("stack: air | Mystery 3 | Si");
  while (at < yaml.size()) {
    const std::size_t end = yaml.find('\n', at);
    header += "# " + yaml.substr(at, end - at) + "\n";
    at = end + 1;
  }
  const auto path = folder.write("m.ort", first + header + "# columns: [{name: Qz}, {name: R}]\n0.1 0.5\n");
  EXPECT_TRUE(OrsoFileHasModel(path));
  try {
    ReadOrsoModel(path, kCatalogue);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_TRUE(std::string(error.what()).starts_with(path.string() + ": line 6: the material \"Mystery\""))
        << error.what();
  }
  const auto plain = folder.write("p.ort", first + "# columns: [{name: Qz}, {name: R}]\n0.1 0.5\n");
  EXPECT_FALSE(OrsoFileHasModel(plain));
}

}  // namespace
}  // namespace quorrel
