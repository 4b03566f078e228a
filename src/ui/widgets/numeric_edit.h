#pragma once
// The numeric entry fields TRealEdit, TIntegerEdit and TCardinalEdit: line edits whose text
// follows a NumericField. A keystroke takes effect only if the text it makes is empty, a
// lone sign, or a number of the field's kind; leaving the field range-checks and formats it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <QLineEdit>

#include "model/numeric_field.h"

namespace quorrel {

class NumericEdit : public QLineEdit {
  Q_OBJECT

 public:
  //! Where "No text on the Clipboard" goes when Ctrl+V finds nothing to paste.
  void setInform(std::function<void(const QString&)> inform) { inform_ = std::move(inform); }

 signals:
  //! The user changed the text (an accepted keystroke, or leaving the field).
  void valueEdited();

 protected:
  explicit NumericEdit(QWidget* parent);

  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

  //! Shows the field's text and colour.
  void showField();

  // The field of the concrete kind.
  virtual bool typable(char c) const = 0;
  virtual bool accepts(std::string_view text) const = 0;
  virtual std::optional<FieldEdit> keystroke(const FieldEdit& state, EditKey key,
                                             std::string_view typed) const = 0;
  virtual void takeText(std::string text) = 0;
  virtual const std::string& fieldText() const = 0;
  virtual FieldColour fieldColour() const = 0;
  virtual void enterField() = 0;
  virtual void leaveField() = 0;

 private:
  //! Applies a keystroke through the field's rule; false when it was dropped.
  bool apply(EditKey key, std::string_view typed = {});

  std::function<void(const QString&)> inform_;
};

template <typename T>
class NumericEditOf : public NumericEdit {
 public:
  explicit NumericEditOf(QWidget* parent = nullptr) : NumericEdit(parent) { showField(); }

  T value() const { return field_.value(); }
  //! The value passes the range check and is shown formatted.
  void setValue(T value) {
    field_.setValue(value);
    showField();
  }
  void setRange(T minValue, T maxValue) { field_.setRange(minValue, maxValue); }
  void setValidate(bool on) { field_.setValidate(on); }
  const NumericField<T>& field() const { return field_; }

 protected:
  bool typable(char c) const override { return NumericField<T>::isTypable(c); }
  bool accepts(std::string_view text) const override {
    return NumericField<T>::acceptsText(text);
  }
  std::optional<FieldEdit> keystroke(const FieldEdit& state, EditKey key,
                                     std::string_view typed) const override {
    return NumericField<T>::applyKeystroke(state, key, typed);
  }
  void takeText(std::string text) override { field_.setText(std::move(text)); }
  const std::string& fieldText() const override { return field_.text(); }
  FieldColour fieldColour() const override { return field_.colour(); }
  void enterField() override { field_.enter(); }
  void leaveField() override { field_.leave(); }

 private:
  NumericField<T> field_;
};

//! Real numbers, shown with "%g".
using TRealEdit = NumericEditOf<double>;
//! Integers, shown with "%d".
using TIntegerEdit = NumericEditOf<int>;
//! Unsigned integers, shown with "%u".
using TCardinalEdit = NumericEditOf<std::uint32_t>;

}  // namespace quorrel
