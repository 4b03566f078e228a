#pragma once
// The least-squares solver's view of an entry with bounds: an unbounded internal variable that
// maps smoothly into the bounds, so that every step of the solver stays inside them.

#include "fit/entry_bounds.h"

namespace quorrel {

//! Both bounds: value = lo + (hi - lo)(sin u + 1)/2. One bound: value = lo + sqrt(u² + 1) - 1
//! (or hi - sqrt(u² + 1) + 1), which moves like u far from the bound. No
//! bound: the value itself.
class BoundedVariable {
 public:
  explicit BoundedVariable(Bounds bounds) : bounds_(bounds) {}

  double value(double internal) const;
  //! The internal variable of `value`, which is first brought inside the bounds.
  double internal(double value) const;
  //! d value / d internal at `internal`.
  double derivative(double internal) const;

 private:
  Bounds bounds_;
};

}  // namespace quorrel
