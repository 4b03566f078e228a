#pragma once
// The parser with the variables A to E, X, Y, T and the standard functions.

#include <array>

#include "parser/custom_parser.h"

namespace quorrel {

//! A to E are the parameters of a profile function and are written directly; X, Y and T
//! exist for every expression and start at 0.
class TParser : public TCustomParser {
 public:
  TParser();

  double& A() { return VariableCell(0); }
  double& B() { return VariableCell(1); }
  double& C() { return VariableCell(2); }
  double& D() { return VariableCell(3); }
  double& E() { return VariableCell(4); }
  //! Writes A to E in that order.
  void SetParameters(const std::array<double, 5>& values);
};

}  // namespace quorrel
