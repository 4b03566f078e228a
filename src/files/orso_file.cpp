#include "files/orso_file.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

#include "common/error.h"
#include "files/data_set_builder.h"
#include "files/model_file_lines.h"
#include "files/orso_header.h"
#include "files/text_file.h"

namespace quorrel {

namespace {

constexpr std::string_view kFirstLine = "# # ORSO reflectivity data file";

//! One data set as the file lays it out: its header and its rows with their line numbers.
struct Block {
  OrsoHeaderText header;
  std::vector<std::pair<int, std::string_view>> rows;
};

//! The file's text, checked to be ORSO 1.x, cut into its data sets.
struct OrsoText {
  std::string content;
  std::vector<Block> blocks;
};

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

//! "1.0 standard" from "# # ORSO reflectivity data file | 1.0 standard | YAML encoding | ...".
std::string VersionField(std::string_view line) {
  const std::size_t bar = line.find('|');
  if (bar == std::string_view::npos) return {};
  std::string_view field = line.substr(bar + 1);
  field = field.substr(0, field.find('|'));
  const std::size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  field.remove_prefix(first);
  return std::string(field.substr(0, field.find_last_not_of(' ') + 1));
}

OrsoText ReadOrsoText(const std::filesystem::path& path) {
  OrsoText text{ReadTextFile(path, "ORSO file"), {}};
  const std::string file = path.string();
  const std::vector<std::string_view> lines = SplitLines(text.content);
  if (lines.empty() || !lines[0].starts_with(kFirstLine)) {
    throw FileError(file + ": line 1: not an ORSO reflectivity file (its first line must start "
                           "with \"" + std::string(kFirstLine) + "\")");
  }
  const std::string version = VersionField(lines[0]);
  if (!version.starts_with("1.")) {
    throw FileError(file + ": line 1: ORSO format \"" + version +
                    "\" cannot be read (1.x can)");
  }
  text.blocks.emplace_back();
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const int number = static_cast<int>(i) + 1;
    if (line.starts_with('#')) {
      // A header after rows starts the next data set.
      if (!text.blocks.back().rows.empty()) text.blocks.emplace_back();
      std::string_view yaml = line.substr(1);
      if (yaml.starts_with(' ')) yaml.remove_prefix(1);
      text.blocks.back().header.lines.emplace_back(yaml);
      text.blocks.back().header.fileLines.push_back(number);
    } else if (!IsBlank(line)) {
      text.blocks.back().rows.emplace_back(number, line);
    }
  }
  return text;
}

//! The numbers of a row, or the text of the first field that is not one.
struct RowFields {
  std::vector<double> numbers;
  std::string bad;
};

RowFields SplitRow(std::string_view row) {
  RowFields fields;
  std::size_t at = 0;
  while ((at = row.find_first_not_of(" \t", at)) != std::string_view::npos) {
    const std::size_t end = std::min(row.find_first_of(" \t", at), row.size());
    const std::string_view whole = row.substr(at, end - at);
    at = end;
    // from_chars reads "nan" and "inf" but no leading "+".
    const std::string_view field = whole.starts_with('+') ? whole.substr(1) : whole;
    double value = 0;
    const auto [stop, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || stop != field.data() + field.size()) {
      fields.bad = std::string(whole);
      return fields;
    }
    fields.numbers.push_back(value);
  }
  return fields;
}

std::string RowFault(const std::string& file, int line, const RowFields& fields,
                     const OrsoLayout& layout) {
  std::string what = "Ooops...\n" + file + ", line " + std::to_string(line) + ": ";
  if (!fields.bad.empty()) return what + "'" + fields.bad + "' is not a number";
  return what + std::to_string(fields.numbers.size()) + " numbers where the header describes " +
         std::to_string(layout.describedColumns) + " columns";
}

double At(const std::vector<double>& numbers, const OrsoColumn& column) {
  return numbers[static_cast<std::size_t>(column.index)] * column.factor;
}

//! The file's headers read and its data sets cut out.
struct OrsoSets {
  OrsoText text;
  std::vector<OrsoLayout> layouts;
};

OrsoSets ReadOrsoSets(const std::filesystem::path& path) {
  OrsoSets sets{ReadOrsoText(path), {}};
  std::vector<OrsoHeaderText> headers;
  for (const Block& block : sets.text.blocks) headers.push_back(block.header);
  sets.layouts = ReadOrsoLayouts(path.string(), headers);
  return sets;
}

//! Loads one data set into `data`, which is left alone on Abort.
LoadOutcome LoadBlock(const std::filesystem::path& path, const OrsoLayout& layout,
                      const Block& block, MeasuredData& data, LoadQuestions& questions,
                      std::vector<std::string>& notes, const LoadProgress& progress) {
  const std::string file = path.string();
  int needed = std::max(layout.qz.index, layout.r.index);
  if (layout.dr) needed = std::max(needed, layout.dr->index);
  if (layout.sqz) needed = std::max(needed, layout.sqz->index);

  DataSetBuilder loaded(file + ": data set \"" + layout.name + "\"");
  for (const auto& [line, row] : block.rows) {
    const RowFields fields = SplitRow(row);
    const bool readable = fields.bad.empty() && static_cast<int>(fields.numbers.size()) > needed;
    const double qz = readable ? At(fields.numbers, layout.qz) : NAN;
    const double r = readable ? At(fields.numbers, layout.r) : NAN;
    if (!readable || !std::isfinite(qz) || !std::isfinite(r)) {
      const std::string message = readable ? "Ooops...\n" + file + ", line " +
                                                 std::to_string(line) + ": Qz or R is not a number"
                                           : RowFault(file, line, fields, layout);
      if (questions.abortOrIgnore(message) == LoadAnswer::Abort) return LoadOutcome::Aborted;
      continue;
    }
    // Reduced data hold rows with R not above 0 where nothing was counted: dropped, told once.
    const double dr = DataSetBuilder::ErrorOf(layout.dr ? At(fields.numbers, *layout.dr) : 0.0);
    const bool kept = layout.sqz
                          ? loaded.add(line, qz, r, dr, At(fields.numbers, *layout.sqz))
                          : loaded.add(line, qz, r, dr);
    if (kept && progress) progress(loaded.count());
  }

  notes = layout.notes;
  if (loaded.droppedNotPositive() > 0) {
    notes.push_back(std::to_string(loaded.droppedNotPositive()) +
                    " rows with R not above zero dropped (the first in line " +
                    std::to_string(loaded.firstNotPositiveLine()) + ")");
  }
  if (const std::optional<int> line = loaded.firstLineWithoutWidth()) {
    notes.push_back("sQz is not a width in line " + std::to_string(*line) +
                    ": the data carry no resolution");
  }
  data = std::move(loaded).dataSetOf(path);
  return LoadOutcome::Loaded;
}

}  // namespace

