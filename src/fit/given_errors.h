#pragma once
// Whether the measurements of a posterior carry the errors its likelihood is made of.

#include <string>
#include <vector>

#include "fit/fit_data.h"

namespace quorrel {

//! Why sampling cannot run on `measurements`, naming the first one with a point of its
//! fitting region whose error is not a positive number, or "" when every point has one. The
//! log-likelihood -chi-square / 2 is only one with the measured errors as the weights.
std::string MissingErrorsRefusal(const std::vector<FitData>& measurements);

}  // namespace quorrel
