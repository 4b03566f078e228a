#include "common/decimal_separator.h"

#include <atomic>
#include <locale>
#include <stdexcept>

namespace quorrel {

namespace {
char InitialSeparator() { return SystemDecimalSeparator(); }
std::atomic<char>& Setting() {
  static std::atomic<char> separator{InitialSeparator()};
  return separator;
}
}  // namespace

char DecimalSeparator() { return Setting().load(std::memory_order_relaxed); }

void SetDecimalSeparator(char separator) {
  if (separator != '.' && separator != ',') {
    throw std::invalid_argument("the decimal separator must be '.' or ','");
  }
  Setting().store(separator, std::memory_order_relaxed);
}

char SystemDecimalSeparator() {
  try {
    // std::locale("") names the environment's locale without installing it.
    const std::locale environment("");
    const char point = std::use_facet<std::numpunct<char>>(environment).decimal_point();
    return point == ',' ? ',' : '.';
  } catch (const std::runtime_error&) {
    return '.';
  }
}

ScopedDecimalSeparator::ScopedDecimalSeparator(char separator) : previous_(DecimalSeparator()) {
  SetDecimalSeparator(separator);
}

ScopedDecimalSeparator::~ScopedDecimalSeparator() { SetDecimalSeparator(previous_); }

}  // namespace quorrel
