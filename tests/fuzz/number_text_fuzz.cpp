// The number text functions under both decimal separators: the conversions agree with each
// other, and what the formats write reads back.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

#include "common/decimal_separator.h"
#include "common/error.h"
#include "common/number_conversion.h"
#include "common/number_format.h"
#include "fuzz_support.h"

using namespace quorrel;

namespace {

// The patterns the program formats with.
constexpr const char* kPatterns[] = {"0.000E+00", "0.000e-00", "##0.##", "0.###E+0",
                                     "0.###E+00", "0.0#",      "0.##",   "0.#####",
                                     "0.##E+0",   "0.00",      "#",      "0.00000000000000E+0000"};

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void Require(bool condition) {
  if (!condition) std::abort();
}

void Convert(std::string_view text, char separator) {
  const ScopedDecimalSeparator scoped(separator);
  const auto locale = LocaleToDouble(text, separator);
  Require(!locale || std::isfinite(*locale));
  const auto users = LocaleToDouble(text);
  Require(users.has_value() == locale.has_value() && (!users || SameBits(*users, *locale)));
  const auto tolerant = TolerantToDouble(text);
  Require(!tolerant || std::isfinite(*tolerant));
  const auto read = ReadNumber(text);
  Require(read.has_value() == (locale || tolerant));
  Require(!read || SameBits(*read, locale ? *locale : *tolerant));
  // An integer is also a number, of the same value.
  if (const auto integer = ReadInteger(text)) {
    Require(locale && *locale == static_cast<double>(*integer));
  }
}

void Format(double value, char separator, std::string_view pattern) {
  const ScopedDecimalSeparator scoped(separator);
  const bool finite = std::isfinite(value);
  for (const char* p : kPatterns) {
    const std::string text = FormatPattern(value, p, separator);
    Require(!finite || LocaleToDouble(text, separator).has_value());
  }
  try {
    const std::string text = FormatPattern(value, pattern, separator);
    Require(!finite || LocaleToDouble(text, separator).has_value());
  } catch (const std::invalid_argument&) {
    // Not a pattern.
  }
  const std::string general = FormatGeneral(value, separator);
  Require(FormatGeneral(value) == general);
  if (!finite) {
    Require(general == "NAN" || general == "INF" || general == "-INF");
    return;
  }
  const auto generalRead = LocaleToDouble(general, separator);
  Require(generalRead.has_value());
  // 15 significant digits keep a normal number to a few parts in 1e15.
  if (std::fabs(value) >= std::numeric_limits<double>::min()) {
    Require(std::fabs(*generalRead - value) <= 1e-14 * std::fabs(value));
  }
  const auto fullRead = LocaleToDouble(FormatFull(value, separator), separator);
  Require(fullRead && SameBits(*fullRead, value));
  const auto printfRead = LocaleToDouble(FormatPrintfG(value), separator);
  Require(printfRead && *printfRead == value);
  const std::string fixed = FormatFixedReal(value);
  Require(fixed.size() == 23 && LocaleToDouble(fixed, '.').has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view input = fuzz::AsText(bytes, size);
  // The first line is converted; the second is tried as a pattern.
  const std::string_view text = input.substr(0, input.find('\n'));
  const std::string_view pattern =
      text.size() < input.size() ? input.substr(text.size() + 1) : std::string_view();
  for (const char separator : {'.', ','}) {
    Convert(text, separator);
    if (const auto value = LocaleToDouble(text, separator)) Format(*value, separator, pattern);
  }
  // The input's first eight bytes as a double reach every value, infinities and NaN too.
  if (size >= sizeof(double)) {
    double value = 0;
    std::memcpy(&value, bytes, sizeof value);
    for (const char separator : {'.', ','}) Format(value, separator, pattern);
    if (!std::isfinite(value)) {
      try {
        (void)FormatFixedReal(value);
        std::abort();
      } catch (const ArithmeticFault&) {
      }
    }
  }
  return 0;
}
