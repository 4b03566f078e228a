#include "database/material_sld.h"

#include <cmath>

#include "common/number_conversion.h"
#include "common/number_format.h"

namespace quorrel {

namespace {

constexpr double kAvogadro = 6.023e23;          // to four digits, as the table's values assume
constexpr double kCubicCmToCubicA = 1e-24;
constexpr double kFmToA = 1e-5;
constexpr double kBarnToSquareA = 1e-8;
constexpr double kThermalWavelength = 1.798;    // A, neutrons at 2200 m/s
constexpr double kXrayWavelength = 1.541;       // A, 8047 eV
constexpr double kTwoPi = 6.283185307179586;

std::string ValueMessage(const std::string& text) {
  if (text.empty()) return "Invalid variant type conversion";
  return "'" + text + "' is not a valid floating point value";
}

double Convert(const char* field, const std::string& text) {
  if (!text.empty()) {
    if (const auto value = ReadNumber(text)) return *value;
  }
  throw MaterialValueError(field, text);
}

double Checked(double value, const char* what) {
  if (!std::isfinite(value)) throw ArithmeticFault(std::string("material lookup: ") + what);
  return value;
}

}  // namespace

MaterialValueError::MaterialValueError(std::string field, std::string text)
    : QuorrelError(ValueMessage(text)), field_(std::move(field)), text_(std::move(text)) {}

MaterialConstants ConvertMaterialConstants(const MaterialRecord& record) {
  MaterialConstants constants{};
  constants.weight = Convert("weight", record.weight);
  constants.density = Convert("density", record.density);
  constants.delta = Convert("delta", record.delta);
  constants.beta = Convert("beta", record.beta);
  constants.b_coh = Convert("b_coh", record.b_coh);
  constants.abs_xs = Convert("abs_xs", record.abs_xs);
  return constants;
}

MaterialSld ComputeMaterialSld(const MaterialConstants& c, Radiation radiation) {
  if (radiation == Radiation::Xrays) {
    const double wavelengthSquared = kXrayWavelength * kXrayWavelength;
    return {Checked(kTwoPi * c.delta / wavelengthSquared, "rho is not finite"),
            Checked(kTwoPi * c.beta / wavelengthSquared, "Im(rho) is not finite")};
  }
  const double moles = kCubicCmToCubicA * c.density * kAvogadro;
  if (moles == 0.0) throw ArithmeticFault("material lookup: division by zero, the density is 0");
  const double volume = Checked(c.weight / moles, "formula unit volume is not finite");
  if (volume == 0.0) throw ArithmeticFault("material lookup: division by zero, the weight is 0");
  const double rho = Checked(kFmToA * c.b_coh / volume, "rho is not finite");
  const double imRho =
      Checked(kBarnToSquareA * c.abs_xs / kThermalWavelength / 2 / volume, "Im(rho) is not finite");
  return {rho, imRho};
}

double MassDensityOf(double formulaUnits, double weight) {
  return formulaUnits * weight / (kAvogadro * kCubicCmToCubicA);
}

std::string FormatSld(double value) { return FormatPattern(value, "0.000E+00"); }

}  // namespace quorrel
