#pragma once
// From a material's six stored quantities to the scattering length density of a layer.

#include <string>

#include "common/error.h"
#include "database/material_record.h"
#include "model/calc_settings.h"

namespace quorrel {

//! A stored quantity that is empty or not a number. The message is the one the user sees:
//! "'%s' is not a valid floating point value", or "Invalid variant type conversion" for an
//! empty field.
class MaterialValueError : public QuorrelError {
 public:
  MaterialValueError(std::string field, std::string text);
  //! The field that failed ("weight", "density", "delta", "beta", "b_coh", "abs_xs").
  const std::string& field() const { return field_; }
  const std::string& text() const { return text_; }

 private:
  std::string field_;
  std::string text_;
};

//! The six quantities as numbers.
struct MaterialConstants {
  double weight;   // g/mol
  double density;  // g/cm3
  double delta;
  double beta;
  double b_coh;    // fm
  double abs_xs;   // barn
};

//! Real and imaginary scattering length density, in 1/A^2.
struct MaterialSld {
  double rho;
  double imRho;
};

//! Converts all six quantities, in the order weight, density, delta, beta, b_coh, abs_xs,
//! with the user's separator and the tolerant conversion as fallback. All six are needed
//! whatever the radiation. Throws MaterialValueError at the first that fails.
MaterialConstants ConvertMaterialConstants(const MaterialRecord& record);

//! rho and Im(rho) for neutrons (per formula unit volume from weight and density) or for
//! x-rays at 1.541 A (from delta and beta). A zero weight or density, or any result that is
//! not finite, throws ArithmeticFault.
MaterialSld ComputeMaterialSld(const MaterialConstants& constants, Radiation radiation);

//! The mass density (g/cm³) of `formulaUnits` formula units per Å³ of molar mass `weight`
//! (g/mol), with the Avogadro constant the lookup uses.
double MassDensityOf(double formulaUnits, double weight);

//! A density as the model editor shows it: "0.000E+00" with the user's separator.
std::string FormatSld(double value);

}  // namespace quorrel
