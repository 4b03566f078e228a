#include "model/spin_field.h"

#include <algorithm>

#include "common/number_conversion.h"
#include "common/number_format.h"

namespace quorrel {

int SpinRange::limit(int value) const {
  if (minimum == maximum) return value;
  return std::clamp(value, std::min(minimum, maximum), std::max(minimum, maximum));
}

SpinField::SpinField(SpinRange range, int value) : range_(range) { setValue(value); }

int SpinField::value() const {
  return range_.limit(ReadInteger(text_).value_or(range_.minimum));
}

void SpinField::setValue(int value) { text_ = FormatPrintfD(range_.limit(value)); }

}  // namespace quorrel
