#pragma once
// The spin fields of the dialogs: whole numbers kept within a range.

#include <string>

namespace quorrel {

//! The range of a spin field; minimum == maximum means no limit.
struct SpinRange {
  int minimum = 0;
  int maximum = 0;

  //! The value limited to [minimum, maximum], or unchanged when the range is open.
  int limit(int value) const;
};

//! A spin field's text and the rule that turns it into a value within its range.
class SpinField {
 public:
  SpinField(SpinRange range, int value);

  SpinRange range() const { return range_; }
  //! Changes the range; the text stays as it is until it is read or set.
  void setRange(SpinRange range) { range_ = range; }

  const std::string& text() const { return text_; }
  //! Text as typed; it is not checked until the value is read.
  void setText(std::string text) { text_ = std::move(text); }

  //! The text as a number within the range; text that is not a whole number reads as the
  //! minimum.
  int value() const;
  //! The text becomes the limited value in decimal.
  void setValue(int value);

 private:
  SpinRange range_;
  std::string text_;
};

}  // namespace quorrel
