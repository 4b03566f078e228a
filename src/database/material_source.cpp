#include "database/material_source.h"

#include "common/error.h"
#include "common/number_conversion.h"
#include "database/database_error.h"

namespace quorrel {

namespace {

constexpr std::size_t kFieldCount = 11;

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

std::optional<int> OptionalInteger(const std::string& text, const char* field) {
  if (text.empty()) return std::nullopt;
  if (const auto value = ReadInteger(text)) return value;
  throw FileError(std::string("field '") + field + "' is not an integer: " + text);
}

MaterialRecord ParseRecord(std::string_view line) {
  const std::vector<std::string> f = SplitTabs(line);
  if (f.size() != kFieldCount) {
    throw FileError(std::to_string(f.size()) + " fields instead of " +
                    std::to_string(kFieldCount));
  }
  MaterialRecord record;
  record.name = f[0];
  record.info1 = f[1];
  record.ncharge = OptionalInteger(f[2], "ncharge");
  record.weight = f[3];
  record.density = f[4];
  record.delta = f[5];
  record.beta = f[6];
  record.b_coh = f[7];
  record.abs_xs = f[8];
  const auto kind = MaterialKindFromText(f[9]);
  if (!kind) throw FileError("type is neither ELEMENT nor COMPOUND: " + f[9]);
  record.type = *kind;
  record.ID = OptionalInteger(f[10], "ID");
  try {
    ValidateMaterialRecord(record);
  } catch (const DatabaseError& error) {
    throw FileError(error.what());
  }
  return record;
}

}  // namespace

std::vector<MaterialRecord> ParseMaterialSource(std::string_view text,
                                                const std::string& sourceName) {
  std::vector<MaterialRecord> records;
  bool columnsSeen = false;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    try {
      if (!columnsSeen) {
        if (line != kMaterialSourceColumns) throw FileError("the column line is not as expected");
        columnsSeen = true;
      } else {
        records.push_back(ParseRecord(line));
      }
    } catch (const FileError& error) {
      throw FileError(sourceName + " line " + std::to_string(lineNumber) + ": " + error.what());
    }
  }
  if (!columnsSeen) throw FileError(sourceName + ": no column line");
  return records;
}

}  // namespace quorrel
