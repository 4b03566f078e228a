#include "parser/term_recogniser.h"

#include <string>

#include "parser/parser_errors.h"

namespace quorrel {

// Tests whose results are remembered; the binary ones share their values with TermForm.
enum class TermRecogniser::Test : std::uint8_t {
  UnaryMinus = static_cast<std::uint8_t>(TermForm::UnaryMinus),
  Plus = static_cast<std::uint8_t>(TermForm::Plus),
  Minus = static_cast<std::uint8_t>(TermForm::Minus),
  Times = static_cast<std::uint8_t>(TermForm::Times),
  Div = static_cast<std::uint8_t>(TermForm::Div),
  Mod = static_cast<std::uint8_t>(TermForm::Mod),
  Divide = static_cast<std::uint8_t>(TermForm::Divide),
  Power = static_cast<std::uint8_t>(TermForm::Power),
  Function1 = static_cast<std::uint8_t>(TermForm::Function1),
  Function2 = static_cast<std::uint8_t>(TermForm::Function2),
  BracketForm,
  ValidExpression,
};

namespace {

// Deeper recursion than this only comes from texts far beyond 20 levels of operations
// (thousands of brackets or terms); refusing them keeps the stack safe.
constexpr int kMaxRecursion = 1000;
// Steps of the search (tests run and balanced splits examined). Typed expressions need a
// few thousand; one of 763 operations near the limits of 20 levels and 50 operations per
// level needs about five million. Beyond this a text is refused instead of taking minutes
// and gigabytes.
constexpr long long kMaxSearchSteps = 10'000'000;

std::string_view Symbol(TermForm op) {
  switch (op) {
    case TermForm::Plus:
      return "+";
    case TermForm::Minus:
      return "-";
    case TermForm::Times:
      return "*";
    case TermForm::Div:
      return "DIV";
    case TermForm::Mod:
      return "MOD";
    case TermForm::Divide:
      return "/";
    case TermForm::Power:
      return "^";
    default:
      return {};
  }
}

// Characters whose counts in any part are looked up in constant time: brackets for the
// balance of split sides, operator symbols (and the first letters of DIV and MOD) to rule
// out splits of parts that cannot contain them.
constexpr std::string_view kCountedCharacters = "()+-*/^DM";

//! Operand forms, besides the basic ones, as a set of bits over TermForm.
using FormSet = unsigned;
constexpr FormSet Bit(TermForm f) { return 1u << static_cast<unsigned>(f); }
constexpr FormSet kCalls = Bit(TermForm::Function1) | Bit(TermForm::Function2);
constexpr FormSet kFactorForms =
    Bit(TermForm::Div) | Bit(TermForm::Mod) | Bit(TermForm::Divide) | Bit(TermForm::Power) | kCalls;

FormSet LeftForms(TermForm op) {
  switch (op) {
    case TermForm::Plus:
    case TermForm::Minus:
      return Bit(TermForm::UnaryMinus) | Bit(TermForm::Minus) | Bit(TermForm::Times) | kFactorForms;
    case TermForm::Times:
    case TermForm::Div:
    case TermForm::Mod:
    case TermForm::Divide:
      return Bit(TermForm::UnaryMinus) | kFactorForms;
    default:
      return kCalls;
  }
}

FormSet RightForms(TermForm op) {
  switch (op) {
    case TermForm::Plus:
      return Bit(TermForm::Plus) | Bit(TermForm::Minus) | Bit(TermForm::Times) | kFactorForms;
    case TermForm::Minus:
    case TermForm::Times:
      return Bit(TermForm::Times) | kFactorForms;
    case TermForm::Div:
    case TermForm::Mod:
    case TermForm::Divide:
      return Bit(TermForm::Power) | kCalls;
    default:
      return kCalls;
  }
}

constexpr TermForm kOperandForms[] = {TermForm::UnaryMinus, TermForm::Plus,  TermForm::Minus,
                                      TermForm::Times,      TermForm::Div,   TermForm::Mod,
                                      TermForm::Divide,     TermForm::Power, TermForm::Function1,
                                      TermForm::Function2};

constexpr TermForm kBinaryForms[] = {TermForm::Plus, TermForm::Minus, TermForm::Times,
                                     TermForm::Div,  TermForm::Mod,   TermForm::Divide,
                                     TermForm::Power};

//! Counts the recursion of the form tests for as long as it lives.
class RecursionGuard {
 public:
  explicit RecursionGuard(int& depth) : depth_(depth) {
    if (++depth_ > kMaxRecursion) {
      --depth_;
      throw ETooManyNestings();
    }
  }
  ~RecursionGuard() { --depth_; }
  RecursionGuard(const RecursionGuard&) = delete;
  RecursionGuard& operator=(const RecursionGuard&) = delete;

