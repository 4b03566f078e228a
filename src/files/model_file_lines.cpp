#include "files/model_file_lines.h"

#include "common/number_conversion.h"
#include "common/number_format.h"
#include "files/text_file.h"

namespace quorrel {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::string_view rest = WithoutByteOrderMark(text);
  std::vector<std::string_view> lines;
  for (std::string_view line; NextLine(rest, line);) lines.push_back(line);
  return lines;
}

namespace {

//! Whether `c` occurs before the last character of the line.
bool HasInside(std::string_view line, char c) {
  const std::size_t at = line.find(c);
  return at != std::string_view::npos && at + 1 < line.size();
}

}  // namespace

bool HasForeignSeparator(const std::vector<std::string_view>& lines) {
  std::string_view decisive = lines.empty() ? std::string_view{} : lines.back();
  for (std::string_view line : lines) {
    const bool hasPoint = line.find('.') != std::string_view::npos;
    if (HasInside(line, '.') || (!hasPoint && HasInside(line, ','))) {
      decisive = line;
      break;
    }
  }
  return !LocaleToDouble(decisive).has_value() && TolerantToDouble(decisive).has_value();
}

std::optional<double> NumberRule::number(std::string_view text) const {
  return foreign_ ? TolerantToDouble(text) : LocaleToDouble(text);
}

std::optional<double> NumberRule::real(std::string_view text) { return LocaleToDouble(text, '.'); }

std::optional<std::string> NumberRule::cell(std::string_view text, const char* pattern) const {
  if (!foreign_ || pattern == nullptr) return std::string(text);
  const std::optional<double> value = TolerantToDouble(text);
  if (!value) return std::nullopt;
  return FormatPattern(*value, pattern);
}

}  // namespace quorrel
