#include "files/column_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "common/error.h"
#include "common/text_case.h"
#include "files/data_set_builder.h"
#include "files/model_file_lines.h"
#include "files/text_file.h"

namespace quorrel {

namespace {

constexpr int kPreviewLines = 20;

struct RoleName {
  ColumnRole role;
  const char* name;
};
constexpr RoleName kRoleNames[] = {{ColumnRole::Qz, "q"},     {ColumnRole::Theta, "theta"},
                                   {ColumnRole::TwoTheta, "2theta"}, {ColumnRole::R, "R"},
                                   {ColumnRole::DR, "dR"},    {ColumnRole::SQz, "sQz"},
                                   {ColumnRole::Skip, "skip"}};

//! The numbers of a line, or nothing when a field is not one.
std::optional<std::vector<double>> Numbers(std::string_view line, bool decimalComma) {
  std::vector<double> numbers;
  std::string field;
  std::size_t at = 0;
  const char* separators = decimalComma ? " \t;" : " \t,;";
  while ((at = line.find_first_not_of(separators, at)) != std::string_view::npos) {
    const std::size_t end = std::min(line.find_first_of(separators, at), line.size());
    field.assign(line.substr(at, end - at));
    at = end;
    if (decimalComma) std::replace(field.begin(), field.end(), ',', '.');
    const char* first = field.data() + (field.starts_with('+') ? 1 : 0);
    double value = 0;
    const auto [stop, error] = std::from_chars(first, field.data() + field.size(), value);
    if (error != std::errc() || stop != field.data() + field.size()) return std::nullopt;
    numbers.push_back(value);
  }
  return numbers;
}

//! The index of the column with `role`, if any; QuorrelError when two have it.
std::optional<std::size_t> ColumnOf(const ColumnMapping& mapping, ColumnRole role) {
  std::optional<std::size_t> found;
  for (std::size_t i = 0; i < mapping.roles.size(); ++i) {
    if (mapping.roles[i] != role) continue;
    if (found) {
      throw QuorrelError("two columns are marked " + ColumnRolesText({role}));
    }
    found = i;
  }
  return found;
}

}  // namespace

std::optional<std::vector<ColumnRole>> ReadColumnRoles(std::string_view text) {
  std::vector<ColumnRole> roles;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string_view name = text.substr(start, comma - start);
    const auto known = std::find_if(std::begin(kRoleNames), std::end(kRoleNames),
                                    [name](const RoleName& r) { return EqualIgnoringCase(r.name, name); });
    if (known == std::end(kRoleNames)) return std::nullopt;
    roles.push_back(known->role);
    start = comma + 1;
  }
  return roles;
}

std::string ColumnRolesText(const std::vector<ColumnRole>& roles) {
  std::string text;
  for (const ColumnRole role : roles) {
    if (!text.empty()) text += ',';
    for (const RoleName& r : kRoleNames) {
      if (r.role == role) text += r.name;
    }
  }
  return text;
}

ColumnMapping StartingMapping(int columnCount, const ColumnMapping& remembered) {
  ColumnMapping mapping = remembered;
  if (mapping.roles.empty()) {
    mapping.roles = {ColumnRole::Qz, ColumnRole::R, ColumnRole::DR, ColumnRole::SQz};
  }
  mapping.roles.resize(static_cast<std::size_t>(std::max(columnCount, 0)), ColumnRole::Skip);
  return mapping;
}

TextTable ReadTextTable(const std::filesystem::path& path) {
  const std::string content = ReadTextFile(path, "data file");
  const std::vector<std::string_view> lines = SplitLines(content);
  // Where semicolons separate, a comma is a decimal comma.
  const bool decimalComma = content.find(';') != std::string::npos;
  TextTable table;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (static_cast<int>(i) < kPreviewLines) table.firstLines.emplace_back(lines[i]);
    const std::optional<std::vector<double>> numbers = Numbers(lines[i], decimalComma);
    if (numbers && numbers->empty()) continue;  // blank
    if (!numbers || numbers->size() < 2) {
      ++table.skippedLines;
      continue;
    }
    table.columnCount = std::max(table.columnCount, static_cast<int>(numbers->size()));
    table.rows.push_back(*numbers);
    table.rowLines.push_back(static_cast<int>(i) + 1);
  }
  return table;
}

