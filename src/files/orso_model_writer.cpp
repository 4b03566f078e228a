#include "files/orso_model_writer.h"

#include <cmath>
#include <set>
#include <vector>

#include "files/orso_model_values.h"
#include "model/cell_values.h"
#include "model/layer_stack_builder.h"

namespace quorrel {

namespace {

//! One row of a grid as numbers.
struct Row {
  std::string label;
  double thickness = 0;
  double rho = 0;
  double imRho = 0;
  double sigma = 0;
  double magRe = 0;
  double magIm = 0;
};

Row ReadRow(const TextGrid& grid, const char* name, int row, bool thickness, bool sigma) {
  const auto number = [&](int column) { return CellNumber(grid, name, row, column); };
  return {grid.cell(row, kColLabel),
          thickness ? std::fabs(number(kColThickness)) : 0.0,
          number(kColRho),
          number(kColImRho),
          sigma ? number(kColSigma) : 0.0,
          number(kColMagRe),
          number(kColMagIm)};
}


//! A label can name its layer in the stack when it has no blank and no character the stack
//! gives a meaning to.
bool Nameable(const std::string& label) {
  return !label.empty() && label.find_first_of(" \t\r\n|()") == std::string::npos;
}

//! Writes the layers under unique names, in stack order.
class StackWriter {
 public:
  //! The stack name of a new layer: its label when that can serve, else `fallback`.
  std::string add(const Row& row, const std::string& fallback, bool thickness, bool roughness) {
    std::string name = Nameable(row.label) && !names_.contains(row.label) ? row.label : fallback;
    for (int n = 2; names_.contains(name); ++n) name = fallback + "_" + std::to_string(n);
    names_.insert(name);
    std::string entry = "  " + QuotedYaml(name) + ": {";
    if (thickness) entry += "thickness: " + YamlNumber(row.thickness) + ", ";
    if (roughness) entry += "roughness: " + YamlNumber(row.sigma) + ", ";
    entry += "material: {sld: {real: " + YamlNumber(row.rho) + ", imag: " + YamlNumber(row.imRho) + "}";
    if (row.magRe != 0 || row.magIm != 0) {
      entry += ", magnetic_sld: {real: " + YamlNumber(row.magRe) + ", imag: " + YamlNumber(row.magIm) + "}";
    }
    layers_ += entry + "}}\n";
    return name;
  }

  std::string text(const std::vector<std::string>& stack) const {
    std::string joined;
    for (const std::string& item : stack) joined += (joined.empty() ? "" : " | ") + item;
    return "stack: " + QuotedYaml(joined) + "\nlayers:\n" + layers_ +
           "globals: {length_unit: angstrom, sld_unit: 1/angstrom^2}\n";
  }

 private:
  std::set<std::string> names_;
  std::string layers_;
};

}  // namespace

std::optional<std::string> OrsoModelText(const SampleModel& model) {
  if (model.type == SampleType::ProfileFunction) return std::nullopt;
  const TextGrid& base = model.baseGrid;
  const int n = model.edtLayers;
  StackWriter writer;
  std::vector<std::string> stack;
  const auto layer = [&](const Row& row, const std::string& fallback) {
    stack.push_back(writer.add(row, fallback, true, true));
  };
  const auto baseRow = [&](int j) { return ReadRow(base, kBaseGridName, j + 1, true, true); };
  const Row ambient = ReadRow(base, kBaseGridName, 1, false, false);
  stack.push_back(writer.add(ambient, "fronting", false, false));

  if (model.type == SampleType::SymmetricFilm) {
    // The film lies in the ambient medium: the upper half, the core, the mirrored half.
    for (int j = 1; j <= n; ++j) layer(baseRow(j), "layer_" + std::to_string(j));
    layer(ReadRow(base, kBaseGridName, model.lastRow(), true, true), "core");
    for (int j = n; j >= 1; --j) {
      Row mirror = baseRow(j);
      mirror.sigma = CellNumber(base, kBaseGridName, j + 2, kColSigma);
      layer(mirror, "mirror_" + std::to_string(j));
    }
    Row below = ambient;
    below.sigma = CellNumber(base, kBaseGridName, 2, kColSigma);
    stack.push_back(writer.add(below, "backing", false, true));
    return writer.text(stack);
  }

  const bool multilayer = model.type == SampleType::MultipleLayers;
  const int insertAfter = multilayer ? model.edtInsertLayer : n;
  for (int j = 1; j <= insertAfter; ++j) layer(baseRow(j), "layer_" + std::to_string(j));
  if (multilayer) {
    std::string block = std::to_string(model.edtRepts) + " (";
    for (int q = 1; q <= model.edtStackedLayers; ++q) {
      Row row = ReadRow(model.mlGrid, kMLGridName, q, true, true);
      // The period's rows are numbered from 1 like the layers: named apart from them.
      if (row.label.find_first_not_of("0123456789") == std::string::npos) row.label.clear();
      block += (q == 1 ? " " : " | ") + writer.add(row, "period_" + std::to_string(q), true, true);
    }
    stack.push_back(block + " )");
  }
  for (int j = insertAfter + 1; j <= n; ++j) layer(baseRow(j), "layer_" + std::to_string(j));
  stack.push_back(writer.add(ReadRow(base, kBaseGridName, model.lastRow(), false, true),
                             "backing", false, true));
  return writer.text(stack);
}

}  // namespace quorrel
