#include "files/layer_table_file.h"

#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "common/number_conversion.h"
#include "common/number_format.h"
#include "files/text_file.h"
#include "model/editor_fields.h"

namespace quorrel {

namespace {

constexpr double kDensityUnit = 1e-6;  // Å⁻² per unit of the table

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

//! The blank-separated fields of a line.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    const std::size_t begin = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    if (at > begin) fields.push_back(line.substr(begin, at - begin));
  }
  return fields;
}

}  // namespace

LayerTable ReadLayerTable(const std::filesystem::path& path) {
  const std::string text = ReadTextFile(path, "layer table");
  const auto fail = [&](int line, const std::string& what) {
    throw FileError("The layer table \"" + path.string() + "\", line " + std::to_string(line) +
                    ": " + what);
  };
  LayerTable table;
  std::size_t width = 0;
  std::string_view rest = WithoutByteOrderMark(text);
  std::string_view line;
  int lineNumber = 0;
  while (NextLine(rest, line)) {
    ++lineNumber;
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.empty() || fields.front().front() == '#') continue;
    if (fields.size() != 4 && fields.size() != 6) {
      fail(lineNumber,
           "a medium is 4 numbers (thickness, sld, isld, roughness) or 6 (thickness, "
           "sld, mu, thetaM, sldm, roughness), not " +
               std::to_string(fields.size()));
    }
    if (width != 0 && fields.size() != width) {
      fail(lineNumber,
           std::to_string(fields.size()) + " numbers after rows of " + std::to_string(width));
    }
    width = fields.size();
    std::vector<double> numbers;
    for (std::string_view field : fields) {
      // The suite's files are written with a decimal point, whatever the user's locale.
      const std::optional<double> value = LocaleToDouble(field, '.');
      if (!value) {
        std::string what = "\"";
        what += field;
        what += "\" is not a number";
        fail(lineNumber, what);
      }
      numbers.push_back(*value);
    }
    MagneticMedium medium;
    medium.thickness = numbers[0];
    medium.rho = numbers[1] * kDensityUnit;
    medium.imRho = numbers[2] * kDensityUnit;
    if (width == 6) {
      medium.thetaM = numbers[3];
      medium.magneticRho = numbers[4] * kDensityUnit;
    }
    medium.sigma = numbers[width - 1];
    table.stack.media.push_back(medium);
  }
  if (table.stack.media.size() < 2) {
    throw FileError("The layer table \"" + path.string() +
                    "\" needs a fronting and a backing medium, one row each");
  }
  MagneticMedium& fronting = table.stack.media.front();
  fronting.thickness = fronting.imRho = fronting.sigma = 0;
  table.stack.media.back().thickness = 0;
  table.form = width == 6 ? LayerTableForm::Polarised : LayerTableForm::Unpolarised;
  return table;
}


SampleModel ModelOfLayerTable(const SpinFlipStack& stack) {
  SampleModel model;
  const int n = stack.layerCount();
  SetLayerCount(model, n);
  for (int j = 0; j <= n + 1; ++j) {
    const MagneticMedium& medium = stack.media[static_cast<std::size_t>(j)];
    const int row = j + 1;
    const bool layer = j >= 1 && j <= n;
    TextGrid& grid = model.baseGrid;
    grid.setCell(row, kColThickness, layer ? FormatGeneral(medium.thickness) : "N/A");
    grid.setCell(row, kColRho, FormatGeneral(medium.rho));
    grid.setCell(row, kColImRho, FormatGeneral(medium.imRho));
    grid.setCell(row, kColSigma, j == 0 ? "N/A" : FormatGeneral(medium.sigma));
    grid.setCell(row, kColMagRe, FormatGeneral(medium.magneticRho));
    grid.setCell(row, kColMagIm, "0");
    grid.setCell(row, kColThetaM, FormatGeneral(medium.thetaM));
    // Numbered as the editor numbers layers added one by one.
    if (layer) grid.setCell(row, kColLabel, std::to_string(j));
  }
  return model;
}

}  // namespace quorrel
