#include "common/decimal_digits.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>

namespace quorrel {

namespace {

constexpr int kDisplayPrecision = 15;

//! The digits of |value| in std::to_chars' scientific notation, shortest or with
//! `precision` digits after the point.
DecimalDigits ScientificDigits(double value, std::optional<int> precision) {
  DecimalDigits number;
  value = std::fabs(value);
  if (value == 0.0) return number;
  char buffer[40];
  const auto result =
      precision ? std::to_chars(buffer, buffer + sizeof buffer, value,
                                std::chars_format::scientific, *precision)
                : std::to_chars(buffer, buffer + sizeof buffer, value,
                                std::chars_format::scientific);
  // The text reads like "4.1e-06".
  const char* cursor = buffer;
  for (; cursor != result.ptr && *cursor != 'e'; ++cursor) {
    if (*cursor != '.') number.digits.push_back(*cursor);
  }
  int exponent = 0;
  const char* exponentStart = cursor + 1;
  if (*exponentStart == '+') ++exponentStart;
  std::from_chars(exponentStart, result.ptr, exponent);
  number.pointPosition = exponent + 1;
  while (!number.digits.empty() && number.digits.back() == '0') number.digits.pop_back();
  return number;
}

}  // namespace

char DecimalDigits::digitAt(int index) const {
  if (index < 0 || index >= static_cast<int>(digits.size())) return '0';
  return digits[static_cast<std::size_t>(index)];
}

DecimalDigits ShortestDigits(double value) { return ScientificDigits(value, std::nullopt); }

namespace {

//! Whether the digits stand for a value beyond the largest double, which no reader would
//! take back.
bool BeyondTheLargestDouble(const DecimalDigits& number) {
  if (number.isZero()) return false;
  const std::string text = "0." + number.digits + "e" + std::to_string(number.pointPosition);
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc::result_out_of_range && number.pointPosition > 0;
}

//! Adds one unit of the last digit. Nines become trailing zeros, which are dropped at once.
void AddOneInLastDigit(DecimalDigits& number) {
  while (!number.digits.empty() && number.digits.back() == '9') number.digits.pop_back();
  if (number.digits.empty()) {
    number.digits.push_back('1');
    ++number.pointPosition;
  } else {
    ++number.digits.back();
  }
}

}  // namespace

void RoundToLeadingDigits(DecimalDigits& number, int count) {
  if (count >= static_cast<int>(number.digits.size())) return;
  if (count < 0) {
    number.digits.clear();
    return;
  }
  const bool roundUp = number.digits[static_cast<std::size_t>(count)] >= '5';
  number.digits.resize(static_cast<std::size_t>(count));
  if (roundUp && number.pointPosition >= std::numeric_limits<double>::max_exponent10 + 1) {
    // Rounding the largest doubles up would write a number that cannot be read back: they
    // are cut instead.
    DecimalDigits up = number;
    AddOneInLastDigit(up);
    if (!BeyondTheLargestDouble(up)) number = std::move(up);
  } else if (roundUp) {
    AddOneInLastDigit(number);
  }
  while (!number.digits.empty() && number.digits.back() == '0') number.digits.pop_back();
}

DecimalDigits DisplayDigits(double value) {
  // A normal double has more than 15 digits of precision, so when its shortest digits are
  // 15 or fewer they are its 15-digit rounding; when longer, rounding them gives the same
  // result except that a typed half (...5 as the 16th digit) goes away from zero. A
  // subnormal has fewer digits of precision, so its shortest digits ("5e-324") would
  // be too coarse: round its exact expansion instead (it cannot sit on a half).
  if (std::fabs(value) < std::numeric_limits<double>::min()) {
    return ScientificDigits(value, kDisplayPrecision - 1);
  }
  DecimalDigits number = ShortestDigits(value);
  RoundToLeadingDigits(number, kDisplayPrecision);
  return number;
}

}  // namespace quorrel
