#pragma once
// The compiled form of an expression: its operations in evaluation order and the constant
// cells they read.

#include <deque>
#include <vector>

#include "parser/operation.h"

namespace quorrel {

//! Evaluation walks the operations once; it reads no text, allocates nothing and looks
//! up no name. After a copy or move the owner binds it to its own variable cells.
class CompiledExpression {
 public:
  CompiledExpression() = default;
  CompiledExpression(std::vector<Operation> operations, std::vector<double> constants);

  //! Points every operand at this object's constants and records and at `variables`.
  void Bind(std::deque<double>& variables);

  bool empty() const { return operations_.empty(); }
  //! 0 when empty; otherwise runs every operation and returns the last one's result.
  //! Arithmetic faults throw ArithmeticFault.
  double Value();

  const std::vector<Operation>& operations() const { return operations_; }

 private:
  const double* Resolve(const CellRef& ref, std::deque<double>& variables) const;

  std::vector<Operation> operations_;
  std::vector<double> constants_;
};

}  // namespace quorrel
