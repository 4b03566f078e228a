#pragma once
// Chemical formulas such as "SiO2", "Fe2O3", "(CH2)3" or "SiN0.01", and the constants of a
// compound made from the table's element data.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/material_sld.h"

namespace quorrel {

//! One element of a formula and how many of its atoms a formula unit holds.
struct FormulaPart {
  std::string element;
  double count = 1.0;
};

//! The elements of a formula in the order written (an element may occur more than once).
//! Throws QuorrelError naming the formula and the position that cannot be read.
std::vector<FormulaPart> ParseFormula(std::string_view formula);

//! An element's constants by symbol; nothing for one the table does not have.
using ElementConstants = std::function<std::optional<MaterialConstants>(const std::string&)>;

//! The constants of one formula unit at `density` (g/cm³): the sums of the weights, the
//! scattering lengths and the absorption cross-sections, and delta and beta from each
//! element's per atom at the compound's number density. Throws QuorrelError naming an
//! element the table does not have.
MaterialConstants CompoundConstants(const std::vector<FormulaPart>& parts, double density,
                                    const ElementConstants& elements);

}  // namespace quorrel
