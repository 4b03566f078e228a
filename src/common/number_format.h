#pragma once
// Number to text: patterns ("0.000E+00", "##0.##", ...), the general format, printf-style
// renderings and the fixed real format of the model file. The pattern, general and fixed
// real formats start from the value's shortest round-trip digits rounded to 15 significant
// digits and round halves away from zero. Infinities and NaN show as "INF", "-INF" and
// "NAN" (FormatFixedReal refuses them).

#include <string>
#include <string_view>

namespace quorrel {

//! Formats with a pattern: "0" a digit always shown, "#" a digit shown when significant,
//! "." the separator, "E+"/"E-"/"e+"/"e-" an exponent with its letter, sign rule and
//! minimum digit count. Rounds to the digits shown, halves away from zero.
std::string FormatPattern(double value, std::string_view pattern, char separator);
//! FormatPattern with the user's separator.
std::string FormatPattern(double value, std::string_view pattern);

//! The general format: shortest text of at most 15 significant digits; fixed notation
//! for 0.00001 <= |x| < 1e15, otherwise scientific such as "1.5E-7".
std::string FormatGeneral(double value, char separator);
std::string FormatGeneral(double value);

//! printf-style renderings of the numeric entry fields, with the user's separator.
std::string FormatPrintfG(double value);             // "%g"
std::string FormatPrintfD(long long value);          // "%d"
std::string FormatPrintfU(unsigned long long value); // "%u"

//! The model file's fixed real format, always with a point: 25 gives
//! " 2.50000000000000E+0001" (23 characters). A non-finite value throws ArithmeticFault.
std::string FormatFixedReal(double value);

//! 17 significant digits, enough to read back the same double, with `separator`.
std::string FormatFull(double value, char separator);

}  // namespace quorrel
