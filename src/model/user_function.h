#pragma once
// The compiled form of the model's user-defined profile function.

#include <optional>
#include <string>

#include "parser/parser.h"

namespace quorrel {

//! A parser with the variable z and the expression it was last given. Copies are deep, so a
//! model can be copied and every calculation can take its own parser.
class UserFunction {
 public:
  UserFunction();

  //! Compiles `expression`; on failure returns the parser's message and leaves the function
  //! empty, so that it evaluates as an error.
  std::optional<std::string> Compile(const std::string& expression);

  //! The text last compiled, "" before the first compilation.
  const std::string& source() const { return parser_.Expression(); }
  bool failed() const { return parser_.CompileFailed(); }

  //! A copy of the compiled parser, for one calculation to evaluate on its own.
  TParser parser() const { return parser_; }

 private:
  TParser parser_;
};

}  // namespace quorrel
