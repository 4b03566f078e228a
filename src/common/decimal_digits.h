#pragma once
// The decimal digits of a double's magnitude, and rounding them the way the formats show them.

#include <string>

namespace quorrel {

//! A non-negative decimal number 0.d1d2d3... x 10^pointPosition. `digits` has neither
//! leading nor trailing zeros; zero is the empty string.
struct DecimalDigits {
  std::string digits;
  int pointPosition = 0;

  bool isZero() const { return digits.empty(); }
  //! The digit at `index` counted from the first significant one, '0' outside the string.
  char digitAt(int index) const;
};

//! The shortest digits of |value| that read back to the same double (finite values only).
DecimalDigits ShortestDigits(double value);

//! Keeps the first `count` digits, rounding the rest half away from zero; a carry out of
//! the first digit moves the point. A negative count rounds everything away.
void RoundToLeadingDigits(DecimalDigits& number, int count);

//! The digits that every format starts from: the shortest digits rounded to 15 significant
//! digits, the precision that a typed number carries.
DecimalDigits DisplayDigits(double value);

}  // namespace quorrel
