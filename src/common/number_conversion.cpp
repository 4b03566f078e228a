#include "common/number_conversion.h"

#include <charconv>
#include <string>

#include "common/decimal_separator.h"

namespace quorrel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<double> LocaleToDouble(std::string_view text, char separator) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Rebuild the number in the form std::from_chars reads, checking the grammar on the way.
  std::string normal;
  normal.reserve(text.size() + 1);
  std::size_t i = 0;
  int digits = 0;
  int integerSignificant = 0;  // integer digits from the first non-zero one
  int fractionLeadingZeros = 0;
  bool seenSeparator = false;
  bool seenNonZero = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      ++digits;
      if (!seenSeparator) {
        if (c != '0' || integerSignificant > 0) ++integerSignificant;
      } else if (!seenNonZero && c == '0') {
        ++fractionLeadingZeros;
      }
      if (c != '0') seenNonZero = true;
      normal.push_back(c);
    } else if (c == separator && !seenSeparator) {
      seenSeparator = true;
      normal.push_back('.');
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  long long exponent = 0;
  if (i < text.size()) {
    if (text[i] != 'e' && text[i] != 'E') return std::nullopt;
    normal.push_back('e');
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      normal.push_back(text[i++]);
    }
    const std::size_t exponentStart = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      normal.push_back(text[i]);
      if (exponent < 1000000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (i == exponentStart || i != text.size()) return std::nullopt;
    if (negativeExponent) exponent = -exponent;
  }
  if (!seenNonZero) return negative ? -0.0 : 0.0;
  double value = 0.0;
  const auto [end, error] =
      std::from_chars(normal.data(), normal.data() + normal.size(), value,
                      std::chars_format::general);
  if (end != normal.data() + normal.size()) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // Too large is not a number; too small is 0, as underflow is everywhere.
    const long long magnitude =
        (integerSignificant > 0 ? integerSignificant : -fractionLeadingZeros) + exponent;
    if (magnitude > 0) return std::nullopt;
    value = 0.0;
  } else if (error != std::errc()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<double> LocaleToDouble(std::string_view text) {
  return LocaleToDouble(text, DecimalSeparator());
}

std::optional<double> TolerantToDouble(std::string_view text) {
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos && text.find(',') == std::string_view::npos) {
    return LocaleToDouble(text);
  }
  if (DecimalSeparator() != ',') return std::nullopt;
  // The text before the first ".", a ",", and the text after it (all of it without ".").
  std::string joined;
  joined.reserve(text.size() + 1);
  if (point != std::string_view::npos) joined.append(text.substr(0, point));
  joined.push_back(',');
  joined.append(point == std::string_view::npos ? text : text.substr(point + 1));
  return LocaleToDouble(joined, ',');
}

std::optional<double> ReadNumber(std::string_view text) {
  if (auto value = LocaleToDouble(text)) return value;
  return TolerantToDouble(text);
}

std::optional<int> ReadInteger(std::string_view text) {
  text = TrimBlanks(text);
  // One sign at most: std::from_chars reads a "-" but no "+".
  if (text.starts_with('+') && !text.starts_with("+-")) text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace quorrel
