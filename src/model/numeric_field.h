#pragma once
// The numeric entry fields of the dialogs, without the widget: text, value, range check and
// the typing rules that keep the text convertible.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorrel {

enum class FieldColour { Normal, Warning };

//! The keystrokes that can change a field's text.
enum class EditKey { Character, Backspace, Delete, Cut, Paste };

//! A field's text with its selection; with no selection, selectionStart is the caret.
struct FieldEdit {
  std::string text;
  std::size_t selectionStart = 0;
  std::size_t selectionLength = 0;
};

//! The information text when Ctrl+V finds no text on the clipboard.
inline constexpr const char* kNoClipboardText = "No text on the Clipboard";

//! An entry field for numbers of type T: double (real, "%g"), int (integer, "%d") or
//! std::uint32_t (unsigned, "%u"). Comparisons follow T, so they are unsigned for the
//! unsigned field.
template <typename T>
class NumericField {
 public:
  //! The printf-style pattern that renders the value.
  static const char* formatString();

  //! The text reads as 0.
  NumericField() = default;

  T minValue() const { return minValue_; }
  T maxValue() const { return maxValue_; }
  void setRange(T minValue, T maxValue);
  bool validate() const { return validate_; }
  void setValidate(bool on) { validate_ = on; }
  void setOnUnderflow(std::function<void()> notify) { onUnderflow_ = std::move(notify); }
  void setOnOverflow(std::function<void()> notify) { onOverflow_ = std::move(notify); }

  const std::string& text() const { return text_; }
  //! Text as typed or pasted as a whole; the real field keeps it in upper case.
  void setText(std::string text);
  FieldColour colour() const { return colour_; }

  //! Empty text reads as 0, text that is not a number of the field's kind as the minimum;
  //! otherwise the number, not limited.
  T value() const;
  //! The value passes the range check and the text becomes its rendering.
  void setValue(T value);
  //! Entering the field: the colour returns to normal.
  void enter() { colour_ = FieldColour::Normal; }
  //! Leaving the field: the value is read, checked and written back as formatted text.
  void leave() { setValue(value()); }

  //! The colour becomes normal; with Validate on, a value outside the range is limited to it,
  //! the colour becomes the warning one and the matching notification is raised.
  T rangeCheck(T value);

  //! Whether a character may be typed at all.
  static bool isTypable(char c);
  //! Whether an edit may leave this text: empty, exactly "-" or "+", or a number of the kind.
  static bool acceptsText(std::string_view text);
  //! The field after a keystroke (the typed character or the pasted text in `typed`), or
  //! nothing when the keystroke is dropped. Cut needs a selection.
  static std::optional<FieldEdit> applyKeystroke(const FieldEdit& state, EditKey key,
                                                 std::string_view typed = {});

  //! The text as a number of the field's kind.
  static std::optional<T> convert(std::string_view text);
  //! The value rendered with the format string.
  static std::string render(T value);

 private:
  T minValue_{};
  T maxValue_{};
  bool validate_ = false;
  FieldColour colour_ = FieldColour::Normal;
  std::string text_;
  std::function<void()> onUnderflow_;
  std::function<void()> onOverflow_;
};

using RealField = NumericField<double>;
using IntegerField = NumericField<int>;
using UnsignedField = NumericField<std::uint32_t>;

extern template class NumericField<double>;
extern template class NumericField<int>;
extern template class NumericField<std::uint32_t>;

}  // namespace quorrel
