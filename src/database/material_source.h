#pragma once
// The committed text source of the shipped material table: tab-separated records.

#include <string>
#include <string_view>
#include <vector>

#include "database/material_record.h"

namespace quorrel {

//! The source's column line: the field names in table order, tab-separated.
inline constexpr std::string_view kMaterialSourceColumns =
    "name\tinfo1\tncharge\tweight\tdensity\tdelta\tbeta\tb_coh\tabs_xs\ttype\tID";

//! Reads the source: lines starting with "#" and empty lines are skipped, the first other
//! line is kMaterialSourceColumns, every following one a record with all eleven fields (an
//! empty field is an empty value). Each record must pass ValidateMaterialRecord. Throws
//! FileError naming `sourceName` and the line.
std::vector<MaterialRecord> ParseMaterialSource(std::string_view text,
                                                const std::string& sourceName);

}  // namespace quorrel
