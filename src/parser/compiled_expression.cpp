#include "parser/compiled_expression.h"

#include <utility>

namespace quorrel {

CompiledExpression::CompiledExpression(std::vector<Operation> operations,
                                       std::vector<double> constants)
    : operations_(std::move(operations)), constants_(std::move(constants)) {}

const double* CompiledExpression::Resolve(const CellRef& ref,
                                          std::deque<double>& variables) const {
  const auto i = static_cast<std::size_t>(ref.index);
  switch (ref.source) {
    case CellRef::Source::Variable: return &variables[i];
    case CellRef::Source::Constant: return &constants_[i];
    case CellRef::Source::Result: return &operations_[i].result;
    case CellRef::Source::None: break;
  }
  return nullptr;
}

void CompiledExpression::Bind(std::deque<double>& variables) {
  for (Operation& op : operations_) {
    op.left = Resolve(op.leftRef, variables);
    op.right = Resolve(op.rightRef, variables);
    op.routine = RoutineFor(op.code);
    const bool lone = op.code == OpCode::Variable || op.code == OpCode::Constant;
    op.out = lone ? op.left : &op.result;
  }
}

double CompiledExpression::Value() {
  if (operations_.empty()) return 0.0;
  for (Operation& op : operations_) {
    if (op.routine != nullptr) op.routine(op);
  }
  return *operations_.back().out;
}

}  // namespace quorrel
