#pragma once
// The catalogue of built-in profile functions and their closed-form values.

#include <array>
#include <span>

namespace quorrel {

//! One row of the catalogue as the function dialog shows it.
struct BuiltInProfile {
  const char* name;
  const char* formulaText;  // for display only
  const char* comment;
  int parameterCount;
  //! Names given to the parameters A, B, ... on confirming; the first parameterCount count.
  std::array<const char*, 4> parameterNames;
};

//! The five functions, by index 0 .. 4.
std::span<const BuiltInProfile> BuiltInProfiles();

//! The density at depth `z` of built-in function `index`, decaying or oscillating from
//! `rhoStart` towards `rhoEnd`; `stepsLength` is the number of steps times their thickness.
//! An index outside the catalogue gives rhoStart. Functions 0 and 1 turn an arithmetic
//! fault into rhoStart; 2 to 4 throw ArithmeticFault naming the function and z.
double EvaluateBuiltInProfile(int index, double z, double rhoStart, double rhoEnd,
                              const std::array<double, 5>& parameters, long long stepsLength);

}  // namespace quorrel
