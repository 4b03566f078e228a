#include "files/orso_model.h"

#include <algorithm>
#include <set>

#include <yaml-cpp/yaml.h>

#include "common/error.h"
#include "common/number_format.h"
#include "files/orso_file.h"
#include "files/orso_model_values.h"

namespace quorrel {

namespace {

constexpr int kMostLayers = 9998;      // what the recursion takes
constexpr int kMostNodes = 200000;     // items built, against sub-stacks that multiply
constexpr int kDeepestReference = 32;  // sub-stacks within sub-stacks
constexpr int kMostInBlock = 99;       // layers of a multilayer period, and its repetitions

//! One layer with every value known: lengths in Å, densities in Å⁻².
struct Layer {
  std::string name;
  double thickness = 0.0;
  double roughness = 0.0;
  LayerSld sld;
};

//! A layer, or a block of items repeated.
struct Item {
  Layer layer;
  int repetitions = 0;  //!< 0 for a layer
  std::vector<Item> block;
};

YAML::Node Child(const YAML::Node& map, const std::string& key) {
  return map.IsDefined() && map.IsMap() ? map[key] : YAML::Node(YAML::NodeType::Undefined);
}

bool Given(const YAML::Node& node) { return node.IsDefined() && !node.IsNull(); }

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

//! Refuses the keys of `map` that the language does not define for `what`.
void OnlyKeys(const YAML::Node& map, const std::set<std::string>& keys, const std::string& what) {
  for (const auto& entry : map) {
    const std::string key = TextOf(entry.first);
    if (!keys.contains(key)) {
      FailAt(entry.first, what + ": '" + key + "' is not a key of the model language here");
    }
  }
}

//! Builds the items of a model's stack, resolving the names it uses.
class ModelResolver {
 public:
  ModelResolver(const YAML::Node& model, Radiation radiation, const MaterialCatalogue& catalogue)
      : model_(model),
        units_(ReadOrsoUnits(Child(model, "globals"))),
        radiation_(radiation),
        catalogue_(catalogue) {
    for (const char* section : {"sub_stacks", "layers", "materials", "composits"}) {
      const YAML::Node entries = Child(model, section);
      if (Given(entries) && !entries.IsMap()) {
        FailAt(entries, std::string(section) + " is not a set of \"name: ...\" entries");
      }
    }
  }

  std::vector<Item> stack(const YAML::Node& where, const std::string& text, int depth) {
    if (depth > kDeepestReference) FailAt(where, "the sub-stacks refer to each other in a circle");
    std::vector<Item> items;
    for (const std::string& piece : splitStack(where, text)) items.push_back(item(where, piece, depth));
    return items;
  }

  bool usedTable() const { return usedTable_; }

 private:
  //! The stack's items at its top level: "|" inside parentheses belongs to a block.
  static std::vector<std::string> splitStack(const YAML::Node& where, const std::string& text) {
    std::vector<std::string> pieces;
    int open = 0;
    std::string piece;
    for (const char c : text) {
      if (c == '(') ++open;
      if (c == ')' && --open < 0) FailAt(where, "the stack \"" + text + "\" closes a ')' it never opened");
      if (c == '|' && open == 0) {
        pieces.push_back(Trimmed(piece));
        piece.clear();
      } else {
        piece += c;
      }
    }
    if (open != 0) FailAt(where, "the stack \"" + text + "\" leaves a '(' open");
    pieces.push_back(Trimmed(piece));
    for (const std::string& p : pieces) {
      if (p.empty()) FailAt(where, "the stack \"" + text + "\" has an empty item");
    }
    return pieces;
  }

