#include "common/number_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "common/decimal_separator.h"
#include "common/error.h"
#include "common/number_conversion.h"

namespace quorrel {
namespace {

constexpr double kDenormMin = std::numeric_limits<double>::denorm_min();
constexpr double kDoubleMax = std::numeric_limits<double>::max();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct PatternCase {
  double value;
  const char* pattern;
  const char* expected;
};

void ExpectPatternCases(std::initializer_list<PatternCase> cases, char separator) {
  for (const PatternCase& c : cases) {
    EXPECT_EQ(FormatPattern(c.value, c.pattern, separator), c.expected)
        << "value " << FormatFull(c.value, '.') << " pattern " << c.pattern;
  }
}

TEST(FormatPattern, ScientificPatterns) {
  ExpectPatternCases(
      {
          {4.1e-6, "0.000E+00", "4.100E-06"},
          {0.0, "0.000E+00", "0.000E+00"},
          {-2.5e-3, "0.000E+00", "-2.500E-03"},
          {123456, "0.000E+00", "1.235E+05"},
          {1.2345, "0.000E+00", "1.235E+00"},  // stored as 1.23449999...
          {4.1e-6, "0.###E+0", "4.1E-6"},
          {0.0, "0.###E+0", "0E+0"},
          {1.0, "0.###E+0", "1E+0"},
          {1e-10, "0.###E+0", "1E-10"},
          {0.25, "0.###E+00", "2.5E-01"},
          {1500, "0.###E+00", "1.5E+03"},
          {1500, "0.###E-0", "1.5E3"},
          {0.0015, "0.###E-0", "1.5E-3"},
          {1500, "0.###E-00", "1.5E03"},
          {2.5e-7, "0.###E-00", "2.5E-07"},
          {0.125, "0.##E+0", "1.25E-1"},
          {0.1255, "0.##E+0", "1.26E-1"},
          {-99.5, "0.##E+0", "-9.95E+1"},
          {1234, "0.000e-00", "1.234e03"},
          {0.000123, "0.000e-00", "1.230e-04"},
          {-0.000123, "0.000e-00", "-1.230e-04"},
          {0.0, "0.000e-00", "0.000e00"},
          {3.475e-6, "0.0000E+00", "3.4750E-06"},
          {12345.65, "0.0000E+00", "1.2346E+04"},
          {-1.0, "0.0000E+00", "-1.0000E+00"},
      },
      '.');
}

TEST(FormatPattern, ScientificCarriesIntoTheExponent) {
  ExpectPatternCases(
      {
          {9.9996, "0.000E+00", "1.000E+01"},
          {-9.9996, "0.000E+00", "-1.000E+01"},
          {9.9996, "0.###E+0", "1E+1"},
          {99.95, "0.##E+0", "1E+2"},
          {0.099999, "0.000e-00", "1.000e-01"},
          {9.9994, "0.000E+00", "9.999E+00"},
      },
      '.');
}

TEST(FormatPattern, ScientificAtTheEdgesOfTheRange) {
  ExpectPatternCases(
      {
          {1e300, "0.000E+00", "1.000E+300"},
          {1e-300, "0.000E+00", "1.000E-300"},
          {-1e-300, "0.###E-0", "-1E-300"},
          // Rounded up it would be beyond the largest double: cut, so it reads back.
          {kDoubleMax, "0.000E+00", "1.797E+308"},
          {-kDoubleMax, "0.0E+00", "-1.7E+308"},
          {2.2250738585072014e-308, "0.000E+00", "2.225E-308"},
          {kDenormMin, "0.000E+00", "4.941E-324"},
          {1e100, "0.000e-00", "1.000e100"},
          {3e-320, "0.###E+00", "3E-320"},
      },
      '.');
}

TEST(FormatPattern, TheLargestNumbersAreWrittenSoTheyReadBack) {
  for (const double value : {kDoubleMax, -kDoubleMax, 1.7976931348623e308, 1.79e308}) {
    for (const char* pattern : {"0.000E+00", "0.000e-00", "0.#####E+0", "0E+0"}) {
      const std::string text = FormatPattern(value, pattern, '.');
      EXPECT_TRUE(LocaleToDouble(text, '.').has_value()) << value << " " << pattern << " " << text;
    }
    EXPECT_TRUE(LocaleToDouble(FormatGeneral(value, '.'), '.').has_value()) << value;
  }
  EXPECT_EQ(FormatGeneral(kDoubleMax, '.'), "1.79769313486231E308");
}

TEST(FormatPattern, ALargestNumberWhoseRoundingCarriesIsCutToo) {
  // 1.796e308 to two digits after the point: rounded up, 1.79 carries to 1.8, too large.
  EXPECT_EQ(FormatPattern(1.796e308, "0.##E+0", '.'), "1.79E+308");
  EXPECT_EQ(FormatPattern(-kDoubleMax, "0.##E+0", '.'), "-1.79E+308");
  // Where the carry stays in range the number is rounded as usual.
  EXPECT_EQ(FormatPattern(1.6996e308, "0.##E+0", '.'), "1.7E+308");
}

TEST(FormatPattern, FixedPatterns) {
  ExpectPatternCases(
      {
          {25.5, "##0.##", "25.5"},
          {25, "##0.##", "25"},
          {1234.5678, "##0.##", "1234.57"},
          {-25.555, "##0.##", "-25.56"},
          {0.0, "##0.##", "0"},
          {25.5, "###0.00", "25.50"},
          {0.0, "###0.00", "0.00"},
          {1e15, "###0.00", "1000000000000000.00"},
          {-7, "##0.00", "-7.00"},
          {99.999, "##0.00", "100.00"},
          {2.5, "##0.###", "2.5"},
          {12.3456, "##0.###", "12.346"},
          {1.23456789, "0.#####", "1.23457"},
          {3, "0.#####", "3"},
          {4.1e-6, "0.#####", "0"},
          {6e-6, "0.#####", "0.00001"},
          {2.5, "0.##", "2.5"},
          {2, "0.0#", "2.0"},
          {2.2, "0.0#", "2.2"},
          {2.25, "0.0#", "2.25"},
          {2.255, "0.0#", "2.26"},
          {1.0005, "0.###", "1.001"},
          {0.1 + 0.2, "0.###", "0.3"},
          {3.14159, "0.00", "3.14"},
          {0.00004999, "0.0000", "0.0000"},
          {-2.0004, "0.000", "-2.000"},
          {999.9996, "##0.###", "1000"},
          {9.995, "0.00", "10.00"},
      },
      '.');
}

TEST(FormatPattern, NoIntegerDigitWhenThePatternHasOnlyHashesBeforeThePoint) {
  ExpectPatternCases(
      {
          {0.0005, "##.000#", ".0005"},
          {-0.0005, "##.000#", "-.0005"},
          {0.0, "##.000#", ".000"},
          {1.5, "##.000#", "1.500"},
          {12.34567, "##.000#", "12.3457"},
          {0.00005, "##.000#", ".0001"},
          {0.00004, "##.000#", ".000"},
          {0.99995, "##.000#", "1.000"},
          {1.5, "##.0##", "1.5"},
          {0.25, "##.0##", ".25"},
          {0.0, "##.0##", ".0"},
          {10, "##.0##", "10.0"},
          {0.0004, "##.0##", ".0"},
          {0.4, "#", "0"},  // a number never vanishes entirely
      },
      '.');
}

TEST(FormatPattern, HalvesRoundAwayFromZero) {
  ExpectPatternCases(
      {
          {0.125, "0.00", "0.13"},
          {-0.125, "0.00", "-0.13"},
          {0.125, "##0.##", "0.13"},
          {2.5, "0", "3"},
          {-2.5, "0", "-3"},
          {3.5, "0", "4"},
          {0.5, "0", "1"},
          {0.49, "0", "0"},
          {0.005, "##0.##", "0.01"},
          {-0.005, "##0.00", "-0.01"},
          {0.0005, "##0.###", "0.001"},
          {0.00005, "0.0000", "0.0001"},
          {2.0005, "0.000", "2.001"},  // stored as 2.00050000000000017...
      },
      '.');
}

TEST(FormatPattern, RoundsTheTypedDigitsNotTheBinaryExpansion) {
  // Each is stored slightly below the half, yet reads as the half the user typed.
  ExpectPatternCases(
      {
          {1.005, "0.00", "1.01"},
          {2.675, "0.##", "2.68"},
          {1.0049999999999999, "0.00", "1.01"},  // the same double as 1.005
          {1.00499999999999, "0.00", "1.00"},    // 15 digits, below the half
          {1.004999999999999, "0.00", "1.01"},   // 16 digits: the 15-digit rounding is 1.005
          {123456789012344.5, "0", "123456789012345"},  // an exact half at the 16th digit
      },
      '.');
}

TEST(FormatPattern, NegativeValuesThatRoundToZeroShowNoSign) {
  ExpectPatternCases(
      {
          {-0.001, "##0.##", "0"},
          {-0.004, "##0.00", "0.00"},
          {-0.0, "0.000E+00", "0.000E+00"},
          {-0.0, "##.000#", ".000"},
          {-1e-300, "0.00", "0.00"},
      },
      '.');
}

TEST(FormatPattern, HugeAndTinyValuesInFixedPatterns) {
  EXPECT_EQ(FormatPattern(1e300, "0.00", '.'), "1" + std::string(300, '0') + ".00");
  EXPECT_EQ(FormatPattern(-1e20, "##0.##", '.'), "-100000000000000000000");
  EXPECT_EQ(FormatPattern(123456789012345678.0, "0", '.'), "123456789012346000");
  EXPECT_EQ(FormatPattern(kDenormMin, "0.0000", '.'), "0.0000");
  EXPECT_EQ(FormatPattern(1e-300, "##.000#", '.'), ".000");
}

TEST(FormatPattern, CommaSeparator) {
  ExpectPatternCases(
      {
          {0.000123, "0.000e-00", "1,230e-04"},
          {4.1e-6, "0.000E+00", "4,100E-06"},
          {4.1e-6, "0.###E+0", "4,1E-6"},
          {1.0, "0.###E+0", "1E+0"},
          {25.5, "##0.##", "25,5"},
          {25, "##0.##", "25"},
          {25.5, "###0.00", "25,50"},
          {0.0005, "##.000#", ",0005"},
          {-0.125, "0.00", "-0,13"},
      },
      ',');
}

TEST(FormatPattern, UsesTheUserSeparatorByDefault) {
  {
    ScopedDecimalSeparator comma(',');
    EXPECT_EQ(FormatPattern(25.5, "###0.00"), "25,50");
  }
  ScopedDecimalSeparator point('.');
  EXPECT_EQ(FormatPattern(25.5, "###0.00"), "25.50");
}

TEST(FormatPattern, NonFiniteValues) {
  EXPECT_EQ(FormatPattern(kInfinity, "0.00", '.'), "INF");
  EXPECT_EQ(FormatPattern(-kInfinity, "0.000E+00", '.'), "-INF");
  EXPECT_EQ(FormatPattern(kNaN, "##0.##", ','), "NAN");
}

TEST(FormatPattern, RefusesTextOutsideTheNotation) {
  struct Refusal {
    const char* pattern;
    const char* message;
  };
  for (const Refusal& r : std::initializer_list<Refusal>{
           {"", "number pattern \"\": no digits"},
           {".", "number pattern \".\": no digits"},
           {"0#", "number pattern \"0#\": \"#\" after \"0\" before the point"},
           {"0.#0", "number pattern \"0.#0\": \"0\" after \"#\" after the point"},
           {"0.00E", "number pattern \"0.00E\": exponent without \"+\" or \"-\""},
           {"0.00E+", "number pattern \"0.00E+\": exponent without \"0\""},
           {"#.##E+0",
            "number pattern \"#.##E+0\": scientific notation needs a \"0\" before the point"},
           {"0.00 %", "number pattern \"0.00 %\": unknown character"},
           {"%g", "number pattern \"%g\": unknown character"},
       }) {
    try {
      FormatPattern(1.0, r.pattern, '.');
      ADD_FAILURE() << "accepted " << r.pattern;
    } catch (const std::invalid_argument& error) {
      EXPECT_STREQ(error.what(), r.message);
    }
  }
}

TEST(FormatGeneral, FixedAndScientificNotation) {
  struct GeneralCase {
    double value;
    const char* expected;
  };
  for (const GeneralCase& c : std::initializer_list<GeneralCase>{
           {0.0, "0"},
           {-0.0, "0"},
           {25, "25"},
           {-2.5, "-2.5"},
           {123.456, "123.456"},
           {0.1, "0.1"},
           {0.1 + 0.2, "0.3"},
           {1.0 / 3.0, "0.333333333333333"},
           {2.0 / 3.0, "0.666666666666667"},
           {0.00001, "0.00001"},
           {-0.00001, "-0.00001"},
           {0.0000099999, "9.9999E-6"},
           {123456789012345, "123456789012345"},
           {999999999999999.9, "1E15"},
           {1e15, "1E15"},
           {1.23e20, "1.23E20"},
           {3.475e-6, "3.475E-6"},
           {1.5e-7, "1.5E-7"},
           {-1e-7, "-1E-7"},
           {1.05e-11, "1.05E-11"},
           {1e-300, "1E-300"},
           {kDenormMin, "4.94065645841247E-324"},
           {3e-320, "2.99996660154805E-320"},
           {1000000000000005.0, "1.00000000000001E15"},
           {kDoubleMax, "1.79769313486231E308"},  // cut: rounded up it would not read back
           {kInfinity, "INF"},
           {kNaN, "NAN"},
       }) {
    EXPECT_EQ(FormatGeneral(c.value, '.'), c.expected) << FormatFull(c.value, '.');
  }
}

TEST(FormatGeneral, ReadsBackAsTheValueRoundedTo15Digits) {
  ScopedDecimalSeparator comma(',');
  EXPECT_EQ(FormatGeneral(3.475e-6), "3,475E-6");
  EXPECT_EQ(FormatGeneral(123.456), "123,456");
  EXPECT_EQ(LocaleToDouble(FormatGeneral(1.0 / 3.0)), 0.333333333333333);
  EXPECT_EQ(LocaleToDouble(FormatGeneral(2.073e-6)), 2.073e-6);
  EXPECT_EQ(LocaleToDouble(FormatGeneral(-123456.789012345)), -123456.789012345);
}

TEST(FormatPrintfG, PrintfStyleWithRoundTripDigits) {
  ScopedDecimalSeparator point('.');
  struct PrintfCase {
    double value;
    const char* expected;
  };
  for (const PrintfCase& c : std::initializer_list<PrintfCase>{
           {0.0, "0"},
           {1e-6, "1e-06"},
           {0.25, "0.25"},
           {100, "100"},
           {4.66, "4.66"},
           {-2.5, "-2.5"},
           {1.5e20, "1.5e+20"},
           {1e6, "1e+06"},
           {123456, "123456"},
           {1234567, "1234567"},
           {0.0001, "0.0001"},
           {0.00001, "1e-05"},
           {0.1 + 0.2, "0.30000000000000004"},
           {1.0 / 3.0, "0.3333333333333333"},
           {kDenormMin, "4.94066e-324"},
           {kDoubleMax, "1.7976931348623157e+308"},
           {-kInfinity, "-INF"},
       }) {
    EXPECT_EQ(FormatPrintfG(c.value), c.expected) << FormatFull(c.value, '.');
  }
}

TEST(FormatPrintfG, ReadsBackExactly) {
  ScopedDecimalSeparator comma(',');
  EXPECT_EQ(FormatPrintfG(0.25), "0,25");
  for (const double value :
       {0.1, 2.0 / 3.0, 1e23, 9007199254740991.0, 1.0000000000000002, 0.9999999999999999,
        std::ldexp(1.0, -1022), std::ldexp(1.0, 1000), 3 * kDenormMin, 5e-324, kDoubleMax,
        -8.41e21, 2.2250738585072009e-308, 123456.7890123456}) {
    EXPECT_EQ(LocaleToDouble(FormatPrintfG(value)), value) << FormatPrintfG(value);
  }
}

TEST(FormatPrintfIntegers, PlainDecimal) {
  EXPECT_EQ(FormatPrintfD(0), "0");
  EXPECT_EQ(FormatPrintfD(-42), "-42");
  EXPECT_EQ(FormatPrintfD(1000000), "1000000");
  EXPECT_EQ(FormatPrintfD(LLONG_MIN), "-9223372036854775808");
  EXPECT_EQ(FormatPrintfU(0), "0");
  EXPECT_EQ(FormatPrintfU(ULLONG_MAX), "18446744073709551615");
}

TEST(FormatFixedReal, TwentyThreeCharactersWithAPoint) {
  ScopedDecimalSeparator comma(',');  // the model file ignores the user's separator
  struct FixedCase {
    double value;
    const char* expected;
  };
  for (const FixedCase& c : std::initializer_list<FixedCase>{
           {25, " 2.50000000000000E+0001"},
           {0.0, " 0.00000000000000E+0000"},
           {-0.0, " 0.00000000000000E+0000"},
           {-1.5e-7, "-1.50000000000000E-0007"},
           {1.0 / 3.0, " 3.33333333333333E-0001"},
           {-2.0 / 3.0, "-6.66666666666667E-0001"},
           {9.999999999999999, " 1.00000000000000E+0001"},
           {1e300, " 1.00000000000000E+0300"},
           {-1e-300, "-1.00000000000000E-0300"},
           {kDenormMin, " 4.94065645841247E-0324"},
           {4.66, " 4.66000000000000E+0000"},
       }) {
    const std::string text = FormatFixedReal(c.value);
    EXPECT_EQ(text, c.expected);
    EXPECT_EQ(text.size(), 23u) << text;
  }
}

TEST(FormatFixedReal, ReadsBackWithThePointConversion) {
  EXPECT_EQ(LocaleToDouble(FormatFixedReal(2.073e-6), '.'), 2.073e-6);
  EXPECT_EQ(LocaleToDouble(FormatFixedReal(-0.0005), '.'), -0.0005);
}

TEST(FormatFixedReal, RefusesNonFiniteValues) {
  try {
    FormatFixedReal(kNaN);
    ADD_FAILURE() << "NaN written";
  } catch (const ArithmeticFault& fault) {
    EXPECT_STREQ(fault.what(),
                 "arithmetic fault: the value NAN cannot be written as a real line of a "
                 "model file");
  }
  EXPECT_THROW(FormatFixedReal(-kInfinity), ArithmeticFault);
}

TEST(FormatFull, SeventeenSignificantDigits) {
  EXPECT_EQ(FormatFull(0.1, '.'), "0.10000000000000001");
  EXPECT_EQ(FormatFull(0.1, ','), "0,10000000000000001");
  EXPECT_EQ(FormatFull(25, '.'), "25");
  EXPECT_EQ(FormatFull(1e20, '.'), "1e+20");
  EXPECT_EQ(FormatFull(1.0 / 3.0, '.'), "0.33333333333333331");
  EXPECT_EQ(FormatFull(-1.5e-7, ','), "-1,4999999999999999e-07");
  EXPECT_EQ(FormatFull(kDenormMin, '.'), "4.9406564584124654e-324");
  EXPECT_EQ(FormatFull(kNaN, '.'), "NAN");
  EXPECT_EQ(LocaleToDouble(FormatFull(2.0 / 3.0, ','), ','), 2.0 / 3.0);
}

}  // namespace
}  // namespace quorrel