namespace {

//! The rows of `table` under `mapping` into `points`; returns the count of rows too short for
//! the mapping or with Qz or R not a number.
int ConvertRows(const TextTable& table, const ColumnMapping& mapping, DataSetBuilder& points) {
  const std::optional<std::size_t> q = ColumnOf(mapping, ColumnRole::Qz);
  const std::optional<std::size_t> theta = ColumnOf(mapping, ColumnRole::Theta);
  const std::optional<std::size_t> twoTheta = ColumnOf(mapping, ColumnRole::TwoTheta);
  const std::optional<std::size_t> r = ColumnOf(mapping, ColumnRole::R);
  const std::optional<std::size_t> dr = ColumnOf(mapping, ColumnRole::DR);
  const std::optional<std::size_t> sqz = ColumnOf(mapping, ColumnRole::SQz);
  if (int(q.has_value()) + int(theta.has_value()) + int(twoTheta.has_value()) != 1) {
    throw QuorrelError("mark one column as q, theta or 2theta");
  }
  if (!r) throw QuorrelError("mark one column as R");
  const std::size_t x = q ? *q : theta ? *theta : *twoTheta;
  const double qFactor = mapping.qUnit == QUnit::InverseNanometre ? 0.1 : 1.0;
  // A gaussian's FWHM is 2·√(2 ln 2) standard deviations.
  const double sigmaFactor =
      mapping.sqzWidth == SqzWidth::Fwhm ? 1 / (2 * std::sqrt(2 * std::numbers::ln2)) : 1.0;
  // Qz = 4π/λ · sin θ, with θ in degrees.
  const double angleFactor = 4 * std::numbers::pi / mapping.wavelength;
  const double degree = std::numbers::pi / 180 / (twoTheta ? 2 : 1);

  std::size_t needed = std::max(x, *r);
  if (dr) needed = std::max(needed, *dr);
  if (sqz) needed = std::max(needed, *sqz);
  int unusableRows = 0;
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const std::vector<double>& row = table.rows[i];
    const int line = i < table.rowLines.size() ? table.rowLines[i] : 0;
    if (row.size() <= needed) {
      ++unusableRows;
      continue;
    }
    const double qz = q ? row[x] * qFactor : angleFactor * std::sin(row[x] * degree);
    const double reflectivity = row[*r];
    if (!std::isfinite(qz) || !std::isfinite(reflectivity)) {
      ++unusableRows;
      continue;
    }
    const double error = DataSetBuilder::ErrorOf(dr ? row[*dr] : 0.0);
    if (sqz) {
      points.add(line, qz, reflectivity, error, std::fabs(row[*sqz]) * qFactor * sigmaFactor);
    } else {
      points.add(line, qz, reflectivity, error);
    }
  }
  return unusableRows;
}

}  // namespace

ImportedPoints ConvertTable(const TextTable& table, const ColumnMapping& mapping) {
  DataSetBuilder builder(std::nullopt);
  ImportedPoints points;
  points.unusableRows = ConvertRows(table, mapping, builder);
  points.droppedNotPositive = builder.droppedNotPositive();
  points.data = std::move(builder).points();
  return points;
}

MeasuredData ImportMeasuredData(const std::filesystem::path& path, const ColumnMapping& mapping,
                                std::vector<std::string>& notes) {
  const TextTable table = ReadTextTable(path);
  DataSetBuilder builder("The data file \"" + path.string() + "\"");
  const int unusableRows = ConvertRows(table, mapping, builder);
  notes.clear();
  const auto count = [&notes](int n, const char* what) {
    if (n > 0) notes.push_back(std::to_string(n) + " " + what);
  };
  count(table.skippedLines, "comment or header lines skipped");
  count(unusableRows, "rows without Qz or R skipped");
  count(builder.droppedNotPositive(), "rows with R not above zero dropped");
  return std::move(builder).dataSetOf(path);
}

}  // namespace quorrel