  Item item(const YAML::Node& where, const std::string& piece, int depth) {
    count();
    if (const std::size_t open = piece.find('('); open != std::string::npos) {
      const std::size_t close = piece.rfind(')');
      const std::string times = Trimmed(std::string_view(piece).substr(0, open));
      const std::string after = Trimmed(std::string_view(piece).substr(close + 1));
      if (after.starts_with("in ")) {
        FailAt(where, "\"" + piece + "\": layers inside a matrix material cannot be represented");
      }
      if (!after.empty()) FailAt(where, "\"" + piece + "\": '" + after + "' after the ')'");
      const std::optional<double> n = times.empty() ? 1.0 : ReadPlainNumber(times);
      if (!n || *n < 1 || *n > kMostLayers || *n != static_cast<int>(*n)) {
        FailAt(where, "\"" + piece + "\": the repetitions '" + times + "' are not a whole number of 1 or more");
      }
      return {{}, static_cast<int>(*n), stack(where, piece.substr(open + 1, close - open - 1), depth + 1)};
    }
    // "name thickness", or a name with blanks in it.
    std::string name = piece;
    std::optional<double> thickness;
    if (const std::size_t blank = piece.find_last_of(" \t"); blank != std::string::npos) {
      if (const std::optional<double> d = ReadPlainNumber(piece.substr(blank + 1))) {
        name = Trimmed(std::string_view(piece).substr(0, blank));
        thickness = *d * units_.length;
      }
    }
    return named(where, name, thickness, depth);
  }

  //! What a name in a stack stands for; later sections win, as in the language's reference.
  Item named(const YAML::Node& where, const std::string& name, std::optional<double> thickness, int depth) {
    if (const YAML::Node c = entry("composits", name); c.IsDefined()) {
      return plain(name, thickness, composit(c, name));
    }
    if (const YAML::Node m = entry("materials", name); m.IsDefined()) {
      return plain(name, thickness, material(m, name));
    }
    if (const YAML::Node l = entry("layers", name); l.IsDefined()) {
      return {layer(l, name, thickness, depth), 0, {}};
    }
    if (const YAML::Node s = entry("sub_stacks", name); s.IsDefined()) {
      if (thickness) FailAt(where, "the sub-stack \"" + name + "\" is given a thickness in the stack");
      return subStack(s, name, depth);
    }
    return plain(name, thickness, known(where, name));
  }

  Item plain(const std::string& name, std::optional<double> thickness, LayerSld sld) const {
    return {{name, thickness.value_or(0.0), units_.roughness, sld}, 0, {}};
  }

  YAML::Node entry(const char* section, const std::string& name) const {
    return Child(Child(model_, section), name);
  }

  Layer layer(const YAML::Node& node, const std::string& name, std::optional<double> thickness, int depth) {
    const std::string what = "the layer \"" + name + "\"";
    if (!node.IsMap()) FailAt(node, what + " is not a set of \"key: value\" lines");
    OnlyKeys(node, {"thickness", "roughness", "material", "composition", "comment"}, what);
    Layer layer{name, thickness.value_or(0.0), units_.roughness, {}};
    if (const YAML::Node d = node["thickness"]; Given(d)) {
      layer.thickness = QuantityAt(d, OrsoQuantity::Length, units_, what + "'s thickness");
    }
    if (const YAML::Node s = node["roughness"]; Given(s)) {
      layer.roughness = QuantityAt(s, OrsoQuantity::Length, units_, what + "'s roughness");
    }
    const YAML::Node material = node["material"];
    if (Given(material) && material.IsScalar()) {
      layer.name = name.empty() ? material.Scalar() : name;
      layer.sld = materialNamed(material, material.Scalar(), depth);
    } else if (Given(material)) {
      layer.sld = Given(Child(material, "composition")) ? composit(material, name)
                                                        : this->material(material, name);
    } else if (const YAML::Node mix = node["composition"]; Given(mix)) {
      layer.sld = mixture(mix, what, depth);
    } else if (!name.empty()) {
      layer.sld = materialNamed(node, name, depth);
    } else {
      FailAt(node, "a layer of a sequence has neither a material nor a composition");
    }
    return layer;
  }

