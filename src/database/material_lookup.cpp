#include "database/material_lookup.h"

#include "database/material_sld.h"
#include "database/material_table.h"
#include "model/sample_model.h"

namespace quorrel {

void ApplyMaterial(const MaterialRecord& record, Radiation radiation, TextGrid& grid, int row) {
  const MaterialConstants constants = ConvertMaterialConstants(record);
  grid.setCell(row, kColLabel, record.name);
  const MaterialSld sld = ComputeMaterialSld(constants, radiation);
  grid.setCell(row, kColRho, FormatSld(sld.rho));
  grid.setCell(row, kColImRho, FormatSld(sld.imRho));
}

void LookUpMaterial(const std::filesystem::path& tablePath, MaterialKind kind, int position,
                    Radiation radiation, TextGrid& grid, int row) {
  MaterialRecord record;
  {
    MaterialTable table;
    table.open(tablePath, TableAccess::ReadOnly);
    record = table.recordAt(kind, position).record;
  }
  ApplyMaterial(record, radiation, grid, row);
}

}  // namespace quorrel
