#pragma once
// The derivatives of a fit's residuals by forward differences, the trial sets of all columns
// evaluated as one batch.

#include <span>
#include <vector>

#include "fit/parameter_set.h"
#include "fit/residual_objective.h"

namespace quorrel {

//! The forward-difference step of entry `index` at its current value: a fixed fraction of its
//! magnitude, or of the size typical of its quantity where the value is smaller, so that an
//! entry at or near zero still moves the curve measurably.
double DifferenceStep(const ParameterSet& set, int index);

//! J(i, j) = (r_i(set with entry varied[j] moved by its step, ties included) - base[i]) / step
//! into `jacobian`, n rows of p = varied.size() values (row after row). Every column's set goes
//! to `objective` in one batch, each counting as one evaluation. `base` holds the residuals of
//! `set` itself; when it is empty they are computed in the same batch and left in it. False when
//! an arithmetic fault ended the evaluation.
bool DifferenceJacobian(const ParameterSet& set, std::span<const int> varied,
                        std::vector<double>& base, ResidualObjective& objective,
                        std::span<double> jacobian);

}  // namespace quorrel
