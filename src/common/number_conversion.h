#pragma once
// Text to number: the locale conversion and the tolerant conversion that every reader uses.

#include <optional>
#include <string_view>

namespace quorrel {

//! The locale conversion: optional blanks, an optional sign, digits with at most one
//! `separator`, an optional exponent (E or e, optional sign, digits), optional blanks.
//! At least one mantissa digit; ".0005" and "5." are numbers. A value beyond the double
//! range is not a number; one below it is 0.
std::optional<double> LocaleToDouble(std::string_view text, char separator);

//! The locale conversion with the user's separator.
std::optional<double> LocaleToDouble(std::string_view text);

//! The tolerant conversion: text without "," or "." converts as it stands; under a ","
//! locale the first "." is read as the separator; under a "." locale it fails.
std::optional<double> TolerantToDouble(std::string_view text);

//! The number conversion of the readers: the locale conversion, and the tolerant one
//! when that fails.
std::optional<double> ReadNumber(std::string_view text);

//! A decimal integer with optional sign and surrounding blanks, within the range of int.
std::optional<int> ReadInteger(std::string_view text);

}  // namespace quorrel
