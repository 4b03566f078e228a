#pragma once
// The material table as a catalogue for model builders: materials by name, and formulas at a
// given density from the element records.

#include <filesystem>
#include <vector>

#include "database/material_record.h"
#include "model/material_catalogue.h"

namespace quorrel {

//! Answers from a copy of the table's records, so that it needs no open table.
class TableCatalogue : public MaterialCatalogue {
 public:
  explicit TableCatalogue(std::vector<MaterialRecord> records);
  //! All records of the table file; throws DatabaseError when it cannot be read.
  static TableCatalogue Load(const std::filesystem::path& tablePath);

  //! The first record named `name` (elements first), or else the first compound whose name
  //! begins with `name` and a bracket, as "Al2O3 (sapphire)" for "Al2O3". A record whose
  //! values do not convert throws QuorrelError naming it.
  std::optional<LayerSld> byName(const std::string& name, Radiation radiation) const override;
  LayerSld byFormula(const std::string& formula, FormulaDensity density,
                     Radiation radiation) const override;

 private:
  std::vector<MaterialRecord> records_;
};

}  // namespace quorrel
