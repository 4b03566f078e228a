#include "common/number_pattern.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <stdexcept>

namespace quorrel {

namespace {

[[noreturn]] void RefusePattern(std::string_view pattern, const char* reason) {
  throw std::invalid_argument("number pattern \"" + std::string(pattern) + "\": " + reason);
}

//! The `integerDigits` digits before the number's point and the pattern's fraction digits,
//! integer digits padded to the pattern's minimum and optional fraction zeros dropped.
std::string RenderMantissa(const DecimalDigits& number, int integerDigits,
                           const NumberPattern& pattern, char separator) {
  std::string text;
  const int leadingZeros = pattern.minIntegerDigits - integerDigits;
  if (leadingZeros > 0) text.append(static_cast<std::size_t>(leadingZeros), '0');
  const int firstIndex = number.pointPosition - integerDigits;
  for (int i = 0; i < integerDigits; ++i) text.push_back(number.digitAt(firstIndex + i));
  std::string fraction;
  for (int i = 0; i < pattern.maxFractionDigits; ++i) {
    fraction.push_back(number.digitAt(number.pointPosition + i));
  }
  while (static_cast<int>(fraction.size()) > pattern.minFractionDigits &&
         fraction.back() == '0') {
    fraction.pop_back();
  }
  if (!fraction.empty()) {
    text.push_back(separator);
    text += fraction;
  } else if (text.empty()) {
    text.push_back('0');  // a pattern of "#" alone still shows the number
  }
  return text;
}

std::string RenderExponent(int exponent, const ExponentPattern& pattern) {
  std::string text(1, pattern.letter);
  if (exponent < 0) {
    text.push_back('-');
  } else if (pattern.sign == ExponentSign::Always) {
    text.push_back('+');
  }
  char digits[8];
  char* end = std::to_chars(digits, digits + sizeof digits, std::abs(exponent)).ptr;
  const int padding = pattern.minDigits - static_cast<int>(end - digits);
  if (padding > 0) text.append(static_cast<std::size_t>(padding), '0');
  return text.append(digits, end);
}

}  // namespace

NumberPattern ParseNumberPattern(std::string_view pattern) {
  NumberPattern parsed;
  parsed.minIntegerDigits = 0;
  std::size_t i = 0;
  bool integerSlots = false;
  for (; i < pattern.size() && (pattern[i] == '#' || pattern[i] == '0'); ++i) {
    integerSlots = true;
    if (pattern[i] == '0') {
      ++parsed.minIntegerDigits;
    } else if (parsed.minIntegerDigits > 0) {
      RefusePattern(pattern, "\"#\" after \"0\" before the point");
    }
  }
  if (i < pattern.size() && pattern[i] == '.') {
    for (++i; i < pattern.size() && (pattern[i] == '#' || pattern[i] == '0'); ++i) {
      if (pattern[i] == '0') {
        if (parsed.maxFractionDigits > parsed.minFractionDigits) {
          RefusePattern(pattern, "\"0\" after \"#\" after the point");
        }
        ++parsed.minFractionDigits;
      }
      ++parsed.maxFractionDigits;
    }
  }
  if (i < pattern.size() && (pattern[i] == 'E' || pattern[i] == 'e')) {
    ExponentPattern exponent;
    exponent.letter = pattern[i++];
    if (i == pattern.size() || (pattern[i] != '+' && pattern[i] != '-')) {
      RefusePattern(pattern, "exponent without \"+\" or \"-\"");
    }
    exponent.sign = pattern[i++] == '+' ? ExponentSign::Always : ExponentSign::OnlyNegative;
    exponent.minDigits = 0;
    for (; i < pattern.size() && pattern[i] == '0'; ++i) ++exponent.minDigits;
    if (exponent.minDigits == 0) RefusePattern(pattern, "exponent without \"0\"");
    parsed.exponent = exponent;
  }
  if (i != pattern.size()) RefusePattern(pattern, "unknown character");
  if (!integerSlots && parsed.maxFractionDigits == 0) RefusePattern(pattern, "no digits");
  if (parsed.exponent && parsed.minIntegerDigits == 0) {
    RefusePattern(pattern, "scientific notation needs a \"0\" before the point");
  }
  return parsed;
}

std::string RenderNumber(DecimalDigits number, bool negative, const NumberPattern& pattern,
                         char separator) {
  std::string text;
  if (pattern.exponent) {
    // The mantissa carries exactly the pattern's integer digits, so the exponent is
    // whatever puts the first significant digit in front.
    const int integerDigits = pattern.minIntegerDigits;
    RoundToLeadingDigits(number, integerDigits + pattern.maxFractionDigits);
    const int exponent = number.isZero() ? 0 : number.pointPosition - integerDigits;
    number.pointPosition = integerDigits;
    text = RenderMantissa(number, integerDigits, pattern, separator) +
           RenderExponent(exponent, *pattern.exponent);
  } else {
    RoundToLeadingDigits(number, number.pointPosition + pattern.maxFractionDigits);
    const int integerDigits = number.isZero() ? 0 : std::max(number.pointPosition, 0);
    text = RenderMantissa(number, integerDigits, pattern, separator);
  }
  // A value that rounds to zero shows no sign.
  if (negative && !number.isZero()) text.insert(text.begin(), '-');
  return text;
}

}  // namespace quorrel
