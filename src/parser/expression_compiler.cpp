#include "parser/expression_compiler.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "parser/parser_errors.h"

namespace quorrel {

namespace {

OpCode BinaryCode(const Term& term) {
  switch (term.form) {
    case TermForm::Plus:
      return OpCode::Add;
    case TermForm::Minus:
      return OpCode::Subtract;
    case TermForm::Times:
      return OpCode::Multiply;
    case TermForm::Div:
      return OpCode::Div;
    case TermForm::Mod:
      return OpCode::Mod;
    case TermForm::Divide:
      return OpCode::Divide;
    default:
      break;
  }
  // A power: small constant exponents avoid the logarithm of the general power.
  if (!term.constantExponent) return OpCode::Power;
  const double y = *term.constantExponent;
  if (std::trunc(y) != y) return OpCode::Power;
  if (y == 2.0) return OpCode::Square;
  if (y == 3.0) return OpCode::Cube;
  if (y == 4.0) return OpCode::FourthPower;
  return OpCode::WholePower;
}

//! Builds the operations of one text, term by term, counting operations per level.
class Builder {
 public:
  Builder(std::string_view text, const TermLookup& lookup)
      : lookup_(lookup), recogniser_(text, lookup) {}

  CompiledExpression Build(std::string_view text) {
    const std::string_view top = recogniser_.StripBrackets(text);
    const Term term = recogniser_.Classify(top);
    if (term.form == TermForm::Variable || term.form == TermForm::Number) {
      // A lone operand still gets one record, whose result is the operand's cell.
      Operation op;
      op.code = term.form == TermForm::Variable ? OpCode::Variable : OpCode::Constant;
      op.leftRef = Leaf(term, top);
      return CompiledExpression({op}, std::move(constants_));
    }
    Place(term, 1);
    return Link();
  }

 private:
  struct Placed {
    Operation op;
    int level;
  };

  CellRef Leaf(const Term& term, std::string_view text) {
    if (term.form == TermForm::Variable) {
      return {CellRef::Source::Variable, *lookup_.VariableIndex(text)};
    }
    constants_.push_back(*lookup_.ReadNumber(text));
    return {CellRef::Source::Constant, static_cast<int>(constants_.size()) - 1};
  }

  CellRef Operand(std::string_view text, int level) {
    const Term term = recogniser_.Classify(text);
    if (term.form == TermForm::Variable || term.form == TermForm::Number) return Leaf(term, text);
    return Place(term, level);
  }

  //! The record of `term` at `level`, its operands one level deeper.
  CellRef Place(const Term& term, int level) {
    if (level > kMaxLevels) throw ETooManyNestings();
    if (++perLevel_[static_cast<std::size_t>(level)] > kMaxLevelOperations) {
      throw EExpressionTooComplex();
    }
    const auto index = static_cast<int>(placed_.size());
    placed_.push_back({Operation{}, level});
    Operation op;
    switch (term.form) {
      case TermForm::UnaryMinus:
        op.code = OpCode::Negate;
        break;
      case TermForm::Function1:
        op.code = OpCode::Function1;
        op.function1 = lookup_.Function1(term.name);
        break;
      case TermForm::Function2:
        op.code = OpCode::Function2;
        op.function2 = lookup_.Function2(term.name);
        break;
      default:
        op.code = BinaryCode(term);
        break;
    }
    op.leftRef = Operand(term.operands.at(0), level + 1);
    if (IsBinary(op.code)) {
      if (term.operands.size() < 2) throw EParserInternalError();
      op.rightRef = Operand(term.operands[1], level + 1);
    }
    placed_[static_cast<std::size_t>(index)].op = op;
    return {CellRef::Source::Result, index};
  }

  //! All records of the deepest level first, up to level 1, whose record comes last.
  CompiledExpression Link() {
    std::vector<int> order(placed_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
      return placed_[static_cast<std::size_t>(a)].level >
             placed_[static_cast<std::size_t>(b)].level;
    });
    std::vector<int> position(placed_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
      position[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    }
    std::vector<Operation> operations;
    operations.reserve(order.size());
    for (const int i : order) {
      Operation op = placed_[static_cast<std::size_t>(i)].op;
      for (CellRef* ref : {&op.leftRef, &op.rightRef}) {
        if (ref->source == CellRef::Source::Result) {
          ref->index = position[static_cast<std::size_t>(ref->index)];
        }
      }
      operations.push_back(op);
    }
    return CompiledExpression(std::move(operations), std::move(constants_));
  }

  const TermLookup& lookup_;
  TermRecogniser recogniser_;
  std::vector<Placed> placed_;
  std::vector<double> constants_;
  std::array<int, kMaxLevels + 1> perLevel_{};
};

std::string Prepared(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const std::size_t first = upper.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return upper.substr(first, upper.find_last_not_of(' ') - first + 1);
}

// The recogniser keys its memory on 28-bit positions; nothing near this long compiles.
constexpr std::size_t kMaxTextLength = std::size_t{1} << 27;

}  // namespace

CompiledExpression CompileExpression(std::string_view text, const TermLookup& lookup) {
  const std::string prepared = Prepared(text);
  if (prepared.find(' ') != std::string::npos) throw EExpressionHasBlanks();
  if (std::count(prepared.begin(), prepared.end(), '(') !=
      std::count(prepared.begin(), prepared.end(), ')')) {
    throw EMissMatchingBracket();
  }
  if (prepared.size() > kMaxTextLength) throw EExpressionTooComplex();
  Builder builder(prepared, lookup);
  return builder.Build(prepared);
}

}  // namespace quorrel
