#include "text/NumText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace swivex {
namespace {

TEST(FormatFixed, PatternsOfTheDialogAndCommands) {
  EXPECT_EQ(FormatLength(5.0), "5.000000");
  EXPECT_EQ(FormatLength(1.4142135623730951), "1.414214");
  EXPECT_EQ(FormatDegrees(53.13010235415598), "53.13010235");
  EXPECT_EQ(FormatDegrees(5.0), " 5.00000000");  // below 10: one blank on the left
  EXPECT_EQ(FormatDegrees(0.0), " 0.00000000");
  EXPECT_EQ(FormatDegrees(-10.5), "-10.50000000");
  EXPECT_EQ(FormatDegrees(180.0), "180.00000000");
  EXPECT_EQ(FormatSeconds(48.36847524), "48.368475");
  EXPECT_EQ(FormatSeconds(0.0), "0.000000");
  EXPECT_EQ(FormatPoint(2.0, -1.0), "2.000000,-1.000000");
  EXPECT_EQ(FormatPoint(1234.56789, 5678.901234), "1234.567890,5678.901234");
}

TEST(FormatFixed, TiesRoundAwayFromZeroAfterEighteenDigits) {
  // The binary value of 101.0001015 lies below the tie; its 18 digits are the tie itself, which rounds up.
  // printf's exact rounding would give 101.000101.
  EXPECT_EQ(FormatFixed(101.0001015, 8, 6), "101.000102");
  EXPECT_EQ(FormatFixed(-101.0001015, 8, 6), "-101.000102");
  EXPECT_EQ(FormatFixed(0.125, 0, 2), "0.13");  // printf: 0.12 (ties to even)
  EXPECT_EQ(FormatFixed(2.5, 0, 0), "3");
  EXPECT_EQ(FormatFixed(-2.5, 0, 0), "-3");
  EXPECT_EQ(FormatFixed(0.0000015, 8, 6), "0.000002");
  EXPECT_EQ(FormatFixed(99.9999995, 8, 6), "100.000000");  // the carry runs through every digit
  EXPECT_EQ(FormatFixed(9.9999995, 8, 6), "9.999999");      // its 18 digits lie below the tie
  EXPECT_EQ(FormatFixed(999999.9999996, 8, 6), "1000000.000000");
  EXPECT_EQ(FormatFixed(0.0000004999, 8, 6), "0.000000");
  EXPECT_EQ(FormatFixed(0.00000051, 8, 6), "0.000001");  // only the first dropped digit counts
}

TEST(FormatFixed, NoMinusOnZeroAndTinyNegatives) {
  EXPECT_EQ(FormatFixed(-0.0, 8, 6), "0.000000");
  EXPECT_EQ(FormatFixed(-1e-300, 8, 6), "0.000000");
  EXPECT_EQ(FormatFixed(-0.0000004, 8, 6), "0.000000");
  EXPECT_EQ(FormatFixed(-0.0000006, 8, 6), "-0.000001");
  EXPECT_EQ(FormatFixed(-1e-300, 11, 8), " 0.00000000");
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::denorm_min(), 8, 6), "0.000000");
}

TEST(FormatFixed, WidthsAndLargeValues) {
  EXPECT_EQ(FormatFixed(1.0, 12, 2), "        1.00");
  EXPECT_EQ(FormatFixed(-1.0, 6, 2), " -1.00");
  EXPECT_EQ(FormatFixed(123456.5, 8, 6), "123456.500000");  // wider than the width: nothing cut
  EXPECT_EQ(FormatFixed(1e20, 8, 6), "100000000000000000000.000000");
  // Beyond 18 significant digits only zeros follow.
  EXPECT_EQ(FormatFixed(123456789012345678901.0, 0, 1), "123456789012345684000.0");
  EXPECT_EQ(FormatFixed(0.1, 0, 20), "0.10000000000000000600");
  EXPECT_EQ(FormatFixed(1.0 / 3.0, 0, 25), "0.3333333333333333150000000");
}

