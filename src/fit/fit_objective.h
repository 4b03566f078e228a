#pragma once
// What the fit engine minimises, behind one interface so that the search can be driven by any
// figure of merit.

#include <optional>

#include "calc/curves.h"
#include "fit/parameter_set.h"

namespace quorrel {

//! The chi-square of a parameter set's values, evaluated after they were applied.
class FitObjective {
 public:
  virtual ~FitObjective() = default;

  //! Makes the following evaluations use the set's values (ApplyParameterSet).
  virtual void apply(const ParameterSet& set) = 0;
  //! The chi-square of the values applied last; nullopt when an arithmetic fault ended it.
  virtual std::optional<double> evaluate() = 0;
  //! The calculated points of the last evaluation.
  virtual const ReflCurve& evaluatedCurve() const = 0;
  //! The calculated curve of the values applied last, without the sum; nullopt on a fault.
  virtual std::optional<ReflCurve> calculate() = 0;
};

}  // namespace quorrel