  Item subStack(const YAML::Node& node, const std::string& name, int depth) {
    const std::string what = "the sub-stack \"" + name + "\"";
    if (!node.IsMap()) FailAt(node, what + " is not a set of \"key: value\" lines");
    if (const std::string kind = TextOf(node["sub_stack_class"]); !kind.empty() && kind != "SubStack") {
      FailAt(node, what + " is a " + kind + ", which cannot be represented as layers");
    }
    OnlyKeys(node, {"repetitions", "stack", "sequence", "sub_stack_class", "comment"}, what);
    int repetitions = 1;
    if (const YAML::Node n = node["repetitions"]; Given(n)) {
      const double value = NumberAt(n, what + "'s repetitions");
      if (value < 1 || value > kMostLayers || value != static_cast<int>(value)) {
        FailAt(n, what + "'s repetitions must be a whole number of 1 or more (an inverted order "
                         "cannot be represented)");
      }
      repetitions = static_cast<int>(value);
    }
    Item block{{}, repetitions, {}};
    if (const YAML::Node text = node["stack"]; Given(text) && text.IsScalar()) {
      block.block = stack(text, text.Scalar(), depth + 1);
    } else if (const YAML::Node sequence = node["sequence"]; Given(sequence) && sequence.IsSequence()) {
      for (const YAML::Node& entry : sequence) {
        count();
        block.block.push_back({layer(entry, "", std::nullopt, depth + 1), 0, {}});
      }
    } else {
      FailAt(node, what + " has neither a stack nor a sequence of layers");
    }
    return block;
  }

  //! A material given by name in a layer or a composition.
  LayerSld materialNamed(const YAML::Node& where, const std::string& name, int depth) {
    if (depth > kDeepestReference) FailAt(where, "the materials refer to each other in a circle");
    count();  // composits of composits multiply too
    if (const YAML::Node c = entry("composits", name); c.IsDefined()) return composit(c, name, depth + 1);
    if (const YAML::Node m = entry("materials", name); m.IsDefined()) return material(m, name);
    return known(where, name);
  }

  LayerSld composit(const YAML::Node& node, const std::string& name, int depth = 0) {
    const YAML::Node inner = Child(node, "composition");
    return mixture(inner.IsDefined() ? inner : node, "the composit \"" + name + "\"", depth);
  }

  //! A sum of materials weighted by their relative densities.
  LayerSld mixture(const YAML::Node& map, const std::string& what, int depth) {
    if (!map.IsMap() || map.size() == 0) FailAt(map, what + " lists no \"material: fraction\" pairs");
    LayerSld sum;
    for (const auto& part : map) {
      const std::string name = TextOf(part.first);
      const double fraction = NumberAt(part.second, what + "'s fraction of \"" + name + "\"");
      const LayerSld sld = materialNamed(part.first, name, depth + 1);
      sum.rho += fraction * sld.rho;
      sum.imRho += fraction * sld.imRho;
      sum.magRe += fraction * sld.magRe;
      sum.magIm += fraction * sld.magIm;
    }
    return sum;
  }