TEST(StrToInt, AcceptsWhatDxfAndTheFieldsWrite) {
  EXPECT_EQ(StrToInt("  0"), 0);  // right-aligned group codes
  EXPECT_EQ(StrToInt(" 10"), 10);
  EXPECT_EQ(StrToInt("999"), 999);
  EXPECT_EQ(StrToInt("+5"), 5);
  EXPECT_EQ(StrToInt("-53"), -53);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(StrToInt, RejectsEverythingElseWithTheText) {
  for (const char* bad : {"0 ", "\t1", "1\t", "", " ", "-", "+", "1.0", "1e3", "0x10", "$10", "2147483648",
                          "-2147483649", "99999999999999999999999", "1 2", "--1", "\xef\xbc\x91"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const TConvertError& e) {
      EXPECT_EQ(e.Kind(), TNumberKind::Integer);
      EXPECT_EQ(e.Text(), bad);
      EXPECT_EQ(e.Line(), 0);
    }
  }
}

TEST(StrToFloat, GrammarOfEchoesDxfAndFields) {
  EXPECT_EQ(StrToFloat("0"), 0.0);
  EXPECT_EQ(StrToFloat(" 10.5"), 10.5);
  EXPECT_EQ(StrToFloat("0 "), 0.0);  // the third UCS piece keeps its blank before the remark
  EXPECT_EQ(StrToFloat("-3"), -3.0);
  EXPECT_EQ(StrToFloat("+2.25"), 2.25);
  EXPECT_EQ(StrToFloat("5."), 5.0);
  EXPECT_EQ(StrToFloat(".5"), 0.5);
  EXPECT_EQ(StrToFloat("1E3"), 1000.0);
  EXPECT_EQ(StrToFloat("1.5e-2"), 0.015);
  EXPECT_EQ(StrToFloat("-1.224646799147353E-16"), -1.224646799147353e-16);
  EXPECT_EQ(StrToFloat("8.7960972124160000E+12"), 8796097212416.0);
  EXPECT_EQ(StrToFloat("0.1"), 0.1);  // the nearest double
  EXPECT_EQ(StrToFloat("1.0000000000000000"), 1.0);
  EXPECT_EQ(StrToFloat("1e-400"), 0.0);  // too small rounds to zero
  EXPECT_TRUE(std::signbit(StrToFloat("-0.0")));
}

TEST(StrToFloat, RejectsEverythingElseWithTheText) {
  for (const char* bad : {"", " ", ".", "-", "+.", "1.2.3", "\t1", "1\t", "1e", "1e+", "e5", "1,5", "0x10", "nan",
                          "inf", "1e400", "1 2", "--1", "1d", "abc", "\xef\xbc\x91"}) {
    try {
      StrToFloat(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const TConvertError& e) {
      EXPECT_EQ(e.Kind(), TNumberKind::Real);
      EXPECT_EQ(e.Text(), bad);
    }
  }
}

TEST(NumberGrammar, SignDigitsAndExponentTouchAndOnlyU0020IsABlank) {
  // Accepted: the mantissa may start or end at its full stop, the exponent's sign and blanks on both sides.
  EXPECT_EQ(StrToFloat("+.5"), 0.5);
  EXPECT_EQ(StrToFloat("-5."), -5.0);
  EXPECT_EQ(StrToFloat("  +1e+3  "), 1000.0);
  EXPECT_EQ(StrToFloat("1.e5"), 1e5);
  EXPECT_EQ(StrToFloat(".5E1"), 5.0);
  EXPECT_EQ(StrToFloat("1E-0"), 1.0);
  EXPECT_EQ(StrToFloat("00.5"), 0.5);
  EXPECT_EQ(StrToInt("   -0"), 0);
  // Rejected: a blank inside the number, a second sign or exponent, a fraction in the exponent, and white space
  // other than U+0020 (which strtod or isspace would let through).
  for (const char* bad : {"+ 5", "- 5", "1 e5", "1e 5", "1e5.5", "1e+-5", "1e5e5", ". 5", "5-", "-.", "+-1",
                          "\v1", "\f1", "\r1", "1\n", "1\r", "\x0b", "0x1p3", "infinity", "1e+ 5"}) {
    EXPECT_THROW(StrToFloat(bad), TConvertError) << "'" << bad << "'";
  }
  for (const char* bad : {"+ 5", "- 5", "5-", "\n5", "5\r", "\v5", "5\n", "+-5", "1e0", "\xd9\xa3"}) {
    EXPECT_THROW(StrToInt(bad), TConvertError) << "'" << bad << "'";
  }
}

TEST(ConvertError, MessagesAndTheAppendedFullStop) {
  const TConvertError intError(TNumberKind::Integer, "abc");
  EXPECT_STREQ(intError.what(), "'abc' は整数ではありません");
  const TConvertError realError(TNumberKind::Real, "", 12);
  EXPECT_STREQ(realError.what(), "'' は浮動小数点数ではありません");
  EXPECT_EQ(realError.Line(), 12);
  EXPECT_EQ(ConvertErrorMessageUtf8(TNumberKind::Integer, "abc"), "'abc' は整数ではありません.");
  EXPECT_EQ(ConvertErrorMessageUtf8(TNumberKind::Real, "x"), "'x' は浮動小数点数ではありません.");
  EXPECT_EQ(AppendFullStop("done."), "done.");  // "." does not sort after itself
  EXPECT_EQ(AppendFullStop("what!"), "what!");
  EXPECT_EQ(AppendFullStop("done"), "done.");
  EXPECT_EQ(AppendFullStop(""), "");
}

}  // namespace
}  // namespace swivex
