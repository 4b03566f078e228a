// The table that ships with the program, against values known independently of it.

#include <gtest/gtest.h>

#include <cmath>

#include "common/decimal_separator.h"
#include "database/material_sld.h"
#include "database/material_table.h"

namespace quorrel {
namespace {

class ShippedTable : public ::testing::Test {
 protected:
  ShippedTable() { table_.open(QUORREL_SHIPPED_MATERIAL_TABLE, TableAccess::ReadOnly); }

  MaterialRecord find(MaterialKind kind, const std::string& name) const {
    for (const StoredMaterial& material : table_.list(kind)) {
      if (material.record.name == name) return material.record;
    }
    ADD_FAILURE() << name << " is not in the table";
    return {};
  }

  MaterialTable table_;
};

TEST_F(ShippedTable, HoldsEveryElementFromHydrogenToUranium) {
  const std::vector<StoredMaterial> elements = table_.list(MaterialKind::Element);
  ASSERT_EQ(elements.size(), 92u);
  for (int z = 1; z <= 92; ++z) EXPECT_EQ(elements[z - 1].record.ncharge, z);
  EXPECT_EQ(elements.front().record.name, "H");
  EXPECT_EQ(elements[13].record.name, "Si");
  EXPECT_EQ(elements.back().record.name, "U");
}

TEST_F(ShippedTable, HoldsTheCommonReflectometryCompounds) {
  EXPECT_GE(table_.list(MaterialKind::Compound).size(), 25u);
  for (const char* name : {"SiO2 (quartz)", "SiO2", "Si3N4", "Al2O3 (sapphire)",
                           "TiO2 (rutile)", "Ta2O5", "HfO2", "ZrO2", "Fe2O3", "Fe3O4", "NiO",
                           "CoO", "MgO", "SrTiO3", "LaAlO3", "Gd3Ga5O12", "ITO", "GaAs", "H2O",
                           "D2O", "PS (C8H8)", "d-PS (C8D8)", "PMMA (C5H8O2)", "PE (C2H4)",
                           "toluene (C7H8)", "d-toluene (C7D8)"}) {
    EXPECT_FALSE(find(MaterialKind::Compound, name).weight.empty()) << name;
  }
  EXPECT_EQ(table_.nextFreeId(), 93 + static_cast<int>(table_.list(MaterialKind::Compound).size()));
}

struct KnownSld {
  MaterialKind kind;
  const char* name;
  Radiation radiation;
  double rho;  // 1/A^2
};

// Neutron values as tabulated in the reflectometry literature; the x-ray value of silicon is
// r_e times its electron density with f1 = 14.28 at 8 keV.
const KnownSld kKnown[] = {
    {MaterialKind::Element, "Si", Radiation::Neutrons, 2.07e-6},
    {MaterialKind::Element, "Ni", Radiation::Neutrons, 9.41e-6},
    {MaterialKind::Compound, "SiO2 (quartz)", Radiation::Neutrons, 4.18e-6},
    {MaterialKind::Compound, "SiO2", Radiation::Neutrons, 3.47e-6},
    {MaterialKind::Compound, "D2O", Radiation::Neutrons, 6.36e-6},
    {MaterialKind::Compound, "H2O", Radiation::Neutrons, -0.56e-6},
    {MaterialKind::Compound, "d-PS (C8D8)", Radiation::Neutrons, 6.47e-6},
    {MaterialKind::Element, "Si", Radiation::Xrays, 2.01e-5},
};

TEST_F(ShippedTable, AgreesWithKnownDensitiesToOnePercent) {
  for (const KnownSld& known : kKnown) {
    const MaterialSld sld = ComputeMaterialSld(
        ConvertMaterialConstants(find(known.kind, known.name)), known.radiation);
    EXPECT_NEAR(sld.rho, known.rho, 0.01 * std::abs(known.rho)) << known.name;
  }
}

TEST_F(ShippedTable, CompleteRecordsLookUpUnderBothSeparators) {
  for (char separator : {'.', ','}) {
    ScopedDecimalSeparator scoped(separator);
    for (MaterialKind kind : {MaterialKind::Element, MaterialKind::Compound}) {
      for (const StoredMaterial& material : table_.list(kind)) {
        const MaterialRecord& r = material.record;
        if (r.delta.empty() || r.beta.empty() || r.b_coh.empty() || r.abs_xs.empty()) {
          EXPECT_FALSE(r.info1.empty()) << r.name << " lacks values without saying why";
          continue;
        }
        for (Radiation radiation : {Radiation::Neutrons, Radiation::Xrays}) {
          const MaterialSld sld = ComputeMaterialSld(ConvertMaterialConstants(r), radiation);
          EXPECT_GT(sld.imRho, 0.0) << r.name;
        }
      }
    }
  }
}

}  // namespace
}  // namespace quorrel
