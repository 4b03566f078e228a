#pragma once
// What the data say about the precision of a least-squares fit: standard errors, correlations
// and whether every varied value is determined at all.

#include <span>
#include <string>
#include <vector>

#include "fit/parameter_set.h"

namespace quorrel {

//! The uncertainties at a minimum, for the varied entries in the order of the run's list.
struct FitUncertainties {
  //! The parameter set indices of the varied entries.
  std::vector<int> varied;
  std::vector<double> standardErrors;
  //! p × p, row after row; NaN beside an entry that the data do not affect at all.
  std::vector<double> correlations;
  //! The sum of squared residuals over the degrees of freedom.
  double reducedChiSquare = 0.0;
  int degreesOfFreedom = 0;  //!< points minus varied entries
  //! Smallest over largest singular value of the Jacobian with its columns scaled to unit
  //! length: near 0 when some combination of the varied values leaves the curve unchanged.
  double reciprocalCondition = 1.0;
  //! Positions in the varied list of the entries that the data do not determine; empty when
  //! the problem is well conditioned.
  std::vector<int> undetermined;

  double correlation(std::size_t a, std::size_t b) const {
    return correlations[a * standardErrors.size() + b];
  }
};

//! The uncertainties of the entries `varied` from the Jacobian (n rows of p = varied.size()
//! derivatives of the residuals, row after row) and the residuals at the minimum. The covariance is
//! (JᵀJ)⁻¹ when the residuals are divided by the points' own errors (`absoluteErrors`), and scaled
//! by the reduced chi-square otherwise, where the weights set only the points' relative importance.
//! Needs n > p.
FitUncertainties EstimateUncertainties(std::span<const int> varied,
                                       std::span<const double> jacobian,
                                       std::span<const double> residuals, bool absoluteErrors);

//! The warning for an ill-conditioned fit, naming the entries the data do not determine; empty
//! when there is none.
std::string UndeterminedWarning(const ParameterSet& set, const FitUncertainties& uncertainties);

}  // namespace quorrel