  LayerSld material(const YAML::Node& node, const std::string& name) {
    const std::string what = "the material \"" + name + "\"";
    if (!node.IsMap()) FailAt(node, what + " is not a set of \"key: value\" lines");
    OnlyKeys(node, {"formula", "mass_density", "number_density", "sld", "magnetic_moment",
                    "magnetic_sld", "relative_density", "comment"}, what);
    if (const YAML::Node moment = node["magnetic_moment"]; Given(moment)) {
      FailAt(moment, what + " has a magnetic moment, which cannot be represented: give R(mag) "
                            "in the model editor instead");
    }
    LayerSld sld;
    if (const YAML::Node given = node["sld"]; Given(given)) {
      sld = stated(given, what);
    } else {
      const std::string formula = Given(node["formula"]) ? TextOf(node["formula"]) : name;
      std::optional<FormulaDensity> density;
      if (const YAML::Node mass = node["mass_density"]; Given(mass)) {
        density = {FormulaDensity::Kind::Mass,
                   QuantityAt(mass, OrsoQuantity::MassDensity, units_, what + "'s mass density")};
      } else if (const YAML::Node number = node["number_density"]; Given(number)) {
        density = {FormulaDensity::Kind::Number,
                   QuantityAt(number, OrsoQuantity::NumberDensity, units_, what + "'s number density")};
      }
      if (density) {
        usedTable_ = true;
        try {
          sld = catalogue_.byFormula(formula, *density, radiation_);
        } catch (const QuorrelError& error) {
          FailAt(node, what + ": " + error.what());
        }
      } else {
        sld = known(node, formula);
      }
    }
    // Quorrel's own key: the magnetic densities of R(mag) and I(mag).
    if (const YAML::Node magnetic = node["magnetic_sld"]; Given(magnetic)) {
      const LayerSld parts = stated(magnetic, what + "'s magnetic");
      sld.magRe = parts.rho;
      sld.magIm = parts.imRho;
    }
    if (const YAML::Node relative = node["relative_density"]; Given(relative)) {
      const double factor = NumberAt(relative, what + "'s relative density");
      sld.rho *= factor;
      sld.imRho *= factor;
      sld.magRe *= factor;
      sld.magIm *= factor;
    }
    return sld;
  }

  //! An sld written out: a number, {real, imag, unit} or {magnitude, unit}.
  LayerSld stated(const YAML::Node& node, const std::string& what) const {
    if (!node.IsMap() || !Given(node["real"])) {
      return {QuantityAt(node, OrsoQuantity::Sld, units_, what + "'s sld"), 0.0};
    }
    double factor = units_.sld;
    if (const YAML::Node unit = node["unit"]; Given(unit)) {
      const std::optional<double> own = UnitFactor(TextOf(unit), OrsoQuantity::Sld);
      if (!own) FailAt(unit, what + "'s sld: '" + TextOf(unit) + "' is not a scattering length density unit");
      factor = *own;
    }
    const YAML::Node imag = node["imag"];
    return {NumberAt(node["real"], what + "'s sld") * factor,
            Given(imag) ? NumberAt(imag, what + "'s imaginary sld") * factor : 0.0};
  }

  //! A material the header does not define: the language's own, or one of the table.
  LayerSld known(const YAML::Node& where, const std::string& name) {
    if (name == "vacuum" || name == "air") return {};
    usedTable_ = true;
    std::optional<LayerSld> sld;
    try {
      sld = catalogue_.byName(name == "water" ? "H2O" : name, radiation_);
    } catch (const QuorrelError& error) {
      FailAt(where, "the material \"" + name + "\": " + error.what());
    }
    if (sld) return *sld;
    FailAt(where, "the material \"" + name + "\" is not in the material table and the header "
                  "gives it no density: give it an sld, or a formula with a mass_density");
  }

  void count() {
    if (++nodes_ > kMostNodes) FailAt(model_, "the model refers to more items than it can hold");
  }

