#include "parser/custom_parser.h"

#include <numbers>
#include <stdexcept>
#include <utility>

#include "common/decimal_separator.h"
#include "common/number_conversion.h"
#include "parser/expression_compiler.h"

namespace quorrel {

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool IsIdentifier(std::string_view name) {
  const auto letter = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  };
  if (name.empty() || !letter(name.front())) return false;
  for (const char c : name) {
    if (!letter(c) && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}

}  // namespace

//! What the recogniser asks of the tables.
class TCustomParser::Lookup final : public TermLookup {
 public:
  explicit Lookup(const TCustomParser& parser) : parser_(parser) {}

  std::optional<int> VariableIndex(std::string_view name) const override {
    const auto found = parser_.variables_.find(name);
    if (found == parser_.variables_.end()) return std::nullopt;
    return found->second;
  }
  UnaryFunction Function1(std::string_view name) const override {
    const auto found = parser_.functions1_.find(name);
    return found == parser_.functions1_.end() ? nullptr : found->second;
  }
  BinaryFunction Function2(std::string_view name) const override {
    const auto found = parser_.functions2_.find(name);
    return found == parser_.functions2_.end() ? nullptr : found->second;
  }
  std::optional<double> ReadNumber(std::string_view text) const override {
    if (text == "PI") return std::numbers::pi;
    if (text == "-PI") return -std::numbers::pi;
    const char separator = parser_.pointNumberFormat_ ? '.' : DecimalSeparator();
    // The recogniser asks about many long parts; most are ruled out by one character.
    // This also keeps out the tabs that the locale conversion would skip.
    for (const char c : text) {
      if (!((c >= '0' && c <= '9') || c == separator || c == 'E' || c == '+' || c == '-')) {
        return std::nullopt;
      }
    }
    return LocaleToDouble(text, separator);
  }

 private:
  const TCustomParser& parser_;
};

TCustomParser::TCustomParser(const TCustomParser& other)
    : OnParserError(other.OnParserError),
      expression_(other.expression_),
      pointNumberFormat_(other.pointNumberFormat_),
      compileFailed_(other.compileFailed_),
      variableCells_(other.variableCells_),
      variables_(other.variables_),
      compiled_(other.compiled_),
      functions1_(other.functions1_),
      functions2_(other.functions2_) {
  compiled_.Bind(variableCells_);
}

TCustomParser& TCustomParser::operator=(const TCustomParser& other) {
  if (this != &other) {
    TCustomParser copy(other);
    *this = std::move(copy);
  }
  return *this;
}

TCustomParser::TCustomParser(TCustomParser&& other) noexcept
    : OnParserError(std::move(other.OnParserError)),
      expression_(std::move(other.expression_)),
      pointNumberFormat_(other.pointNumberFormat_),
      compileFailed_(other.compileFailed_),
      variableCells_(std::move(other.variableCells_)),
      variables_(std::move(other.variables_)),
      compiled_(std::move(other.compiled_)),
      functions1_(std::move(other.functions1_)),
      functions2_(std::move(other.functions2_)) {
  compiled_.Bind(variableCells_);
}

TCustomParser& TCustomParser::operator=(TCustomParser&& other) noexcept {
  OnParserError = std::move(other.OnParserError);
  expression_ = std::move(other.expression_);
  pointNumberFormat_ = other.pointNumberFormat_;
  compileFailed_ = other.compileFailed_;
  variableCells_ = std::move(other.variableCells_);
  variables_ = std::move(other.variables_);
  compiled_ = std::move(other.compiled_);
  functions1_ = std::move(other.functions1_);
  functions2_ = std::move(other.functions2_);
  compiled_.Bind(variableCells_);
  return *this;
}

bool TCustomParser::SetExpression(const std::string& text) {
  compiled_ = CompiledExpression();
  expression_ = text;
  compileFailed_ = false;
  if (text.empty()) return true;
  try {
    CompiledExpression compiled = CompileExpression(text, Lookup(*this));
    compiled.Bind(variableCells_);
    compiled_ = std::move(compiled);
    return true;
  } catch (const EMathParserError& error) {
    compileFailed_ = true;
    if (!OnParserError) throw;
    OnParserError(*this, error);
    return false;
  }
}

double& TCustomParser::SetVariableValue(std::string_view name, double value) {
  const std::string upper = Upper(name);
  if (const auto found = variables_.find(upper); found != variables_.end()) {
    double& cell = VariableCell(found->second);
    cell = value;
    return cell;
  }
  if (!IsIdentifier(upper)) throw EBadName(upper);
  double& cell = VariableCell(AddVariable(upper));
  cell = value;
  return cell;
}

int TCustomParser::AddVariable(const std::string& name) {
  if (const auto found = variables_.find(name); found != variables_.end()) return found->second;
  variableCells_.push_back(0.0);
  const auto index = static_cast<int>(variableCells_.size()) - 1;
  variables_.emplace(name, index);
  return index;
}

void TCustomParser::AddFunction1(const std::string& name, UnaryFunction function) {
  if (!functions1_.emplace(name, function).second) {
    throw std::invalid_argument("function " + name + " is registered twice");
  }
}

void TCustomParser::AddFunction2(const std::string& name, BinaryFunction function) {
  if (!functions2_.emplace(name, function).second) {
    throw std::invalid_argument("function " + name + " is registered twice");
  }
}

std::vector<OpCode> TCustomParser::OperationCodes() const {
  std::vector<OpCode> codes;
  for (const Operation& op : compiled_.operations()) codes.push_back(op.code);
  return codes;
}

}  // namespace quorrel
