#include "files/orso_header.h"

#include <cmath>
#include <numbers>

#include <yaml-cpp/yaml.h>

#include "common/error.h"

namespace quorrel {

namespace {

//! The standard deviation of a distribution whose full width at half maximum is 1.
double SigmaPerFwhm(const std::string& distribution) {
  if (distribution == "rectangular" || distribution == "uniform") return 1 / std::sqrt(12.0);
  if (distribution == "triangular") return 1 / std::sqrt(6.0);
  return 1 / (2 * std::sqrt(2 * std::numbers::ln2));  // gaussian
}

//! Reads one header and maps YAML's lines back to the file's.
class HeaderReader {
 public:
  HeaderReader(const std::string& file, const OrsoHeaderText& text) : file_(file), text_(text) {}

  YAML::Node parse() const {
    std::string yaml;
    for (const std::string& line : text_.lines) yaml.append(line).append("\n");
    YAML::Node node;
    try {
      node = YAML::Load(yaml);
    } catch (const YAML::Exception& error) {
      fail(error.mark.line, "the header is not YAML: " + error.msg);
    }
    if (!node.IsMap() && !node.IsNull()) fail(0, "the header is not a set of \"key: value\" lines");
    return node;
  }

  [[noreturn]] void fail(int yamlLine, const std::string& what) const {
    throw FileError(file_ + ": line " + std::to_string(fileLine(yamlLine)) + ": " + what);
  }
  [[noreturn]] void fail(const YAML::Node& node, const std::string& what) const {
    fail(node.Mark().is_null() ? 0 : node.Mark().line, what);
  }

 private:
  int fileLine(int yamlLine) const {
    if (text_.fileLines.empty()) return 0;
    const auto at = static_cast<std::size_t>(yamlLine < 0 ? 0 : yamlLine);
    return text_.fileLines[std::min(at, text_.fileLines.size() - 1)];
  }

  const std::string& file_;
  const OrsoHeaderText& text_;
};

//! `base` with what `update` names replaced, maps merged key by key; `base` is not changed.
YAML::Node Merged(const YAML::Node& base, const YAML::Node& update) {
  if (update.IsNull()) return base;
  if (!base.IsMap() || !update.IsMap()) return update;
  YAML::Node merged(YAML::NodeType::Map);
  for (const auto& entry : base) merged[entry.first.Scalar()] = entry.second;
  for (const auto& entry : update) {
    const std::string key = entry.first.Scalar();
    merged[key] = merged[key] ? Merged(merged[key], entry.second) : entry.second;
  }
  return merged;
}

std::string Text(const YAML::Node& map, const char* key) {
  const YAML::Node value = map[key];
  return value && value.IsScalar() ? value.Scalar() : std::string();
}

//! What a (merged) header's instrument settings say of the polarisation; "" for nothing.
std::string PolarizationOf(const YAML::Node& header) {
  // A missing key gives a node that throws when asked its type: every step checks first.
  const auto child = [](const YAML::Node& map, const char* key) {
    return map && map.IsMap() ? map[key] : YAML::Node(YAML::NodeType::Undefined);
  };
  const YAML::Node settings =
      child(child(child(header, "data_source"), "measurement"), "instrument_settings");
  return settings && settings.IsMap() ? Text(settings, "polarization") : std::string();
}

//! Reads the column list of one (merged) header.
class ColumnReader {
 public:
  ColumnReader(const HeaderReader& reader, const YAML::Node& header)
      : reader_(reader), header_(header) {}

