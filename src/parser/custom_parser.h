#pragma once
// The expression parser: a table of variables and functions, an expression compiled into
// a list of operations, and its value.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "parser/compiled_expression.h"
#include "parser/parser_errors.h"
#include "parser/parser_functions.h"

namespace quorrel {

class TCustomParser;

//! Receives a compilation error instead of the writer of Expression.
using TParserExceptionEvent =
    std::function<void(TCustomParser& sender, const EMathParserError& error)>;

//! Compiles once, evaluates many times. A copy owns its own variable cells, constants and
//! records, bound to each other as in the original, so that copies evaluate independently.
//! One instance is for one thread at a time: evaluation writes its result cells.
class TCustomParser {
 public:
  TCustomParser() = default;
  virtual ~TCustomParser() = default;
  TCustomParser(const TCustomParser& other);
  TCustomParser& operator=(const TCustomParser& other);
  TCustomParser(TCustomParser&& other) noexcept;
  TCustomParser& operator=(TCustomParser&& other) noexcept;

  //! The text as last given.
  const std::string& Expression() const { return expression_; }
  //! Discards the compiled form and compiles `text` unless it is empty. Returns whether
  //! that succeeded. A compilation error leaves the parser empty and goes to OnParserError
  //! when one is set, else it propagates.
  bool SetExpression(const std::string& text);

  //! True (the default): numbers are read with a point whatever the user's separator.
  bool PointNumberFormat() const { return pointNumberFormat_; }
  void SetPointNumberFormat(bool point) { pointNumberFormat_ = point; }

  bool CompileFailed() const { return compileFailed_; }
  bool empty() const { return compiled_.empty(); }

  //! 0 when nothing is compiled; otherwise runs the operations. Faults throw ArithmeticFault.
  double Value() { return compiled_.Value(); }

  //! Sets the named variable (upper-cased), creating it when new; EBadName for a name that
  //! is not an identifier. The returned cell stays valid for the parser's lifetime and is
  //! the one compiled expressions read.
  double& SetVariableValue(std::string_view name, double value);

  //! The codes of the compiled operations in evaluation order.
  std::vector<OpCode> OperationCodes() const;

  TParserExceptionEvent OnParserError;

 protected:
  //! Enters a variable cell (initially 0) unless the name is taken; returns its position.
  int AddVariable(const std::string& name);
  double& VariableCell(int index) { return variableCells_[static_cast<std::size_t>(index)]; }
  //! Registers a function; a name already registered throws std::invalid_argument.
  void AddFunction1(const std::string& name, UnaryFunction function);
  void AddFunction2(const std::string& name, BinaryFunction function);

 private:
  class Lookup;

  std::string expression_;
  bool pointNumberFormat_ = true;
  bool compileFailed_ = false;
  std::deque<double> variableCells_;  // a deque keeps cells in place as variables are added
  std::map<std::string, int, std::less<>> variables_;
  CompiledExpression compiled_;
  std::map<std::string, UnaryFunction, std::less<>> functions1_;
  std::map<std::string, BinaryFunction, std::less<>> functions2_;
};

}  // namespace quorrel
