#include "database/table_catalogue.h"

#include "database/chemical_formula.h"
#include "database/material_sld.h"
#include "database/material_table.h"

namespace quorrel {

namespace {

LayerSld SldOf(const MaterialConstants& constants, Radiation radiation) {
  const MaterialSld sld = ComputeMaterialSld(constants, radiation);
  return {sld.rho, sld.imRho};
}

MaterialConstants ConstantsOf(const MaterialRecord& record) {
  try {
    return ConvertMaterialConstants(record);
  } catch (const MaterialValueError& error) {
    throw QuorrelError("the material table's " + record.name + ", field '" + error.field() +
                       "': " + error.what());
  }
}

}  // namespace

TableCatalogue::TableCatalogue(std::vector<MaterialRecord> records)
    : records_(std::move(records)) {}

TableCatalogue TableCatalogue::Load(const std::filesystem::path& tablePath) {
  MaterialTable table;
  table.open(tablePath, TableAccess::ReadOnly);
  std::vector<MaterialRecord> records;
  for (MaterialKind kind : {MaterialKind::Element, MaterialKind::Compound}) {
    for (StoredMaterial& stored : table.list(kind)) records.push_back(std::move(stored.record));
  }
  return TableCatalogue(std::move(records));
}

std::optional<LayerSld> TableCatalogue::byName(const std::string& name,
                                               Radiation radiation) const {
  const MaterialRecord* found = nullptr;
  for (MaterialKind kind : {MaterialKind::Element, MaterialKind::Compound}) {
    for (const MaterialRecord& record : records_) {
      if (!found && record.type == kind && record.name == name) found = &record;
    }
  }
  for (const MaterialRecord& record : records_) {
    if (!found && record.type == MaterialKind::Compound && record.name.starts_with(name + " (")) {
      found = &record;
    }
  }
  if (!found) return std::nullopt;
  return SldOf(ConstantsOf(*found), radiation);
}

LayerSld TableCatalogue::byFormula(const std::string& formula, FormulaDensity density,
                                   Radiation radiation) const {
  const ElementConstants elements =
      [this](const std::string& symbol) -> std::optional<MaterialConstants> {
    for (const MaterialRecord& record : records_) {
      if (record.type == MaterialKind::Element && record.name == symbol) return ConstantsOf(record);
    }
    return std::nullopt;
  };
  const std::vector<FormulaPart> parts = ParseFormula(formula);
  double massDensity = density.value;
  if (density.kind == FormulaDensity::Kind::Number) {
    // The weight of a formula unit comes from the same sums; its density does not matter.
    massDensity = MassDensityOf(density.value, CompoundConstants(parts, 1.0, elements).weight);
  }
  if (!(massDensity > 0)) throw QuorrelError("the density is not above 0");
  return SldOf(CompoundConstants(parts, massDensity, elements), radiation);
}

}  // namespace quorrel
