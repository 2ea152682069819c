#include "text/FieldText.h"

#include <gtest/gtest.h>

#include <vector>

#include "text/NumText.h"

namespace swivex {
namespace {

// Shift-JIS bytes of the full-width characters used below.
const std::string kFw4 = "\x82\x53", kFw5 = "\x82\x54", kFw1 = "\x82\x50", kFw2 = "\x82\x51", kFw3 = "\x82\x52",
                  kFw0 = "\x82\x4F", kFw9 = "\x82\x58", kFwMinus = "\x81\x7C", kFwPlus = "\x81\x7B",
                  kFwStop = "\x81\x44", kIdeographicBlank = "\x81\x40", kDegree = "\x81\x8B", kMinute = "\x81\x8C",
                  kSecond = "\x81\x8D";

TEST(FieldText, FullWidthDigitsSignsStopAndBlanksReadAsAscii) {
  EXPECT_EQ(FieldToInt(kFw4 + kFw5), 45);
  EXPECT_EQ(FieldToInt(kFwMinus + kFw1 + kFw2), -12);
  EXPECT_EQ(FieldToInt(kIdeographicBlank + kFwPlus + kFw9), 9);
  EXPECT_EQ(FieldToFloat(kFw3 + kFw0 + kFwStop + kFw5 + kIdeographicBlank), 30.5);
  EXPECT_EQ(FieldToFloat("1" + kFw0 + ".5"), 10.5);  // mixed widths
  EXPECT_TRUE(FieldIsEmptyOrZero(kIdeographicBlank));
  EXPECT_TRUE(FieldIsEmptyOrZero(kFw0 + kFwStop + kFw0));
  EXPECT_FALSE(FieldIsEmptyOrZero("0x"));
}

TEST(FieldText, EverythingElseIsRefusedWithTheTypedText) {
  struct TCase {
    std::string Text;
    bool Integer;
  };
  // A full-width letter; a katakana with a full-width digit's trail byte under another lead byte; a decimal
  // where a whole number is wanted; a character cut in half; a sign after the digits.
  for (const TCase& c : {TCase{kFw4 + "\x82\x81", true}, TCase{"\x83\x4F", true}, TCase{kFw4 + kFwStop + kFw5, true},
                         TCase{"\x82", false}, TCase{kFw1 + kFwMinus, false}}) {
    try {
      if (c.Integer) FieldToInt(c.Text);
      else FieldToFloat(c.Text);
      ADD_FAILURE() << "accepted " << c.Text;
    } catch (const TConvertError& e) {
      EXPECT_EQ(e.Kind(), c.Integer ? TNumberKind::Integer : TNumberKind::Real);
      EXPECT_EQ(e.Text(), c.Text);
    }
  }
}

TEST(SplitDmsText, WholeAnglesAsTheyAreWritten) {
  struct TCase {
    std::string Text, Degrees, Minutes, Seconds;
  };
  for (const TCase& c : {
           TCase{"229" + kDegree + "50" + kMinute + "32" + kSecond, "229", "50", "32"},
           TCase{"229" + kDegree + "50'32.5\"", "229", "50", "32.5"},
           TCase{"229d50'32\"", "229", "50", "32"},
           TCase{"229D50'32''", "229", "50", "32"},
           TCase{"229-50-32", "229", "50", "32"},
           TCase{" 229 50 32 ", "229", "50", "32"},
           TCase{"229" + kDegree + " 50" + kMinute + " 32" + kSecond, "229", "50", "32"},
           TCase{kFw2 + kFw2 + kFw9 + kDegree + kFw5 + kFw0 + kMinute + kFw3 + kFw2 + kFwStop + kFw5 + kSecond,
                 "229", "50", "32.5"},
           TCase{kFwMinus + kFw2 + kFw2 + kFw9 + kFwMinus + kFw5 + kFw0 + kFwMinus + kFw3 + kFw2, "-229", "50", "32"},
           TCase{"-0" + kDegree + "30'15\"", "0", "-30", "-15"},  // the sign moves to minutes and seconds
           TCase{"229" + kDegree, "229", "0", "0"},
           TCase{"229" + kDegree + "50" + kMinute, "229", "50", "0"},
       }) {
    const auto dms = SplitDmsText(c.Text);
    ASSERT_TRUE(dms) << c.Text;
    EXPECT_EQ(dms->Degrees, c.Degrees) << c.Text;
    EXPECT_EQ(dms->Minutes, c.Minutes) << c.Text;
    EXPECT_EQ(dms->Seconds, c.Seconds) << c.Text;
  }
}

TEST(SplitDmsText, AnythingElseIsNoWholeAngle) {
  for (const std::string& text : std::vector<std::string>{std::string("229.842222"), std::string("229"), std::string("-12 "), std::string(""),
        "229" + kDegree + "50" + kMinute + "32" + kSecond + "x", "229.5" + kDegree + "30'", "229 50 32 1",
        "229" + kDegree + kDegree + "50", "229" + kDegree + "50.5'", std::string("229-50-32."), "229 50 " + kFw4 + "\x82\x81",
        std::string("abc")}) {
    EXPECT_FALSE(SplitDmsText(text)) << text;
  }
}

}  // namespace
}  // namespace swivex
