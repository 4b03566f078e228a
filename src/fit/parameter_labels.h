#pragma once
// The entries of the fit dialog's parameter list: a label per listed value and its check mark.

#include <string>
#include <vector>

#include "fit/parameter_set.h"
#include "fit/vary_flags.h"

namespace quorrel {

//! One listed entry: list position e stands for parameter set index e + 1.
struct FitParameter {
  int index = 0;
  std::string label;
  bool vary = false;
};

//! The label of entry `index`: prefix, layer number, separator and the value in its pattern.
std::string ParameterLabel(const ParameterSet& set, int index);

//! The name of entry `index` as its label begins: "d_1", "rho_bulk", a function parameter's name.
std::string ParameterName(const ParameterSet& set, int index);

//! `label` followed by " ± " and the standard error to two significant digits.
std::string WithStandardError(const std::string& label, double error);

//! Every listed entry in index order, with its label from the current value and its check
//! mark from `flags`.
std::vector<FitParameter> FillParameterList(const ParameterSet& set, const VaryFlags& flags);

}  // namespace quorrel
