#include "fit/difference_jacobian.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "fit/symmetry_ties.h"

namespace quorrel {

namespace {

// Forward differences lose about as many digits to rounding as to curvature with a step of
// the square root of the curve's relative precision; the fast kernel agrees with the
// reference to about 1e-12, which puts the step near 1e-6.
constexpr double kRelativeStep = 1e-6;

//! The magnitude below which a value's step no longer shrinks with it.
double TypicalSize(const ParameterRole& role) {
  if (role.medium == ParameterMedium::FunctionParameter) return 1.0;
  switch (role.quantity) {
    case Quantity::Thickness:
    case Quantity::Sigma:
      return 1.0;  // Å
    case Quantity::Rho:
      return 1e-6;  // Å⁻², the scale of scattering length densities
    case Quantity::ImRho:
      break;
  }
  return 1e-8;  // Å⁻², absorption is smaller by orders of magnitude
}

//! A measurement's entries after the model's: a scale near 1, a background or a replaced
//! density near 1e-6 or far below; this keeps a step at zero above the kernel's rounding.
constexpr double kMeasurementEntrySize = 1e-8;

}  // namespace

double DifferenceStep(const ParameterSet& set, int index) {
  const double typical = index > set.count() ? kMeasurementEntrySize
                                             : TypicalSize(set.layout().role(index));
  const double size = std::max(std::fabs(set[index]), typical);
  return kRelativeStep * size;
}

bool DifferenceJacobian(const ParameterSet& set, std::span<const int> varied,
                        std::vector<double>& base, ResidualObjective& objective,
                        std::span<double> jacobian) {
  const auto n = static_cast<std::size_t>(objective.residualCount());
  const std::size_t p = varied.size();
  if (jacobian.size() != n * p || (!base.empty() && base.size() != n)) {
    throw std::invalid_argument("the Jacobian's sizes differ from the residuals'");
  }
  const bool withBase = base.empty();
  std::vector<ParameterSet> sets;
  sets.reserve(p + 1);
  if (withBase) sets.push_back(set);
  std::vector<double> steps(p);
  for (std::size_t j = 0; j < p; ++j) {
    const int index = varied[j];
    const double moved = set[index] + DifferenceStep(set, index);
    // The step that the value really took, after rounding.
    steps[j] = moved - set[index];
    sets.push_back(set);
    SetTiedValue(sets.back(), index, moved);
  }
  std::vector<double> residuals(sets.size() * n);
  if (!objective.residuals(sets, residuals)) return false;
  if (withBase) base.assign(residuals.begin(), residuals.begin() + static_cast<std::ptrdiff_t>(n));
  const std::size_t first = withBase ? 1 : 0;
  for (std::size_t j = 0; j < p; ++j) {
    const double* column = residuals.data() + (first + j) * n;
    for (std::size_t i = 0; i < n; ++i) jacobian[i * p + j] = (column[i] - base[i]) / steps[j];
  }
  return true;
}

}  // namespace quorrel
