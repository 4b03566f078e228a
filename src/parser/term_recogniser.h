#pragma once
// The recogniser of the expression language: classifies a term by the first of the term
// forms that it passes and yields its operand texts. Precedence and grouping follow from
// which operand forms each side of an operator admits.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "parser/parser_functions.h"

namespace quorrel {

//! The names and numbers a recogniser must know about.
class TermLookup {
 public:
  virtual ~TermLookup() = default;
  //! The variable's position in the table of variable cells.
  virtual std::optional<int> VariableIndex(std::string_view name) const = 0;
  //! The routine of a one- or two-argument function, or nullptr for an unknown name.
  virtual UnaryFunction Function1(std::string_view name) const = 0;
  virtual BinaryFunction Function2(std::string_view name) const = 0;
  //! The value of a whole text that is a number ("PI" and "-PI" included).
  virtual std::optional<double> ReadNumber(std::string_view text) const = 0;
};

//! The term forms, in the order in which a term is tested against them.
enum class TermForm : std::uint8_t {
  Variable,
  Number,
  UnaryMinus,
  Plus,
  Minus,
  Times,
  Div,
  Mod,
  Divide,
  Power,
  Function1,
  Function2,
};

//! A classified term: its form and the texts of its operands, enclosing brackets removed.
struct Term {
  TermForm form = TermForm::Variable;
  std::string_view name;  // the function's name, for a call
  std::vector<std::string_view> operands;
  //! For a power: whether the right side is a number, and which.
  std::optional<double> constantExponent;
};

//! Works on one upper-cased, blank-free text; every term it handles is a part of it.
//! Results of the form tests are remembered per part, which keeps long expressions from
//! taking exponential time.
class TermRecogniser {
 public:
  TermRecogniser(std::string_view text, const TermLookup& lookup);

  //! The form of `term` and its operands; ESyntaxError when it passes no form.
  Term Classify(std::string_view term) const;

  //! `text` without its enclosing bracket forms.
  std::string_view StripBrackets(std::string_view text) const;

 private:
  enum class Test : std::uint8_t;
  struct Attempt {
    bool made = false;
    std::string_view left;
    std::string_view right;
  };

  //! Whether `t` may be a number or a name: at most two signs and no other operator, bracket
  //! or comma. Decided from the counts, so long parts are ruled out without reading them.
  bool MayBeAtom(std::string_view t) const;
  bool IsVariable(std::string_view t) const {
    return MayBeAtom(t) && lookup_.VariableIndex(t).has_value();
  }
  std::optional<double> Number(std::string_view t) const {
    return MayBeAtom(t) ? lookup_.ReadNumber(t) : std::nullopt;
  }
  //! Counts one step of the search; EExpressionTooComplex past the limit.
  void Step() const;
  //! Whether a glance at the ends and the counts rules the test out.
  bool Excluded(Test test, std::string_view t) const;
  bool Passes(Test test, std::string_view t) const;
  bool Evaluate(Test test, std::string_view t) const;
  bool IsBasic(std::string_view t) const;
  bool IsBracketForm(std::string_view t) const;
  bool IsValidExpression(std::string_view t) const;
  bool IsUnaryMinus(std::string_view t) const;
  bool IsFunction1Call(std::string_view t) const;
  std::optional<std::size_t> Function2Comma(std::string_view t) const;
  std::optional<std::size_t> FindSplit(TermForm op, std::string_view t,
                                       Attempt* attempt) const;
  bool LeftOperandFits(TermForm op, std::string_view side) const;
  bool RightOperandFits(TermForm op, std::string_view side) const;

  //! Occurrences of `c` among the first `end` characters of the text.
  int CountBefore(char c, std::size_t end) const;
  //! Occurrences of `c` in the part `t`.
  int Count(char c, std::string_view t) const;
  bool Balanced(std::string_view t) const;
  //! Whether `symbol` may occur in `t`; false rules a split out without a search.
  bool MayContain(std::string_view symbol, std::string_view t) const;
  std::size_t Offset(std::string_view t) const {
    return static_cast<std::size_t>(t.data() - text_.data());
  }

  std::string_view text_;
  const TermLookup& lookup_;
  //! For each character of kCountedCharacters, its count before each position.
  std::vector<std::vector<int>> counts_;
  mutable std::unordered_map<std::uint64_t, bool> memo_;
  mutable int depth_ = 0;
  mutable long long steps_ = 0;
};

}  // namespace quorrel
