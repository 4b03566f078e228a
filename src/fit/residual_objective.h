#pragma once
// What the least-squares fit minimises: one residual per measured point, for many trial sets at
// once, so that the columns of a derivative share one batch of the kernel.

#include <optional>
#include <span>

#include "calc/curves.h"
#include "fit/parameter_set.h"

namespace quorrel {

class ResidualObjective {
 public:
  virtual ~ResidualObjective() = default;

  //! The residuals of one set.
  virtual int residualCount() const = 0;
  //! The residuals of every set, set k's from out[k * residualCount()]; false when an arithmetic
  //! fault ended the evaluation.
  virtual bool residuals(std::span<const ParameterSet> sets, std::span<double> out) = 0;
  //! The chi-square of one set's residuals; nullopt when forming it is an arithmetic fault.
  virtual std::optional<double> chiSquareOf(std::span<const double> residuals) const = 0;
  //! The calculated points of the first set of the last evaluation.
  virtual const ReflCurve& evaluatedCurve() const = 0;
};

}  // namespace quorrel
