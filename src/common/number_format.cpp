#include "common/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include "common/decimal_digits.h"
#include "common/decimal_separator.h"
#include "common/error.h"
#include "common/number_pattern.h"

namespace quorrel {

namespace {

// Every format here starts from DisplayDigits: the value's shortest round-trip digits
// rounded to 15 significant digits, halves away from zero, and rounds those to the digits
// it shows, halves away from zero again. So 1.005 (stored as 1.00499999999999989...)
// shows as 1.01 with "0.00", as the user who typed 1.005 expects.

//! The text of an infinity or NaN, readable rather than a misleading number.
std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

std::string WithSeparator(std::string text, char separator) {
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

//! printf-style "%.*g" text through std::to_chars, which never consults the C locale.
std::string GeneralWithPrecision(double value, int precision) {
  char buffer[40];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, precision);
  return std::string(buffer, result.ptr);
}

bool ReadsBackAs(const std::string& text, double value) {
  double read = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), read);
  return read == value;
}

}  // namespace

std::string FormatPattern(double value, std::string_view pattern, char separator) {
  const NumberPattern parsed = ParseNumberPattern(pattern);
  if (!std::isfinite(value)) return NonFiniteText(value);
  return RenderNumber(DisplayDigits(value), value < 0, parsed, separator);
}

std::string FormatPattern(double value, std::string_view pattern) {
  return FormatPattern(value, pattern, DecimalSeparator());
}

std::string FormatGeneral(double value, char separator) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  const DecimalDigits number = DisplayDigits(value);
  if (number.isZero()) return "0";
  const int significant = static_cast<int>(number.digits.size());
  // The notation follows the rounded value, so 999999999999999.9 shows as "1E15".
  const int exponent = number.pointPosition - 1;
  NumberPattern pattern;
  if (exponent >= -5 && exponent < 15) {
    pattern.maxFractionDigits = std::max(significant - number.pointPosition, 0);
  } else {
    pattern.maxFractionDigits = significant - 1;
    pattern.exponent = ExponentPattern{'E', ExponentSign::OnlyNegative, 1};
  }
  return RenderNumber(number, value < 0, pattern, separator);
}

std::string FormatGeneral(double value) { return FormatGeneral(value, DecimalSeparator()); }

std::string FormatPrintfG(double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  // "%g" with its six digits unless the value needs more to read back unchanged.
  const int shortest = static_cast<int>(ShortestDigits(value).digits.size());
  std::string text;
  for (int precision = std::max(shortest, 6); precision <= 17; ++precision) {
    text = GeneralWithPrecision(value, precision);
    if (ReadsBackAs(text, value)) break;
  }
  return WithSeparator(std::move(text), DecimalSeparator());
}

std::string FormatPrintfD(long long value) {
  char buffer[24];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string FormatPrintfU(unsigned long long value) {
  char buffer[24];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string FormatFixedReal(double value) {
  if (!std::isfinite(value)) {
    // A model file line that no reader accepts would lose the rest of the file.
    throw ArithmeticFault("the value " + NonFiniteText(value) +
                          " cannot be written as a real line of a model file");
  }
  // Exponents of doubles have at most three digits, so the width is always 23.
  static const NumberPattern kFixedReal = ParseNumberPattern("0.00000000000000E+0000");
  std::string text = RenderNumber(DisplayDigits(value), value < 0, kFixedReal, '.');
  if (text.front() != '-') text.insert(text.begin(), ' ');
  return text;
}

std::string FormatFull(double value, char separator) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  return WithSeparator(GeneralWithPrecision(value, 17), separator);
}

}  // namespace quorrel