 private:
  int& depth_;
};

}  // namespace

TermRecogniser::TermRecogniser(std::string_view text, const TermLookup& lookup)
    : text_(text), lookup_(lookup), counts_(kCountedCharacters.size()) {
  for (std::size_t k = 0; k < kCountedCharacters.size(); ++k) {
    std::vector<int>& count = counts_[k];
    count.resize(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
      count[i + 1] = count[i] + (text[i] == kCountedCharacters[k] ? 1 : 0);
    }
  }
}

int TermRecogniser::CountBefore(char c, std::size_t end) const {
  return counts_[kCountedCharacters.find(c)][end];
}

int TermRecogniser::Count(char c, std::string_view t) const {
  const std::size_t begin = Offset(t);
  return CountBefore(c, begin + t.size()) - CountBefore(c, begin);
}

bool TermRecogniser::Balanced(std::string_view t) const { return Count('(', t) == Count(')', t); }

bool TermRecogniser::MayBeAtom(std::string_view t) const {
  for (const char c : std::string_view("()*/^")) {
    if (Count(c, t) > 0) return false;
  }
  return Count('+', t) + Count('-', t) <= 2;
}

bool TermRecogniser::MayContain(std::string_view symbol, std::string_view t) const {
  return Count(symbol.front(), t) > 0;
}

void TermRecogniser::Step() const {
  if (++steps_ > kMaxSearchSteps) throw EExpressionTooComplex();
}

bool TermRecogniser::Excluded(Test test, std::string_view t) const {
  switch (test) {
    case Test::UnaryMinus:
      return t.empty() || t.front() != '-';
    case Test::Function1:
      return t.empty() || t.back() != ')';
    case Test::Function2:
      return t.empty() || t.back() != ')';
    case Test::BracketForm:
      return t.size() < 2 || t.front() != '(' || t.back() != ')';
    case Test::ValidExpression:
      return t.empty();
    default:
      return !MayContain(Symbol(static_cast<TermForm>(test)), t);
  }
}

bool TermRecogniser::Passes(Test test, std::string_view t) const {
  // Most parts fail on a glance; only the others are remembered.
  if (Excluded(test, t)) return false;
  const auto offset = static_cast<std::uint64_t>(t.data() - text_.data());
  const std::uint64_t key = (static_cast<std::uint64_t>(test) << 56) | (offset << 28) |
                            static_cast<std::uint64_t>(t.size());
  if (const auto found = memo_.find(key); found != memo_.end()) return found->second;
  const RecursionGuard guard(depth_);
  Step();
  const bool result = Evaluate(test, t);
  memo_.emplace(key, result);
  return result;
}

bool TermRecogniser::Evaluate(Test test, std::string_view t) const {
  switch (test) {
    case Test::UnaryMinus:
      return IsUnaryMinus(t);
    case Test::Function1:
      return IsFunction1Call(t);
    case Test::Function2:
      return Function2Comma(t).has_value();
    case Test::BracketForm:
      return IsBracketForm(t);
    case Test::ValidExpression:
      return IsValidExpression(t);
    default:
      return FindSplit(static_cast<TermForm>(test), t, nullptr).has_value();
  }
}

bool TermRecogniser::IsBasic(std::string_view t) const {
  return IsVariable(t) || Number(t) || Passes(Test::BracketForm, t);
}

bool TermRecogniser::IsBracketForm(std::string_view t) const {
  return t.size() >= 2 && t.front() == '(' && t.back() == ')' &&
         Passes(Test::ValidExpression, t.substr(1, t.size() - 2));
}

bool TermRecogniser::IsValidExpression(std::string_view t) const {
  if (t.empty()) return false;
  if (Number(t) || IsVariable(t)) return true;
  for (const TermForm form : kOperandForms) {
    if (Passes(static_cast<Test>(form), t)) return true;
  }
  return Passes(Test::BracketForm, t);
}

bool TermRecogniser::IsUnaryMinus(std::string_view t) const {
  if (t.empty() || t.front() != '-') return false;
  const std::string_view operand = t.substr(1);
  return Passes(Test::BracketForm, operand) || IsVariable(operand) ||
         Passes(Test::Power, operand) || Passes(Test::Function1, operand) ||
         Passes(Test::Function2, operand);
}

bool TermRecogniser::IsFunction1Call(std::string_view t) const {
  if (Count('(', t) == 0) return false;
  const std::size_t open = t.find('(');
  return open != std::string_view::npos && open >= 1 &&
         lookup_.Function1(t.substr(0, open)) != nullptr &&
         Passes(Test::BracketForm, t.substr(open));
}

std::optional<std::size_t> TermRecogniser::Function2Comma(std::string_view t) const {
  if (t.empty() || t.back() != ')') return std::nullopt;
  const std::size_t open = t.find('(');
  if (open == std::string_view::npos || open == 0 ||
      lookup_.Function2(t.substr(0, open)) == nullptr) {
    return std::nullopt;
  }
  const std::string_view inside = t.substr(open + 1, t.size() - open - 2);
  for (std::size_t comma = inside.find(','); comma != std::string_view::npos;
       comma = inside.find(',', comma + 1)) {
    if (comma == 0 || comma + 1 == inside.size()) continue;
    Step();
    if (Passes(Test::ValidExpression, inside.substr(0, comma)) &&
        Passes(Test::ValidExpression, inside.substr(comma + 1))) {
      return comma;
    }
  }
  return std::nullopt;
}

std::optional<std::size_t> TermRecogniser::FindSplit(TermForm op, std::string_view t,
                                                     Attempt* attempt) const {
  const std::string_view symbol = Symbol(op);
  if (!MayContain(symbol, t)) return std::nullopt;
  // The operators whose left operand may be the same operation group to the left, so only
  // their last occurrence can split a term: they are searched from the right, which finds it
  // at once. The others are searched from the left. Either way the one split that fits is
  // found, and a long chain is taken apart in linear time.
  const bool fromRight =
      (LeftForms(op) & Bit(op)) != 0 && (RightForms(op) & Bit(op)) == 0;
  const auto next = [&](std::size_t from) {
    if (!fromRight) return from == std::string_view::npos ? t.find(symbol) : t.find(symbol, from + 1);
    if (from == std::string_view::npos) return t.rfind(symbol);
    return from == 0 ? std::string_view::npos : t.rfind(symbol, from - 1);
  };
  bool recorded = false;
  for (std::size_t at = next(std::string_view::npos); at != std::string_view::npos; at = next(at)) {
    if (at == 0 || at + symbol.size() >= t.size()) continue;
    const std::string_view left = t.substr(0, at);
    const std::string_view right = t.substr(at + symbol.size());
    // A syntax error names the last split tried from the left: from the right, the first.
    if (attempt != nullptr && !(fromRight && recorded)) *attempt = {true, left, right};
    recorded = true;
    if (!Balanced(left) || !Balanced(right)) continue;
    Step();
    if (LeftOperandFits(op, left) && RightOperandFits(op, right)) return at;
  }
  return std::nullopt;
}

bool TermRecogniser::LeftOperandFits(TermForm op, std::string_view side) const {
  if (IsBasic(side)) return true;
  const FormSet forms = LeftForms(op);
  for (const TermForm form : kOperandForms) {
    if ((forms & Bit(form)) != 0 && Passes(static_cast<Test>(form), side)) return true;
  }
  return false;
}

bool TermRecogniser::RightOperandFits(TermForm op, std::string_view side) const {
  if (IsBasic(side)) return true;
  const FormSet forms = RightForms(op);
  for (const TermForm form : kOperandForms) {
    if ((forms & Bit(form)) != 0 && Passes(static_cast<Test>(form), side)) return true;
  }
  return false;
}

std::string_view TermRecogniser::StripBrackets(std::string_view text) const {
  while (Passes(Test::BracketForm, text)) text = text.substr(1, text.size() - 2);
  return text;
}

Term TermRecogniser::Classify(std::string_view term) const {
  Term result;
  if (IsVariable(term)) {
    result.form = TermForm::Variable;
    return result;
  }
  if (Number(term)) {
    result.form = TermForm::Number;
    return result;
  }
  if (Passes(Test::UnaryMinus, term)) {
    result.form = TermForm::UnaryMinus;
    result.operands = {StripBrackets(term.substr(1))};
    return result;
  }
  Attempt attempt;
  for (const TermForm op : kBinaryForms) {
    const auto at = FindSplit(op, term, &attempt);
    if (!at) continue;
    const std::string_view left = term.substr(0, *at);
    const std::string_view right = term.substr(*at + Symbol(op).size());
    result.form = op;
    result.operands = {StripBrackets(left), StripBrackets(right)};
    if (op == TermForm::Power && !IsVariable(right)) {
      result.constantExponent = Number(right);
    }
    return result;
  }
  if (Passes(Test::Function1, term)) {
    const std::size_t open = term.find('(');
    result.form = TermForm::Function1;
    result.name = term.substr(0, open);
    result.operands = {StripBrackets(term.substr(open))};
    return result;
  }
  if (const auto comma = Function2Comma(term)) {
    const std::size_t open = term.find('(');
    const std::string_view inside = term.substr(open + 1, term.size() - open - 2);
    result.form = TermForm::Function2;
    result.name = term.substr(0, open);
    result.operands = {StripBrackets(inside.substr(0, *comma)),
                       StripBrackets(inside.substr(*comma + 1))};
    return result;
  }
  if (attempt.made) throw ESyntaxError(std::string(attempt.left), std::string(attempt.right));
  throw ESyntaxError(std::string(term));
}

}  // namespace quorrel
