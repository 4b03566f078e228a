// The expression parser: compile, evaluate, and copies that evaluate as the original does,
// each on its own variable cells.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "common/decimal_separator.h"
#include "common/error.h"
#include "fuzz_support.h"
#include "parser/parser.h"

using namespace quorrel;

namespace {

//! The value, or the fault's text; a value is always finite.
struct Outcome {
  std::optional<double> value;
  std::string fault;
  bool operator==(const Outcome& other) const {
    if (value.has_value() != other.value.has_value()) return false;
    if (!value) return fault == other.fault;
    return std::memcmp(&*value, &*other.value, sizeof(double)) == 0;
  }
};

Outcome Evaluate(TParser& parser) {
  try {
    const double value = parser.Value();
    if (!std::isfinite(value)) std::abort();
    return {value, {}};
  } catch (const ArithmeticFault& fault) {
    return {std::nullopt, fault.what()};
  }
}

void SetVariables(TParser& parser, double shift) {
  parser.SetParameters({1.5 + shift, -2.25, 0.5, 3.0, 1e-3});
  parser.SetVariableValue("X", 0.7);
  parser.SetVariableValue("Y", -1.1 * shift);
  parser.SetVariableValue("T", 2.0);
  parser.SetVariableValue("Z", 12.5 - shift);
}

//! Compiles `text`; a refused text raises only the parser's errors and leaves it empty.
bool Compile(TParser& parser, const std::string& text) {
  try {
    return parser.SetExpression(text);
  } catch (const EMathParserError&) {
    if (!parser.CompileFailed() || !parser.empty()) std::abort();
    return false;
  }
}

void Exercise(const std::string& text, bool pointNumbers) {
  TParser parser;
  parser.SetPointNumberFormat(pointNumbers);
  SetVariables(parser, 0.0);
  if (!Compile(parser, text) || parser.empty()) return;

  // RND draws a new number at every evaluation.
  std::string upper = text;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const bool repeatable = upper.find("RND") == std::string::npos;

  const Outcome first = Evaluate(parser);
  if (repeatable && !(Evaluate(parser) == first)) std::abort();

  TParser copy(parser);
  if (repeatable && !(Evaluate(copy) == first)) std::abort();
  // The copy's cells are its own: changing them leaves the original as it was.
  SetVariables(copy, 0.25);
  const Outcome shifted = Evaluate(copy);
  if (repeatable && !(Evaluate(parser) == first)) std::abort();

  TParser assigned;
  assigned = copy;
  if (repeatable && !(Evaluate(assigned) == shifted)) std::abort();
  TParser moved(std::move(assigned));
  if (repeatable && !(Evaluate(moved) == shifted)) std::abort();
  if (moved.Expression() != text || moved.OperationCodes() != parser.OperationCodes()) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string text(fuzz::AsText(bytes, size));
  Exercise(text, true);
  // Numbers with the user's separator, where the user writes ",".
  if (text.find(',') != std::string::npos) {
    const ScopedDecimalSeparator comma(',');
    Exercise(text, false);
  }
  return 0;
}