  OrsoLayout read(const std::string& name) {
    OrsoLayout layout;
    layout.name = name;
    const YAML::Node columns = header_["columns"];
    if (!columns || !columns.IsSequence() || columns.size() == 0) {
      reader_.fail(columns ? columns : header_, "the header describes no columns (\"columns:\")");
    }
    layout.describedColumns = static_cast<int>(columns.size());
    std::string qzName, rName;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const YAML::Node column = columns[i];
      if (!column.IsMap()) reader_.fail(column, "column " + std::to_string(i + 1) + " has no name");
      const std::string quantity = Text(column, "physical_quantity");
      const std::string columnName = Text(column, "name");
      if (qzName.empty() && (columnName == "Qz" || quantity == "normal_wavevector_transfer" ||
                             quantity == "normal_momentum_transfer")) {
        qzName = columnName;
        layout.qz = {static_cast<int>(i), qUnitFactor(column)};
      } else if (rName.empty() && (columnName == "R" || quantity == "reflectivity")) {
        rName = columnName;
        layout.r = {static_cast<int>(i), 1.0};
      }
    }
    if (qzName.empty()) reader_.fail(columns, "no column holds Qz (name: Qz)");
    if (rName.empty()) reader_.fail(columns, "no column holds R (name: R)");
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const YAML::Node column = columns[i];
      const bool measured = static_cast<int>(i) == layout.qz.index ||
                            static_cast<int>(i) == layout.r.index;
      const ErrorOf of = measured ? ErrorOf::None : errorOf(column, i, qzName, rName);
      if (of == ErrorOf::R && !layout.dr) {
        layout.dr = {static_cast<int>(i), widthFactor(column, layout, "sR")};
      } else if (of == ErrorOf::Qz && !layout.sqz) {
        const double factor = widthFactor(column, layout, "sQz");
        // Without a unit of its own the width is in Qz's.
        const double unit = Text(column, "unit").empty() ? layout.qz.factor
                                                         : qUnitFactor(column, "sQz");
        if (factor > 0) layout.sqz = {static_cast<int>(i), factor * unit};
      }
    }
    if (!layout.dr) layout.notes.push_back("the file gives no error of R: dR is 0");
    return layout;
  }

 private:
  double qUnitFactor(const YAML::Node& column, const char* label = "Qz") const {
    const std::string unit = Text(column, "unit");
    if (unit.empty() || unit == "1/angstrom") return 1.0;
    if (unit == "1/nm") return 0.1;
    reader_.fail(column, std::string(label) + " in '" + unit +
                             "' cannot be read (1/angstrom or 1/nm)");
  }

  enum class ErrorOf { None, Qz, R };

  //! An explicit error_of decides; without one the standard's names sR and sQz do, and a
  //! third or fourth column without a name stands for them by its position.
  static ErrorOf errorOf(const YAML::Node& column, std::size_t index, const std::string& qzName,
                         const std::string& rName) {
    if (column["error_of"]) {
      const std::string of = Text(column, "error_of");
      return of == rName ? ErrorOf::R : of == qzName ? ErrorOf::Qz : ErrorOf::None;
    }
    const std::string name = Text(column, "name");
    if (name == "sR" || (name.empty() && index == 2)) return ErrorOf::R;
    if (name == "sQz" || (name.empty() && index == 3)) return ErrorOf::Qz;
    return ErrorOf::None;
  }

  //! The factor to one standard deviation; 0 for a width that has none (lorentzian).
  double widthFactor(const YAML::Node& column, OrsoLayout& layout, const char* label) const {
    const std::string valueIs = Text(column, "value_is");
    const std::string distribution = Text(column, "distribution");
    if (distribution == "lorentzian") {
      layout.notes.push_back(std::string("the ") + label +
                             " column is a lorentzian width, which has no standard deviation: "
                             "it is not used");
      return 0;
    }
    if (valueIs.empty() || valueIs == "sigma") return 1.0;
    if (valueIs == "FWHM") return SigmaPerFwhm(distribution);
    reader_.fail(column, std::string("the ") + label + " column's value_is '" + valueIs +
                             "' cannot be read (sigma or FWHM)");
  }

  const HeaderReader& reader_;
  const YAML::Node& header_;
};

}  // namespace

std::vector<OrsoLayout> ReadOrsoLayouts(const std::string& file,
                                        const std::vector<OrsoHeaderText>& headers) {
  std::vector<OrsoLayout> layouts;
  YAML::Node first;
  for (std::size_t i = 0; i < headers.size(); ++i) {
    const HeaderReader reader(file, headers[i]);
    const YAML::Node own = reader.parse();
    if (i == 0) first = own;
    const YAML::Node header = i == 0 ? own : Merged(first, own);
    std::string name = std::to_string(i);
    if (const YAML::Node set = own.IsMap() ? own["data_set"] : YAML::Node();
        set && set.IsScalar() && !set.Scalar().empty()) {
      name = set.Scalar();
    }
    try {
      layouts.push_back(ColumnReader(reader, header).read(name));
      layouts.back().polarization = PolarizationOf(header);
    } catch (const YAML::Exception& error) {
      reader.fail(error.mark.line, "the header cannot be read: " + error.msg);
    }
  }
  return layouts;
}

}  // namespace quorrel
