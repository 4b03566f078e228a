#include "common/number_format.h"

#include <cstdio>

#include "common/decimal_separator.h"

namespace quorrel {

// Provisional: FormatFull only; the pattern formats are being written.
std::string FormatFull(double value, char separator) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  std::string text(buffer);
  if (separator != '.') {
    for (char& c : text) {
      if (c == '.') c = separator;
    }
  }
  return text;
}

}  // namespace quorrel

namespace quorrel {

// Provisional general format until the pattern formatter lands.
std::string FormatGeneral(double value, char separator) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string text(buffer);
  for (char& c : text) {
    if (c == '.') c = separator;
  }
  return text;
}

std::string FormatGeneral(double value) { return FormatGeneral(value, DecimalSeparator()); }

}  // namespace quorrel
