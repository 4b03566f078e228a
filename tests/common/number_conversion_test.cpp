#include "common/number_conversion.h"

#include <gtest/gtest.h>

#include "common/decimal_separator.h"

namespace quorrel {
namespace {

TEST(LocaleConversion, ReadsTheGrammarWithAPoint) {
  ScopedDecimalSeparator point('.');
  EXPECT_EQ(LocaleToDouble("25"), 25.0);
  EXPECT_EQ(LocaleToDouble("  -2.5e-3 "), -2.5e-3);
  EXPECT_EQ(LocaleToDouble("+.0005"), 0.0005);
  EXPECT_EQ(LocaleToDouble("5."), 5.0);
  EXPECT_EQ(LocaleToDouble("3.475E-6"), 3.475e-6);
  EXPECT_EQ(LocaleToDouble("1e+2"), 100.0);
  EXPECT_FALSE(LocaleToDouble(""));
  EXPECT_FALSE(LocaleToDouble("."));
  EXPECT_FALSE(LocaleToDouble("1.2.3"));
  EXPECT_FALSE(LocaleToDouble("1,5"));
  EXPECT_FALSE(LocaleToDouble("1e"));
  EXPECT_FALSE(LocaleToDouble("e5"));
  EXPECT_FALSE(LocaleToDouble("N/A"));
  EXPECT_FALSE(LocaleToDouble("1 2"));
  EXPECT_FALSE(LocaleToDouble("--1"));
}

TEST(LocaleConversion, RangeEdges) {
  EXPECT_FALSE(LocaleToDouble("1e999", '.'));
  EXPECT_FALSE(LocaleToDouble("123456.7e305", '.'));
  EXPECT_EQ(LocaleToDouble("1e-999", '.'), 0.0);
  EXPECT_EQ(LocaleToDouble("0.000001e-330", '.'), 0.0);
  EXPECT_EQ(LocaleToDouble("0e999999999", '.'), 0.0);
  EXPECT_EQ(LocaleToDouble("1.7976931348623157e308", '.'), 1.7976931348623157e308);
  EXPECT_EQ(LocaleToDouble("4.9e-324", '.'), 4.9e-324);
}

TEST(LocaleConversion, FollowsTheSeparatorSetting) {
  ScopedDecimalSeparator comma(',');
  EXPECT_EQ(LocaleToDouble("2,5"), 2.5);
  EXPECT_EQ(LocaleToDouble(",5"), 0.5);
  EXPECT_FALSE(LocaleToDouble("2.5"));
}

TEST(TolerantConversion, ReadsPointsUnderACommaLocale) {
  ScopedDecimalSeparator comma(',');
  EXPECT_EQ(TolerantToDouble("2.5"), 2.5);
  EXPECT_EQ(TolerantToDouble("42"), 42.0);
  EXPECT_EQ(ReadNumber("1.5e-3"), 1.5e-3);
  EXPECT_EQ(ReadNumber("1,5e-3"), 1.5e-3);
  // Only the first point becomes the separator; what is left must still be a number.
  EXPECT_FALSE(TolerantToDouble("1.2.3"));
}

TEST(TolerantConversion, RefusesCommasUnderAPointLocale) {
  ScopedDecimalSeparator point('.');
  EXPECT_FALSE(TolerantToDouble("2,5"));
  EXPECT_FALSE(ReadNumber("2,5"));
  EXPECT_EQ(ReadNumber("2.5"), 2.5);
  EXPECT_EQ(TolerantToDouble("7"), 7.0);
}

TEST(IntegerConversion, AcceptsOnlyWholeNumbers) {
  EXPECT_EQ(ReadInteger(" 12 "), 12);
  EXPECT_EQ(ReadInteger("-3"), -3);
  EXPECT_EQ(ReadInteger("+3"), 3);
  EXPECT_FALSE(ReadInteger("3.0"));
  EXPECT_FALSE(ReadInteger(""));
  EXPECT_FALSE(ReadInteger("++3"));
  EXPECT_FALSE(ReadInteger("99999999999"));
}

TEST(IntegerConversion, TakesOneSignAtMost) {
  EXPECT_FALSE(ReadInteger("+-9"));
  EXPECT_FALSE(ReadInteger(" +-0 "));
  EXPECT_FALSE(ReadInteger("+"));
}

TEST(DecimalSeparator, RefusesOtherCharacters) {
  EXPECT_THROW(SetDecimalSeparator(';'), std::invalid_argument);
}

}  // namespace
}  // namespace quorrel
