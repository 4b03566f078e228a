#pragma once
// What a model builder asks of the material table: the densities of a named material, or of
// a chemical formula at a given density, for the radiation in use.

#include <optional>
#include <string>

#include "model/calc_settings.h"

namespace quorrel {

//! Real and imaginary scattering length density of a layer, in Å⁻², and the magnetic parts
//! that a spin state adds or takes away (R(mag) and I(mag)).
struct LayerSld {
  double rho = 0.0;
  double imRho = 0.0;
  double magRe = 0.0;
  double magIm = 0.0;
};

//! How dense a material given by its formula is.
struct FormulaDensity {
  enum class Kind { Mass, Number };
  Kind kind = Kind::Mass;
  double value = 0.0;  //!< g/cm³, or formula units per Å³
};

//! The material table as a model builder sees it.
class MaterialCatalogue {
 public:
  virtual ~MaterialCatalogue() = default;
  //! The densities of the table's material `name`; nothing when the table has none.
  virtual std::optional<LayerSld> byName(const std::string& name, Radiation radiation) const = 0;
  //! The densities of `formula` ("SiO2", "Fe2O3", "(CH2)3") at `density`, from the table's
  //! element data. Throws QuorrelError saying why when the formula cannot be read or names an
  //! element the table does not have.
  virtual LayerSld byFormula(const std::string& formula, FormulaDensity density,
                             Radiation radiation) const = 0;
};

}  // namespace quorrel
