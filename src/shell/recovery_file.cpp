#include "shell/recovery_file.h"

#include <charconv>
#include <functional>
#include <map>
#include <vector>

#include "common/number_conversion.h"
#include "common/number_format.h"
#include "model/profile_function.h"

namespace quorrel {

namespace {

constexpr std::string_view kFirstLine = "Quorrel recovery 1";
// The editor holds no more layers; a larger count can only come from a damaged file.
constexpr long long kMaxLayers = 9999;

//! Line breaks and backslashes written as escapes, so that every value is one line.
std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::string Number(double value) { return FormatFull(value, '.'); }

std::optional<long long> Whole(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

//! The named values of the model and the settings, each with how it is written and read.
struct Field {
  std::function<std::string(const RecoveredWork&)> write;
  std::function<bool(RecoveredWork&, std::string_view)> read;
};

//! A whole number, or an enumeration's value, within `lowest` .. `highest`.
template <typename Int>
Field IntegerField(std::function<Int&(RecoveredWork&)> at, long long lowest = -2147483648LL,
                   long long highest = 2147483647LL) {
  return {[at](const RecoveredWork& w) {
            return std::to_string(static_cast<long long>(at(const_cast<RecoveredWork&>(w))));
          },
          [at, lowest, highest](RecoveredWork& w, std::string_view text) {
            const auto value = Whole(text);
            if (!value || *value < lowest || *value > highest) return false;
            at(w) = static_cast<Int>(*value);
            return true;
          }};
}

Field RealField(std::function<double&(RecoveredWork&)> at) {
  return {[at](const RecoveredWork& w) { return Number(at(const_cast<RecoveredWork&>(w))); },
          [at](RecoveredWork& w, std::string_view text) {
            const auto value = LocaleToDouble(text, '.');
            if (!value) return false;
            at(w) = *value;
            return true;
          }};
}

Field TextField(std::function<std::string&(RecoveredWork&)> at) {
  return {[at](const RecoveredWork& w) { return Escaped(at(const_cast<RecoveredWork&>(w))); },
          [at](RecoveredWork& w, std::string_view text) {
            const auto value = Unescaped(text);
            if (!value) return false;
            at(w) = *value;
            return true;
          }};
}

Field FlagField(std::function<bool&(RecoveredWork&)> at) {
  return IntegerField<bool>(std::move(at), 0, 1);
}

#define QUORREL_AT(expression) [](RecoveredWork& w) -> auto& { return w.expression; }

const std::vector<std::pair<std::string, Field>>& Fields() {
  static const std::vector<std::pair<std::string, Field>> fields = [] {
    std::vector<std::pair<std::string, Field>> f = {
        {"savedAt", TextField(QUORREL_AT(savedAt))},
        {"modelFile", TextField(QUORREL_AT(modelFile))},
        {"dataFile", TextField(QUORREL_AT(dataFile))},
        {"projectFile", TextField(QUORREL_AT(projectFile))},
        {"project", TextField(QUORREL_AT(project))},
        {"type", IntegerField<SampleType>(QUORREL_AT(model.type), 1, 4)},
        {"edtLayers", IntegerField<int>(QUORREL_AT(model.edtLayers), 0, kMaxLayers)},
        {"identicalSigmas", FlagField(QUORREL_AT(model.identicalSigmas))},
        {"edtFunctionLayer", IntegerField<int>(QUORREL_AT(model.edtFunctionLayer))},
        {"edtLayerThickness", IntegerField<unsigned>(QUORREL_AT(model.edtLayerThickness))},
        {"edtNumCalcLayers", IntegerField<int>(QUORREL_AT(model.edtNumCalcLayers))},
        {"functionKind", IntegerField<FunctionKind>(QUORREL_AT(model.function.kind), 0, 1)},
        {"builtInIndex", IntegerField<int>(QUORREL_AT(model.function.builtInIndex))},
        {"expression", TextField(QUORREL_AT(model.function.expression))},
        {"comment", TextField(QUORREL_AT(model.function.comment))},
        {"numParameters", IntegerField<int>(QUORREL_AT(model.function.numParameters))},
        {"edtInsertLayer", IntegerField<int>(QUORREL_AT(model.edtInsertLayer))},
        {"edtStackedLayers", IntegerField<int>(QUORREL_AT(model.edtStackedLayers), 1, kMaxLayers)},
        {"edtRepts", IntegerField<int>(QUORREL_AT(model.edtRepts))},
        {"testFunctionEnabled", FlagField(QUORREL_AT(editor.testFunctionEnabled))},
        {"cbUserRange", FlagField(QUORREL_AT(settings.cbUserRange))},
        {"edtminQ", RealField(QUORREL_AT(settings.edtminQ))},
        {"edtMaxQ", RealField(QUORREL_AT(settings.edtMaxQ))},
        {"edtNumPoints", IntegerField<int>(QUORREL_AT(settings.edtNumPoints))},
        {"cbMagnet", FlagField(QUORREL_AT(settings.cbMagnet))},
        {"spinFlip", FlagField(QUORREL_AT(settings.spinFlip.enabled))},
        {"aguide", RealField(QUORREL_AT(settings.spinFlip.aguide))},
        {"field", RealField(QUORREL_AT(settings.spinFlip.field))},
        {"cbTransmission", FlagField(QUORREL_AT(settings.cbTransmission))},
        {"edtWavelength", RealField(QUORREL_AT(settings.edtWavelength))},
        {"edtSampleThickness", RealField(QUORREL_AT(settings.edtSampleThickness))},
        {"cbUserZ", FlagField(QUORREL_AT(settings.cbUserZ))},
        {"edtMinZ", IntegerField<int>(QUORREL_AT(settings.edtMinZ))},
        {"edtMaxZ", IntegerField<int>(QUORREL_AT(settings.edtMaxZ))},
        {"edtNumPointsZ", IntegerField<int>(QUORREL_AT(settings.edtNumPointsZ))},
        {"cbBackground", FlagField(QUORREL_AT(settings.cbBackground))},
        {"background", IntegerField<BackgroundKind>(QUORREL_AT(settings.background), 0, 3)},
        {"edtY0", RealField(QUORREL_AT(settings.edtY0))},
        {"edtM", RealField(QUORREL_AT(settings.edtM))},
        {"edtPeakA", RealField(QUORREL_AT(settings.edtPeakA))},
        {"edtPeakW", RealField(QUORREL_AT(settings.edtPeakW))},
        {"edtPeakXC", RealField(QUORREL_AT(settings.edtPeakXC))},
        {"cbVSelector", FlagField(QUORREL_AT(settings.cbVSelector))},
        {"edtConstantRes", RealField(QUORREL_AT(settings.edtConstantRes))},
        {"edtDistribution", RealField(QUORREL_AT(settings.edtDistribution))},
        {"edtRegions", IntegerField<int>(QUORREL_AT(settings.edtRegions))},
        {"radiation", IntegerField<Radiation>(QUORREL_AT(settings.radiation), 0, 1)},
        {"resolutionFromData", FlagField(QUORREL_AT(settings.resolutionFromData))},
        {"smearing", IntegerField<SmearingKernel>(QUORREL_AT(settings.smearing), 0, 1)},
    };
    for (int i = 0; i < 5; ++i) {
      const auto k = static_cast<std::size_t>(i);
      f.emplace_back("parameterName" + std::to_string(i),
                     TextField([k](RecoveredWork& w) -> auto& {
                       return w.model.function.parameterNames[k];
                     }));
      f.emplace_back("parameter" + std::to_string(i), RealField([k](RecoveredWork& w) -> auto& {
                       return w.model.function.parameters[k];
                     }));
    }
    return f;
  }();
  return fields;
}

#undef QUORREL_AT

//! The grids, each with its visible row count; every stored cell is written, so rows that a
//! smaller count hides come back too.
struct GridEntry {
  const char* name;
  TextGrid& (*grid)(RecoveredWork&);
  //! Columns written and read: the model grids' angle column lies beyond their column count.
  int columns(const TextGrid& cells) const {
    return withThetaM ? kColThetaM + 1 : cells.columnCount();
  }
  bool withThetaM;
};

constexpr GridEntry kGrids[] = {
    {"baseGrid", [](RecoveredWork& w) -> TextGrid& { return w.model.baseGrid; }, true},
    {"mlGrid", [](RecoveredWork& w) -> TextGrid& { return w.model.mlGrid; }, true},
    {"resltnGrid", [](RecoveredWork& w) -> TextGrid& { return w.settings.resltnGrid; }, false},
};

//! Splits "key value" at its first blank.
std::pair<std::string_view, std::string_view> KeyAndValue(std::string_view line) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return {line, {}};
  return {line.substr(0, blank), line.substr(blank + 1)};
}

//! "ROW COLUMN text" of a cell line.
bool ReadCell(TextGrid& grid, int columns, std::string_view rest) {
  const auto [rowText, afterRow] = KeyAndValue(rest);
  const auto [columnText, text] = KeyAndValue(afterRow);
  const auto row = Whole(rowText);
  const auto column = Whole(columnText);
  const auto value = Unescaped(text);
  if (!row || !column || !value || *row < 0 || *column < 0 || *row > 1'000'000 ||
      *column >= columns) {
    return false;
  }
  grid.setCell(static_cast<int>(*row), static_cast<int>(*column), *value);
  return true;
}

//! The counts agree with the grids and lie within the editor's limits.
bool Consistent(const RecoveredWork& work) {
  const SampleModel& m = work.model;
  const auto within = [](long long value, long long lowest, long long highest) {
    return value >= lowest && value <= highest;
  };
  return m.baseGrid.rowCount() == m.edtLayers + 3 &&
         m.mlGrid.rowCount() == m.edtStackedLayers + 1 &&
         work.settings.resltnGrid.rowCount() == work.settings.edtRegions + 1 &&
         within(m.edtFunctionLayer, 0, m.edtLayers) && within(m.edtInsertLayer, 0, m.edtLayers) &&
         within(m.edtRepts, 1, 99) && within(m.edtNumCalcLayers, 0, 199) &&
         within(m.function.numParameters, 0, 5) && within(m.function.builtInIndex, 0, 4) &&
         within(work.settings.edtRegions, 1, 8);
}

}  // namespace

std::string RecoveryText(const RecoveredWork& work) {
  std::string text(kFirstLine);
  text += '\n';
  for (const auto& [name, field] : Fields()) text += name + ' ' + field.write(work) + '\n';
  auto& writable = const_cast<RecoveredWork&>(work);
  for (const GridEntry& entry : kGrids) {
    const TextGrid& grid = entry.grid(writable);
    text += std::string(entry.name) + "Rows " + std::to_string(grid.rowCount()) + '\n';
    for (int row = 0; row < grid.storedRowCount(); ++row) {
      for (int column = 0; column < entry.columns(grid); ++column) {
        const std::string& cell = grid.cell(row, column);
        if (cell.empty()) continue;
        text += std::string(entry.name) + ' ' + std::to_string(row) + ' ' +
                std::to_string(column) + ' ' + Escaped(cell) + '\n';
      }
    }
  }
  text += "end\n";
  return text;
}

std::optional<RecoveredWork> ReadRecoveryText(std::string_view text) {
  std::map<std::string_view, const Field*> fields;
  for (const auto& [name, field] : Fields()) fields.emplace(name, &field);
  RecoveredWork work;
  // Cells come only from the file: the grids start empty.
  for (const GridEntry& entry : kGrids) {
    TextGrid& grid = entry.grid(work);
    grid = TextGrid(grid.columnCount(), 0);
  }
  bool first = true;
  bool ended = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (first) {
      if (line != kFirstLine) return std::nullopt;
      first = false;
      continue;
    }
    if (line == "end") {
      ended = true;
      break;
    }
    const auto [key, value] = KeyAndValue(line);
    if (const auto found = fields.find(key); found != fields.end()) {
      if (!found->second->read(work, value)) return std::nullopt;
      continue;
    }
    bool known = false;
    for (const GridEntry& entry : kGrids) {
      TextGrid& grid = entry.grid(work);
      if (key == entry.name) {
        if (!ReadCell(grid, entry.columns(grid), value)) return std::nullopt;
        known = true;
      } else if (key == std::string(entry.name) + "Rows") {
        const auto rows = Whole(value);
        if (!rows || *rows < 0 || *rows > 1'000'000) return std::nullopt;
        grid.setRowCount(static_cast<int>(*rows));
        known = true;
      }
    }
    if (!known) return std::nullopt;
  }
  // A file cut short by the crash it was meant for, or not written by this program, is not
  // used.
  if (!ended || !Consistent(work)) return std::nullopt;
  if (work.model.function.kind == FunctionKind::UserDefined) CompileUserFunction(work.model);
  return work;
}

}  // namespace quorrel
