#include "database/material_lists.h"

#include "database/database_error.h"
#include "database/material_table.h"

namespace quorrel {

MaterialLists LoadMaterialLists(const std::filesystem::path& tablePath) {
  MaterialLists lists;
  try {
    MaterialTable table;
    table.open(tablePath, TableAccess::ReadOnly);
    for (const StoredMaterial& material : table.list(MaterialKind::Element)) {
      lists.elements.push_back(MaterialCaption(material.record));
    }
    for (const StoredMaterial& material : table.list(MaterialKind::Compound)) {
      lists.compounds.push_back(MaterialCaption(material.record));
    }
  } catch (const DatabaseError& error) {
    lists.failure = kBadTableMessage;
    lists.reason = error.what();
  }
  return lists;
}

}  // namespace quorrel
