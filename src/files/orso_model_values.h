#pragma once
// The values of the ORSO model language: numbers, quantities with units, and the defaults
// that its `globals` section changes.

#include <optional>
#include <string>
#include <string_view>

namespace YAML {
class Node;
}

namespace quorrel {

//! A fault in a model text: the line (from 1, 0 when unknown) and what is wrong.
struct OrsoModelFault {
  int line = 0;
  std::string what;
};

//! Throws OrsoModelFault at the line of `node`.
[[noreturn]] void FailAt(const YAML::Node& node, const std::string& what);

//! A number written without the locale's help; nothing when `text` is not one.
std::optional<double> ReadPlainNumber(std::string_view text);

//! The scalar `node` as a finite number, or OrsoModelFault naming `what`.
double NumberAt(const YAML::Node& node, const std::string& what);

//! The scalar text of `node`, or "" when it is not a scalar.
std::string TextOf(const YAML::Node& node);

//! `text` as a YAML double-quoted scalar; line breaks become blanks.
std::string QuotedYaml(const std::string& text);

//! A number for a header or a row: the shortest text that reads back as the same double,
//! with a point.
std::string YamlNumber(double value);

//! The units of a model, as factors to Å, Å⁻², g/cm³ and formula units per Å³.
struct OrsoUnits {
  double length = 10.0;       //!< nm
  double roughness = 3.0;     //!< Å: the language's 0.3 nm
  double sld = 1.0;           //!< 1/angstrom^2
  double massDensity = 1.0;   //!< g/cm^3
  double numberDensity = 1e-3;  //!< 1/nm^3
};

//! The defaults changed by a `globals` map (absent: the language's own).
OrsoUnits ReadOrsoUnits(const YAML::Node& globals);

//! The kinds of quantity a value may be.
enum class OrsoQuantity { Length, Sld, MassDensity, NumberDensity };

//! A plain number in the model's unit for `kind`, or a {magnitude, unit} map in its own;
//! OrsoModelFault naming `what` for anything else or a unit of another kind.
double QuantityAt(const YAML::Node& node, OrsoQuantity kind, const OrsoUnits& units,
                  const std::string& what);

//! The factor of a unit text for `kind`; nothing when it is not one of that kind's units.
std::optional<double> UnitFactor(std::string_view unit, OrsoQuantity kind);

}  // namespace quorrel