OrsoHeaderText OrsoFirstHeader(const std::filesystem::path& path) {
  return ReadOrsoText(path).blocks.front().header;
}

std::vector<std::string> OrsoDataSetNames(const std::filesystem::path& path) {
  std::vector<std::string> names;
  for (const OrsoLayout& layout : ReadOrsoSets(path).layouts) names.push_back(layout.name);
  return names;
}

LoadOutcome LoadOrsoData(const std::filesystem::path& path, int index, MeasuredData& data,
                         LoadQuestions& questions, std::vector<std::string>& notes,
                         const LoadProgress& progress) {
  const OrsoSets sets = ReadOrsoSets(path);
  if (index < 0 || index >= static_cast<int>(sets.layouts.size())) {
    throw FileError(path.string() + ": there is no data set " + std::to_string(index) +
                    " (0 to " + std::to_string(sets.layouts.size() - 1) + ")");
  }
  const auto at = static_cast<std::size_t>(index);
  return LoadBlock(path, sets.layouts[at], sets.text.blocks[at], data, questions, notes,
                   progress);
}

LoadOutcome LoadOrsoDataSets(const std::filesystem::path& path, std::vector<OrsoDataSet>& sets,
                             LoadQuestions& questions) {
  const OrsoSets read = ReadOrsoSets(path);
  std::vector<OrsoDataSet> loaded(read.layouts.size());
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    loaded[i].name = read.layouts[i].name;
    loaded[i].polarization = read.layouts[i].polarization;
    if (LoadBlock(path, read.layouts[i], read.text.blocks[i], loaded[i].data, questions,
                  loaded[i].notes, {}) == LoadOutcome::Aborted) {
      return LoadOutcome::Aborted;
    }
  }
  sets = std::move(loaded);
  return LoadOutcome::Loaded;
}

}  // namespace quorrel