  const YAML::Node& model_;
  OrsoUnits units_;
  Radiation radiation_;
  const MaterialCatalogue& catalogue_;
  bool usedTable_ = false;
  int nodes_ = 0;
};

//! Appends the layers of `item`, repetitions written out, up to the most a model holds.
void Expand(const Item& item, std::vector<Layer>& layers, const YAML::Node& where) {
  if (item.repetitions == 0) {
    if (layers.size() > kMostLayers + 2) FailAt(where, "the model has more layers than a model can hold");
    layers.push_back(item.layer);
    return;
  }
  for (int r = 0; r < item.repetitions; ++r) {
    for (const Item& inner : item.block) Expand(inner, layers, where);
  }
}

//! The top level with blocks repeated once taken apart.
void Flatten(const std::vector<Item>& items, std::vector<Item>& flat) {
  for (const Item& item : items) {
    if (item.repetitions == 1) {
      Flatten(item.block, flat);
    } else {
      flat.push_back(item);
    }
  }
}

void SetRow(TextGrid& grid, int row, const Layer& layer, const std::string& label,
            bool thickness, bool roughness) {
  grid.setCell(row, kColLabel, label);
  grid.setCell(row, kColThickness, thickness ? FormatGeneral(layer.thickness) : "N/A");
  grid.setCell(row, kColRho, FormatGeneral(layer.sld.rho));
  grid.setCell(row, kColImRho, FormatGeneral(layer.sld.imRho));
  grid.setCell(row, kColSigma, roughness ? FormatGeneral(layer.roughness) : "N/A");
  grid.setCell(row, kColMagRe, FormatGeneral(layer.sld.magRe));
  grid.setCell(row, kColMagIm, FormatGeneral(layer.sld.magIm));
}

//! A grid of `rows` layer rows below the header row of `like`.
TextGrid FreshGrid(const TextGrid& like, int rows) {
  TextGrid grid(kGridColumns, rows + 1);
  for (int c = 0; c < kGridColumns; ++c) grid.setCell(0, c, like.cell(0, c));
  return grid;
}

std::string Label(const Layer& layer, int number) {
  return layer.name.empty() ? std::to_string(number) : layer.name;
}

SampleModel ToSampleModel(const std::vector<Item>& top, const YAML::Node& where) {
  std::vector<Item> flat;
  Flatten(top, flat);
  if (flat.size() < 2 || flat.front().repetitions != 0 || flat.back().repetitions != 0) {
    FailAt(where, "the stack must start with the fronting medium and end with the backing "
                  "medium, each a single item");
  }
  const auto blocks = std::count_if(flat.begin(), flat.end(), [](const Item& i) { return i.repetitions > 1; });
  std::vector<Layer> period;
  const auto block = std::find_if(flat.begin(), flat.end(), [](const Item& i) { return i.repetitions > 1; });
  if (blocks == 1) {
    for (const Item& inner : block->block) Expand(inner, period, where);
  }
  const bool multilayer = blocks == 1 && !period.empty() &&
                          period.size() <= static_cast<std::size_t>(kMostInBlock) &&
                          block->repetitions <= kMostInBlock;

  SampleModel model;
  std::vector<Layer> base;
  int insertAt = 0;
  for (auto it = flat.begin(); it != flat.end(); ++it) {
    if (multilayer && it == block) {
      insertAt = static_cast<int>(base.size()) - 1;  // after the fronting medium
    } else {
      Expand(*it, base, where);
    }
  }
  const int layers = static_cast<int>(base.size()) - 2;
  const int total = layers + (multilayer ? block->repetitions * static_cast<int>(period.size()) : 0);
  if (total > kMostLayers) FailAt(where, "the model has more layers than a model can hold");

  model.type = multilayer ? SampleType::MultipleLayers : SampleType::IndependentLayers;
  model.edtLayers = layers;
  model.baseGrid = FreshGrid(model.baseGrid, layers + 2);
  SetRow(model.baseGrid, 1, base.front(), "air", false, false);
  for (int j = 1; j <= layers; ++j) {
    SetRow(model.baseGrid, j + 1, base[static_cast<std::size_t>(j)], Label(base[static_cast<std::size_t>(j)], j), true, true);
  }
  SetRow(model.baseGrid, layers + 2, base.back(), "bulk", false, true);
  if (multilayer) {
    const int k = static_cast<int>(period.size());
    model.edtInsertLayer = insertAt;
    model.edtStackedLayers = k;
    model.edtRepts = block->repetitions;
    model.mlGrid = FreshGrid(model.mlGrid, k);
    for (int q = 1; q <= k; ++q) {
      SetRow(model.mlGrid, q, period[static_cast<std::size_t>(q - 1)], Label(period[static_cast<std::size_t>(q - 1)], q), true, true);
    }
  }
  return model;
}

Radiation Probe(const YAML::Node& header, std::vector<std::string>& notes) {
  const YAML::Node probe = Child(Child(Child(header, "data_source"), "experiment"), "probe");
  const std::string text = TextOf(probe);
  if (text == "neutron" || text == "neutrons") return Radiation::Neutrons;
  if (text == "x-ray" || text == "x-rays" || text == "xray") return Radiation::Xrays;
  if (Given(probe)) FailAt(probe, "the probe '" + text + "' is neither neutron nor x-ray");
  notes.push_back("the header names no probe: the densities are for neutrons");
  return Radiation::Neutrons;
}

YAML::Node ModelNode(const YAML::Node& header) {
  return Child(Child(Child(header, "data_source"), "sample"), "model");
}

YAML::Node ParseHeader(std::string_view yaml) {
  try {
    return YAML::Load(std::string(yaml));
  } catch (const YAML::Exception& error) {
    throw OrsoModelFault{error.mark.is_null() ? 0 : error.mark.line + 1,
                         "the header is not YAML: " + error.msg};
  }
}

OrsoModel Build(std::string_view yaml, const MaterialCatalogue& catalogue) {
  const YAML::Node header = ParseHeader(yaml);
  try {
    const YAML::Node model = ModelNode(header);
    if (!Given(model)) FailAt(header, "the header describes no sample model (data_source: sample: model:)");
    if (!model.IsMap()) FailAt(model, "the sample model is not a set of \"key: value\" lines");
    const YAML::Node stack = model["stack"];
    if (!Given(stack) || !stack.IsScalar()) FailAt(model, "the sample model has no stack");
    OrsoModel built;
    built.radiation = Probe(header, built.notes);
    ModelResolver resolver(model, built.radiation, catalogue);
    built.model = ToSampleModel(resolver.stack(stack, stack.Scalar(), 0), stack);
    if (resolver.usedTable() && built.radiation == Radiation::Xrays) {
      built.notes.push_back("x-ray densities from the material table are for 8047 eV");
    }
    return built;
  } catch (const YAML::Exception& error) {
    throw OrsoModelFault{error.mark.is_null() ? 0 : error.mark.line + 1,
                         "the sample model cannot be read: " + error.msg};
  }
}

std::string HeaderYaml(const OrsoHeaderText& header) {
  std::string yaml;
  for (const std::string& line : header.lines) yaml.append(line).append("\n");
  return yaml;
}

}  // namespace

OrsoModel BuildOrsoModel(std::string_view headerYaml, const MaterialCatalogue& catalogue) {
  try {
    return Build(headerYaml, catalogue);
  } catch (const OrsoModelFault& fault) {
    throw QuorrelError((fault.line > 0 ? "line " + std::to_string(fault.line) + ": " : "") +
                       fault.what);
  }
}

bool OrsoFileHasModel(const std::filesystem::path& path) {
  try {
    return Given(ModelNode(ParseHeader(HeaderYaml(OrsoFirstHeader(path)))));
  } catch (const OrsoModelFault&) {
    return false;
  } catch (const YAML::Exception&) {
    return false;
  }
}

OrsoModel ReadOrsoModel(const std::filesystem::path& path, const MaterialCatalogue& catalogue) {
  const OrsoHeaderText header = OrsoFirstHeader(path);
  try {
    return Build(HeaderYaml(header), catalogue);
  } catch (const OrsoModelFault& fault) {
    const std::size_t at = static_cast<std::size_t>(fault.line - 1);
    const std::string where = fault.line > 0 && at < header.fileLines.size()
                                  ? ": line " + std::to_string(header.fileLines[at])
                                  : "";
    throw FileError(path.string() + where + ": " + fault.what);
  }
}

}  // namespace quorrel
