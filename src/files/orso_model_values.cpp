#include "files/orso_model_values.h"

#include <array>
#include <charconv>
#include <cmath>

#include <yaml-cpp/yaml.h>


namespace quorrel {

namespace {

struct Unit {
  OrsoQuantity kind;
  const char* text;
  double factor;
};

// ORSO writes powers as ^ or **.
constexpr Unit kUnits[] = {
    {OrsoQuantity::Length, "angstrom", 1.0},
    {OrsoQuantity::Length, "nm", 10.0},
    {OrsoQuantity::Length, "um", 1e4},
    {OrsoQuantity::Length, "mum", 1e4},
    {OrsoQuantity::Sld, "1/angstrom^2", 1.0},
    {OrsoQuantity::Sld, "1/angstrom**2", 1.0},
    {OrsoQuantity::Sld, "1e-6/angstrom^2", 1e-6},
    {OrsoQuantity::Sld, "1e-6/angstrom**2", 1e-6},
    {OrsoQuantity::Sld, "1/nm^2", 0.01},
    {OrsoQuantity::Sld, "1/nm**2", 0.01},
    {OrsoQuantity::MassDensity, "g/cm^3", 1.0},
    {OrsoQuantity::MassDensity, "g/cm**3", 1.0},
    {OrsoQuantity::MassDensity, "kg/m^3", 1e-3},
    {OrsoQuantity::MassDensity, "kg/m**3", 1e-3},
    {OrsoQuantity::NumberDensity, "1/angstrom^3", 1.0},
    {OrsoQuantity::NumberDensity, "1/angstrom**3", 1.0},
    {OrsoQuantity::NumberDensity, "1/nm^3", 1e-3},
    {OrsoQuantity::NumberDensity, "1/nm**3", 1e-3},
};

const char* KindName(OrsoQuantity kind) {
  switch (kind) {
    case OrsoQuantity::Length: return "length";
    case OrsoQuantity::Sld: return "scattering length density";
    case OrsoQuantity::MassDensity: return "mass density";
    case OrsoQuantity::NumberDensity: return "number density";
  }
  return "";
}

double Factor(const YAML::Node& unit, OrsoQuantity kind, const std::string& what) {
  const std::optional<double> factor = UnitFactor(TextOf(unit), kind);
  if (!factor) {
    FailAt(unit, what + ": '" + TextOf(unit) + "' is not a " + KindName(kind) + " unit");
  }
  return *factor;
}

}  // namespace

void FailAt(const YAML::Node& node, const std::string& what) {
  const bool placed = node.IsDefined() && !node.Mark().is_null();
  throw OrsoModelFault{placed ? node.Mark().line + 1 : 0, what};
}

std::optional<double> ReadPlainNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (text.starts_with('+')) text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

double NumberAt(const YAML::Node& node, const std::string& what) {
  const std::optional<double> value =
      node.IsDefined() && node.IsScalar() ? ReadPlainNumber(node.Scalar()) : std::nullopt;
  if (!value || !std::isfinite(*value)) FailAt(node, what + " is not a number");
  return *value;
}

std::string TextOf(const YAML::Node& node) {
  return node.IsDefined() && node.IsScalar() ? node.Scalar() : "";
}

std::string QuotedYaml(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c == '\n' || c == '\r' ? ' ' : c;
  }
  return quoted + "\"";
}

std::string YamlNumber(double value) {
  std::array<char, 32> text{};
  const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
  return std::string(text.data(), end);
}

std::optional<double> UnitFactor(std::string_view unit, OrsoQuantity kind) {
  for (const Unit& known : kUnits) {
    if (known.kind == kind && unit == known.text) return known.factor;
  }
  return std::nullopt;
}

OrsoUnits ReadOrsoUnits(const YAML::Node& globals) {
  OrsoUnits units;
  if (!globals.IsDefined() || globals.IsNull()) return units;
  if (!globals.IsMap()) FailAt(globals, "globals is not a set of \"key: value\" lines");
  const auto unitOf = [&globals](const char* key, OrsoQuantity kind, double& factor) {
    if (const YAML::Node unit = globals[key]; unit.IsDefined() && !unit.IsNull()) {
      factor = Factor(unit, kind, std::string("globals ") + key);
    }
  };
  unitOf("length_unit", OrsoQuantity::Length, units.length);
  unitOf("sld_unit", OrsoQuantity::Sld, units.sld);
  unitOf("mass_density_unit", OrsoQuantity::MassDensity, units.massDensity);
  unitOf("number_density_unit", OrsoQuantity::NumberDensity, units.numberDensity);
  if (const YAML::Node roughness = globals["roughness"]; roughness.IsDefined()) {
    units.roughness = QuantityAt(roughness, OrsoQuantity::Length, units, "globals roughness");
  }
  return units;
}

double QuantityAt(const YAML::Node& node, OrsoQuantity kind, const OrsoUnits& units,
                  const std::string& what) {
  double own = 1.0;
  switch (kind) {
    case OrsoQuantity::Length: own = units.length; break;
    case OrsoQuantity::Sld: own = units.sld; break;
    case OrsoQuantity::MassDensity: own = units.massDensity; break;
    case OrsoQuantity::NumberDensity: own = units.numberDensity; break;
  }
  if (node.IsDefined() && node.IsScalar()) return NumberAt(node, what) * own;
  if (!node.IsDefined() || !node.IsMap() || !node["magnitude"].IsDefined()) {
    FailAt(node, what + " is neither a number nor a {magnitude, unit} value");
  }
  const YAML::Node unit = node["unit"];
  const double factor =
      unit.IsDefined() && !unit.IsNull() ? Factor(unit, kind, what) : own;
  return NumberAt(node["magnitude"], what) * factor;
}

}  // namespace quorrel
