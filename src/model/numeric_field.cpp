#include "model/numeric_field.h"

#include <algorithm>
#include <charconv>

#include "common/number_conversion.h"
#include "common/number_format.h"

namespace quorrel {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

//! Digits with an optional "+" and surrounding blanks, within the range of 32 bits.
std::optional<std::uint32_t> ReadUnsigned(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || !IsDigit(text.front())) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

//! What differs between the three kinds of field.
template <typename T>
struct FieldKind;

template <>
struct FieldKind<double> {
  static constexpr const char* kFormat = "%g";
  static bool typable(char c) {
    return IsDigit(c) || c == '+' || c == ',' || c == '-' || c == '.' || c == 'E' || c == 'e';
  }
  static std::optional<double> convert(std::string_view text) { return LocaleToDouble(text); }
  static std::string render(double value) { return FormatPrintfG(value); }
  //! The real field shows its text in upper case.
  static void normalCase(std::string& text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  }
};

template <>
struct FieldKind<int> {
  static constexpr const char* kFormat = "%d";
  static bool typable(char c) { return IsDigit(c) || c == '+' || c == '-'; }
  static std::optional<int> convert(std::string_view text) { return ReadInteger(text); }
  static std::string render(int value) { return FormatPrintfD(value); }
  static void normalCase(std::string&) {}
};

template <>
struct FieldKind<std::uint32_t> {
  static constexpr const char* kFormat = "%u";
  static bool typable(char c) { return IsDigit(c); }
  static std::optional<std::uint32_t> convert(std::string_view text) { return ReadUnsigned(text); }
  static std::string render(std::uint32_t value) { return FormatPrintfU(value); }
  static void normalCase(std::string&) {}
};

}  // namespace

template <typename T>
const char* NumericField<T>::formatString() {
  return FieldKind<T>::kFormat;
}

template <typename T>
void NumericField<T>::setRange(T minValue, T maxValue) {
  minValue_ = minValue;
  maxValue_ = maxValue;
}

template <typename T>
void NumericField<T>::setText(std::string text) {
  FieldKind<T>::normalCase(text);
  text_ = std::move(text);
}

template <typename T>
T NumericField<T>::value() const {
  if (text_.empty()) return T{};
  return convert(text_).value_or(minValue_);
}

template <typename T>
void NumericField<T>::setValue(T value) {
  setText(render(rangeCheck(value)));
}

template <typename T>
T NumericField<T>::rangeCheck(T value) {
  colour_ = FieldColour::Normal;
  if (!validate_) return value;
  if (value < minValue_) {
    colour_ = FieldColour::Warning;
    if (onUnderflow_) onUnderflow_();
    return minValue_;
  }
  if (value > maxValue_) {
    colour_ = FieldColour::Warning;
    if (onOverflow_) onOverflow_();
    return maxValue_;
  }
  return value;
}

template <typename T>
bool NumericField<T>::isTypable(char c) {
  return FieldKind<T>::typable(c);
}

template <typename T>
bool NumericField<T>::acceptsText(std::string_view text) {
  return text.empty() || text == "-" || text == "+" || convert(text).has_value();
}

template <typename T>
std::optional<FieldEdit> NumericField<T>::applyKeystroke(const FieldEdit& state, EditKey key,
                                                         std::string_view typed) {
  const std::size_t size = state.text.size();
  std::size_t start = std::min(state.selectionStart, size);
  std::size_t length = std::min(state.selectionLength, size - start);
  std::string_view insert;
  switch (key) {
    case EditKey::Character:
      if (typed.size() != 1 || !isTypable(typed.front())) return std::nullopt;
      insert = typed;
      break;
    case EditKey::Backspace:
      if (length == 0 && start > 0) {
        --start;
        length = 1;
      }
      break;
    case EditKey::Delete:
      if (length == 0 && start < size) length = 1;
      break;
    case EditKey::Cut:
      if (length == 0) return std::nullopt;
      break;
    case EditKey::Paste:
      // An empty clipboard is the caller's to report (kNoClipboardText).
      if (typed.empty()) return std::nullopt;
      insert = typed;
      break;
  }
  FieldEdit result;
  result.text = state.text.substr(0, start);
  result.text.append(insert);
  result.text.append(state.text, start + length);
  FieldKind<T>::normalCase(result.text);
  result.selectionStart = start + insert.size();
  if (!acceptsText(result.text)) return std::nullopt;
  return result;
}

template <typename T>
std::optional<T> NumericField<T>::convert(std::string_view text) {
  return FieldKind<T>::convert(text);
}

template <typename T>
std::string NumericField<T>::render(T value) {
  std::string text = FieldKind<T>::render(value);
  FieldKind<T>::normalCase(text);
  return text;
}

template class NumericField<double>;
template class NumericField<int>;
template class NumericField<std::uint32_t>;

}  // namespace quorrel
