#include "model/numeric_field.h"

#include <gtest/gtest.h>

#include "common/decimal_separator.h"

namespace quorrel {
namespace {

TEST(NumericField, FormatStrings) {
  EXPECT_STREQ(RealField::formatString(), "%g");
  EXPECT_STREQ(IntegerField::formatString(), "%d");
  EXPECT_STREQ(UnsignedField::formatString(), "%u");
}

TEST(NumericField, EmptyReadsAsZeroAndUnreadableAsTheMinimum) {
  ScopedDecimalSeparator point('.');
  RealField real;
  real.setRange(-5.0, 10.0);
  EXPECT_EQ(real.value(), 0.0);
  real.setText("abc");
  EXPECT_EQ(real.value(), -5.0);
  real.setText("25");  // read without limiting, even with the range enforced
  real.setValidate(true);
  EXPECT_EQ(real.value(), 25.0);

  IntegerField integer;
  integer.setRange(-3, 3);
  integer.setText("1.5");
  EXPECT_EQ(integer.value(), -3);
  integer.setText("-");
  EXPECT_EQ(integer.value(), -3);
}

TEST(NumericField, RealFieldFollowsTheSeparator) {
  RealField field;
  field.setRange(-1.0, 1.0);
  {
    ScopedDecimalSeparator comma(',');
    field.setText("0,5");
    EXPECT_EQ(field.value(), 0.5);
    field.setText("0.5");
    EXPECT_EQ(field.value(), -1.0);
    field.setValue(0.25);
    EXPECT_EQ(field.text(), "0,25");
  }
  ScopedDecimalSeparator point('.');
  field.setValue(0.25);
  EXPECT_EQ(field.text(), "0.25");
}

TEST(NumericField, RealTextIsUpperCase) {
  ScopedDecimalSeparator point('.');
  RealField field;
  field.setValue(1e-5);
  EXPECT_EQ(field.text(), "1E-05");
  EXPECT_EQ(field.value(), 1e-5);
  field.setText("2.5e-3");
  EXPECT_EQ(field.text(), "2.5E-3");
}

TEST(NumericField, RenderingOfTheWholeNumberKinds) {
  IntegerField integer;
  integer.setValue(-7);
  EXPECT_EQ(integer.text(), "-7");
  UnsignedField unsignedField;
  unsignedField.setValue(4000000000u);
  EXPECT_EQ(unsignedField.text(), "4000000000");
  EXPECT_EQ(unsignedField.value(), 4000000000u);
}

TEST(NumericField, RangeIsNotEnforcedWithValidateOff) {
  RealField field;
  int notices = 0;
  field.setOnUnderflow([&] { ++notices; });
  field.setOnOverflow([&] { ++notices; });
  field.setRange(0.0, 1.0);
  EXPECT_EQ(field.rangeCheck(5.0), 5.0);
  EXPECT_EQ(field.rangeCheck(-5.0), -5.0);
  EXPECT_EQ(field.colour(), FieldColour::Normal);
  EXPECT_EQ(notices, 0);
}

TEST(NumericField, RangeCheckLimitsWarnsAndNotifies) {
  RealField field;
  int underflows = 0;
  int overflows = 0;
  field.setOnUnderflow([&] { ++underflows; });
  field.setOnOverflow([&] { ++overflows; });
  field.setRange(0.1, 1.0);
  field.setValidate(true);

  EXPECT_EQ(field.rangeCheck(0.01), 0.1);
  EXPECT_EQ(field.colour(), FieldColour::Warning);
  EXPECT_EQ(underflows, 1);
  EXPECT_EQ(overflows, 0);

  EXPECT_EQ(field.rangeCheck(0.5), 0.5);
  EXPECT_EQ(field.colour(), FieldColour::Normal);

  EXPECT_EQ(field.rangeCheck(3.0), 1.0);
  EXPECT_EQ(field.colour(), FieldColour::Warning);
  EXPECT_EQ(underflows, 1);
  EXPECT_EQ(overflows, 1);

  field.enter();
  EXPECT_EQ(field.colour(), FieldColour::Normal);
}

TEST(NumericField, LeavingATooLargeToleranceWritesTheMaximum) {
  ScopedDecimalSeparator point('.');
  RealField tolerance;
  tolerance.setRange(0.0, 1.0);
  tolerance.setValidate(true);
  tolerance.setText("5");
  tolerance.leave();
  EXPECT_EQ(tolerance.text(), "1");
  EXPECT_EQ(tolerance.colour(), FieldColour::Warning);
}

TEST(NumericField, LeavingFormatsTheText) {
  ScopedDecimalSeparator point('.');
  IntegerField field;
  field.setText(" +12 ");
  field.leave();
  EXPECT_EQ(field.text(), "12");
  field.setText("");
  field.leave();
  EXPECT_EQ(field.text(), "0");
}

TEST(NumericField, UnsignedComparisonsAndSignedOnes) {
  UnsignedField unsignedField;
  unsignedField.setRange(10u, 20u);
  unsignedField.setValidate(true);
  unsignedField.setText("-1");  // not an unsigned number: reads as the minimum
  EXPECT_EQ(unsignedField.value(), 10u);
  EXPECT_EQ(unsignedField.rangeCheck(4000000000u), 20u);

  IntegerField integer;
  integer.setRange(-5, 5);
  integer.setValidate(true);
  EXPECT_EQ(integer.rangeCheck(-3), -3);
  EXPECT_EQ(integer.rangeCheck(-9), -5);
}

TEST(NumericField, TypableCharacters) {
  for (char c : std::string("0123456789+,-.Ee")) EXPECT_TRUE(RealField::isTypable(c)) << c;
  for (char c : std::string("xX /*\t")) EXPECT_FALSE(RealField::isTypable(c)) << c;
  for (char c : std::string("0123456789+-")) EXPECT_TRUE(IntegerField::isTypable(c)) << c;
  for (char c : std::string(",.eE")) EXPECT_FALSE(IntegerField::isTypable(c)) << c;
  for (char c : std::string("0123456789")) EXPECT_TRUE(UnsignedField::isTypable(c)) << c;
  for (char c : std::string("+-,.e")) EXPECT_FALSE(UnsignedField::isTypable(c)) << c;
}

struct Keystroke {
  const char* text;
  std::size_t start;
  std::size_t length;
  EditKey key;
  const char* typed;
  const char* expected;  // nullptr: dropped
  std::size_t caret;
};

template <typename Field>
void ExpectKeystrokes(const std::vector<Keystroke>& cases) {
  for (const Keystroke& k : cases) {
    const auto result = Field::applyKeystroke({k.text, k.start, k.length}, k.key, k.typed);
    const std::string label = std::string("\"") + k.text + "\" + \"" + k.typed + "\"";
    if (k.expected == nullptr) {
      EXPECT_FALSE(result.has_value()) << label;
      continue;
    }
    ASSERT_TRUE(result.has_value()) << label;
    EXPECT_EQ(result->text, k.expected) << label;
    EXPECT_EQ(result->selectionStart, k.caret) << label;
    EXPECT_EQ(result->selectionLength, 0u) << label;
  }
}

TEST(NumericField, RealTyping) {
  ScopedDecimalSeparator point('.');
  ExpectKeystrokes<RealField>({
      {"1", 1, 0, EditKey::Character, "e", nullptr, 0},   // "1e" is no number
      {"15", 1, 0, EditKey::Character, "e", "1E5", 2},
      {"", 0, 0, EditKey::Character, "-", "-", 1},
      {"", 0, 0, EditKey::Character, "+", "+", 1},
      {"-", 1, 0, EditKey::Character, ".", nullptr, 0},
      {"", 0, 0, EditKey::Character, "x", nullptr, 0},
      {"1", 1, 0, EditKey::Character, ",", nullptr, 0},   // not the separator here
      {"25", 0, 2, EditKey::Character, "7", "7", 1},       // replaces the selection
      {"1E5", 2, 0, EditKey::Backspace, "", "15", 1},
      {"1E5", 3, 0, EditKey::Backspace, "", nullptr, 0},  // would leave "1E"
      {"1E5", 0, 0, EditKey::Backspace, "", "1E5", 0},
      {"1E5", 1, 0, EditKey::Delete, "", "15", 1},
      {"12", 2, 0, EditKey::Delete, "", "12", 2},
      {"1E5", 1, 2, EditKey::Cut, "", "1", 1},
      {"1E5", 1, 0, EditKey::Cut, "", nullptr, 0},        // nothing selected
      {"1E5", 1, 2, EditKey::Paste, "3", "13", 2},
      {"", 0, 0, EditKey::Paste, " 5", " 5", 2},           // blanks around a number
      {"1", 1, 0, EditKey::Paste, " 5", nullptr, 0},
      {"1", 0, 1, EditKey::Paste, "abc", nullptr, 0},
      {"1", 0, 1, EditKey::Paste, "", nullptr, 0},         // empty clipboard
      {"1", 1, 0, EditKey::Paste, "e-5", "1E-5", 4},
  });
}

TEST(NumericField, RealTypingWithDecimalComma) {
  ScopedDecimalSeparator comma(',');
  ExpectKeystrokes<RealField>({
      {"1", 1, 0, EditKey::Character, ",", "1,", 2},
      {"1", 1, 0, EditKey::Character, ".", nullptr, 0},
  });
}

TEST(NumericField, WholeNumberTyping) {
  ExpectKeystrokes<IntegerField>({
      {"12", 2, 0, EditKey::Character, ".", nullptr, 0},
      {"", 0, 0, EditKey::Character, "-", "-", 1},
      {"-", 1, 0, EditKey::Character, "4", "-4", 2},
      {"4", 0, 0, EditKey::Character, "-", "-4", 1},
      {"4", 1, 0, EditKey::Character, "-", nullptr, 0},
      {"1", 1, 0, EditKey::Paste, "2.5", nullptr, 0},
      {"1", 1, 0, EditKey::Paste, "99999999999", nullptr, 0},  // beyond the integer range
  });
  ExpectKeystrokes<UnsignedField>({
      {"", 0, 0, EditKey::Character, "-", nullptr, 0},
      {"", 0, 0, EditKey::Character, "7", "7", 1},
      {"", 0, 0, EditKey::Paste, "-3", nullptr, 0},
      {"", 0, 0, EditKey::Paste, "4294967295", "4294967295", 10},
      {"", 0, 0, EditKey::Paste, "4294967296", nullptr, 0},
  });
}

TEST(NumericField, SelectionBeyondTheTextIsCut) {
  ScopedDecimalSeparator point('.');
  const auto result = RealField::applyKeystroke({"12", 5, 9}, EditKey::Character, "3");
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->text, "123");
}

}  // namespace
}  // namespace quorrel
