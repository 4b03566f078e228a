#pragma once
// A parsed number pattern ("0.000E+00", "##0.##", ...) and its rendering of decimal digits.

#include <optional>
#include <string>
#include <string_view>

#include "common/decimal_digits.h"

namespace quorrel {

//! When an exponent shows its sign.
enum class ExponentSign { Always, OnlyNegative };

//! The exponent part of a pattern: its letter, sign rule and minimum digit count.
struct ExponentPattern {
  char letter = 'E';
  ExponentSign sign = ExponentSign::OnlyNegative;
  int minDigits = 1;
};

//! What a pattern asks for: integer digits always shown, fraction digits always shown and
//! at most shown, and an optional exponent.
struct NumberPattern {
  int minIntegerDigits = 1;
  int minFractionDigits = 0;
  int maxFractionDigits = 0;
  std::optional<ExponentPattern> exponent;
};

//! Reads the pattern notation; text outside it throws std::invalid_argument naming the
//! pattern, as patterns are fixed in the program.
NumberPattern ParseNumberPattern(std::string_view pattern);

//! Rounds `number` to the digits the pattern shows and writes it, with a leading "-"
//! for a negative value that does not round to zero.
std::string RenderNumber(DecimalDigits number, bool negative, const NumberPattern& pattern,
                         char separator);

}  // namespace quorrel
