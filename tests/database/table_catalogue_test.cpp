// Materials by name and by formula from the shipped table; the compounds that the table holds
// were made independently of the element records, so a formula must give their densities.

#include "database/table_catalogue.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "database/chemical_formula.h"

namespace quorrel {
namespace {

const TableCatalogue& Shipped() {
  static const TableCatalogue catalogue = TableCatalogue::Load(QUORREL_SHIPPED_MATERIAL_TABLE);
  return catalogue;
}

TEST(ChemicalFormula, ElementsCountsAndGroups) {
  const auto parts = [](const char* text) {
    std::vector<std::pair<std::string, double>> out;
    for (const FormulaPart& part : ParseFormula(text)) out.emplace_back(part.element, part.count);
    return out;
  };
  using P = std::vector<std::pair<std::string, double>>;
  EXPECT_EQ(parts("SiO2"), (P{{"Si", 1}, {"O", 2}}));
  EXPECT_EQ(parts("SiN0.01"), (P{{"Si", 1}, {"N", 0.01}}));
  EXPECT_EQ(parts("Ca(OH)2"), (P{{"Ca", 1}, {"O", 2}, {"H", 2}}));
  EXPECT_EQ(parts("((CH2)3)2"), (P{{"C", 6}, {"H", 12}}));
  for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
           {"", "the formula '' cannot be read at character 1: it is empty"},
           {"sio2", "the formula 'sio2' cannot be read at character 1: 's' is neither an element nor a count"},
           {"Si(O2", "the formula 'Si(O2' cannot be read at character 6: '(' without ')'"},
           {"SiO2)", "the formula 'SiO2)' cannot be read at character 5: ')' without '('"},
           {"Si0", "the formula 'Si0' cannot be read at character 3: the count is not a number above 0"}}) {
    try {
      ParseFormula(text);
      ADD_FAILURE() << "no error for " << text;
    } catch (const QuorrelError& error) {
      EXPECT_EQ(std::string(error.what()), message);
    }
  }
}

TEST(TableCatalogue, AFormulaAtTheTablesDensityGivesTheTablesCompound) {
  for (const Radiation radiation : {Radiation::Neutrons, Radiation::Xrays}) {
    // Amorphous SiO2 at 2.2 and sapphire at 3.98 g/cm³, found by name (the latter by the
    // name before its bracket) and built from Si, Al and O.
    const std::optional<LayerSld> silica = Shipped().byName("SiO2", radiation);
    const std::optional<LayerSld> sapphire = Shipped().byName("Al2O3", radiation);
    ASSERT_TRUE(silica && sapphire);
    const LayerSld built = Shipped().byFormula("SiO2", {FormulaDensity::Kind::Mass, 2.2}, radiation);
    EXPECT_NEAR(built.rho, silica->rho, 1e-3 * silica->rho);
    EXPECT_NEAR(built.imRho, silica->imRho, 2e-3 * silica->imRho);
    const LayerSld alumina = Shipped().byFormula("Al2O3", {FormulaDensity::Kind::Mass, 3.98}, radiation);
    EXPECT_NEAR(alumina.rho, sapphire->rho, 1e-3 * sapphire->rho);
  }
  // Neutrons: SiO2 at 2.2 g/cm³ is 3.47e-6 Å⁻²; a number density of the same formula units.
  const LayerSld silica = Shipped().byFormula("SiO2", {FormulaDensity::Kind::Mass, 2.2}, Radiation::Neutrons);
  EXPECT_NEAR(silica.rho, 3.475e-6, 0.002e-6);
  const double units = 2.2 * 6.023e23 * 1e-24 / 60.0843;
  const LayerSld same = Shipped().byFormula("SiO2", {FormulaDensity::Kind::Number, units}, Radiation::Neutrons);
  EXPECT_NEAR(same.rho, silica.rho, 1e-12 * silica.rho);

  EXPECT_FALSE(Shipped().byName("Unobtainium", Radiation::Neutrons));
  try {
    Shipped().byFormula("D2O", {FormulaDensity::Kind::Mass, 1.1}, Radiation::Neutrons);
    FAIL() << "no error";
  } catch (const QuorrelError& error) {
    EXPECT_EQ(std::string(error.what()), "the element D is not in the material table");
  }
}

}  // namespace
}  // namespace quorrel
