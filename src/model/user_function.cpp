#include "model/user_function.h"

namespace quorrel {

UserFunction::UserFunction() { parser_.SetVariableValue("z", 0.0); }

std::optional<std::string> UserFunction::Compile(const std::string& expression) {
  try {
    parser_.SetExpression(expression);
    return std::nullopt;
  } catch (const EMathParserError& error) {
    return std::string(error.what());
  }
}

}  // namespace quorrel
