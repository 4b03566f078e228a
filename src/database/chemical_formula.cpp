#include "database/chemical_formula.h"

#include <cctype>
#include <charconv>

#include "common/error.h"

namespace quorrel {

namespace {

constexpr int kDeepestGroup = 16;

//! Reads a formula left to right; groups in parentheses multiply what they hold.
class FormulaReader {
 public:
  explicit FormulaReader(std::string_view text) : text_(text) {}

  std::vector<FormulaPart> read() {
    if (text_.empty()) fail("it is empty");
    std::vector<FormulaPart> parts = group(0);
    if (at_ < text_.size()) fail("')' without '('");
    return parts;
  }

 private:
  std::vector<FormulaPart> group(int depth) {
    if (depth > kDeepestGroup) fail("too many parentheses inside each other");
    std::vector<FormulaPart> parts;
    while (at_ < text_.size() && text_[at_] != ')') {
      const char c = text_[at_];
      if (c == '(') {
        ++at_;
        std::vector<FormulaPart> inner = group(depth + 1);
        if (at_ >= text_.size()) fail("'(' without ')'");
        ++at_;  // ')'
        if (inner.empty()) fail("empty parentheses");
        const double times = count();
        for (FormulaPart& part : inner) {
          part.count *= times;
          parts.push_back(std::move(part));
        }
      } else if (std::isupper(static_cast<unsigned char>(c))) {
        std::string symbol(1, c);
        ++at_;
        if (at_ < text_.size() && std::islower(static_cast<unsigned char>(text_[at_]))) {
          symbol += text_[at_++];
        }
        parts.push_back({symbol, count()});
      } else {
        fail(std::string(1, '\'').append(1, c).append("' is neither an element nor a count"));
      }
    }
    return parts;
  }

  //! The count after an element or group, 1 when none is written.
  double count() {
    const std::size_t start = at_;
    while (at_ < text_.size() &&
           (std::isdigit(static_cast<unsigned char>(text_[at_])) || text_[at_] == '.')) {
      ++at_;
    }
    if (at_ == start) return 1.0;
    double value = 0;
    const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + at_, value);
    if (error != std::errc() || end != text_.data() + at_ || !(value > 0)) {
      at_ = start;
      fail("the count is not a number above 0");
    }
    return value;
  }

  [[noreturn]] void fail(const std::string& why) const {
    // Appended piece by piece: GCC 12 warns falsely about a chain of + here.
    std::string message = "the formula '";
    message.append(text_).append("' cannot be read at character ");
    message.append(std::to_string(at_ + 1)).append(": ").append(why);
    throw QuorrelError(message);
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

std::vector<FormulaPart> ParseFormula(std::string_view formula) {
  return FormulaReader(formula).read();
}

MaterialConstants CompoundConstants(const std::vector<FormulaPart>& parts, double density,
                                    const ElementConstants& elements) {
  MaterialConstants compound{0, density, 0, 0, 0, 0};
  // delta and beta grow with the number of atoms per volume: each element's per atom is
  // its tabulated value over its own atoms per volume (density / weight).
  double deltaPerUnit = 0;
  double betaPerUnit = 0;
  for (const FormulaPart& part : parts) {
    const std::optional<MaterialConstants> element = elements(part.element);
    if (!element) throw QuorrelError("the element " + part.element + " is not in the material table");
    if (!(element->density > 0)) {
      throw QuorrelError("the element " + part.element + " has no density in the material table");
    }
    compound.weight += part.count * element->weight;
    compound.b_coh += part.count * element->b_coh;
    compound.abs_xs += part.count * element->abs_xs;
    deltaPerUnit += part.count * element->delta * element->weight / element->density;
    betaPerUnit += part.count * element->beta * element->weight / element->density;
  }
  if (!(compound.weight > 0)) throw QuorrelError("the formula has no weight");
  compound.delta = deltaPerUnit * density / compound.weight;
  compound.beta = betaPerUnit * density / compound.weight;
  return compound;
}

}  // namespace quorrel
