// The pair loop: line ends, code lines, exact keywords, the ENTITIES switch and the stop at its ENDSEC, and the
// LINE entity.
#include <gtest/gtest.h>

#include <cmath>

#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "tests/dxf/DxfTestFiles.h"
#include "text/NumText.h"

namespace swivex {
namespace {

using test::Dxf;
using test::InEntities;
using test::RawLines;

class PairsAndLinesTest : public test::FreshStoreTest {};

TEST_F(PairsAndLinesTest, OneLineInEntities) {
  EXPECT_EQ(ReadDxfBytes(InEntities("0|LINE|8|壁|10|1.5|20|-2.25|30|3|11|1e3|21|+4.0|31|-0.5")), 1);
  EXPECT_EQ(LineCount, 1);
  EXPECT_EQ(PolylineCount, 0);
  ASSERT_EQ(Lines.size(), 1u);
  EXPECT_EQ(Lines[0].Layer.View(), "壁");
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.x, 1.5);
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.y, -2.25);
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.z, 3.0);
  EXPECT_DOUBLE_EQ(Lines[0].EndPt.x, 1000.0);
  EXPECT_DOUBLE_EQ(Lines[0].EndPt.y, 4.0);
  EXPECT_DOUBLE_EQ(Lines[0].EndPt.z, -0.5);
}

TEST_F(PairsAndLinesTest, LineWithoutZGroupsHasZZero) {
  ReadDxfBytes(InEntities("0|LINE|10|1|20|2|30|7|11|3|21|4|31|8"));
  ReadDxfBytes(InEntities("0|LINE|10|1|20|2|11|3|21|4"));
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.z, 0.0);
  EXPECT_DOUBLE_EQ(Lines[0].EndPt.z, 0.0);
}

TEST_F(PairsAndLinesTest, CodeLinesRightAlignedOrPlain) {
  const std::string file = RawLines({"  0", "SECTION", "2", "ENTITIES", "0", "LINE", " 10", "7", "  20", "8",
                                     "+11", "9", "0", "ENDSEC"});
  EXPECT_EQ(ReadDxfBytes(file), 1);
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.x, 7.0);
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.y, 8.0);
  EXPECT_DOUBLE_EQ(Lines[0].EndPt.x, 9.0);
}

TEST_F(PairsAndLinesTest, KeywordsMatchWholeLinesExactly) {
  const std::string file = RawLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE ", "  0", "line", "  0",
                                     " LINE", "  0", "Line", "  0", "LINE", "  0", "ENDSEC"});
  EXPECT_EQ(ReadDxfBytes(file), 1);
  // "ENTITIES " switches nothing on.
  EXPECT_EQ(ReadDxfBytes(RawLines({"  2", "ENTITIES ", "  0", "LINE"})), 0);
}

TEST_F(PairsAndLinesTest, LinesEndAtCrLfLoneCrAndLoneLf) {
  // Mixed ends; LF CR is two ends with an empty line between, which here is the value of a group 999 comment.
  const std::string file =
      "  0\r\nSECTION\r  2\nENTITIES\r\n  0\rLINE\n 10\r\n1.25\r999\n\r 20\r\n2.5\n  0\r\nENDSEC";
  EXPECT_EQ(ReadDxfBytes(file), 1);
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.x, 1.25);
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.y, 2.5);
}

TEST_F(PairsAndLinesTest, FinalBreakGivesNoEmptyLineAndOddLastLineIsIgnored) {
  // Odd number of lines: the last " 10" is never looked at. An empty line made from the final break would pair
  // with it and fail as a real.
  for (std::string_view eol : {"\r\n", "\n", "\r"}) {
    const std::string file = RawLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", " 10"}, eol);
    EXPECT_EQ(ReadDxfBytes(file), 1) << "eol " << eol.size();
  }
  // An unconvertible odd last line raises nothing.
  EXPECT_EQ(ReadDxfBytes(RawLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", "x y"})), 1);
  EXPECT_EQ(ReadDxfBytes(""), 0);
  EXPECT_EQ(ReadDxfBytes("\n"), 0);
}

TEST_F(PairsAndLinesTest, NoEntitiesSectionReadsNothing) {
  const std::string file = Dxf(
      "0|SECTION|2|BLOCKS|0|BLOCK|2|B|0|LINE|10|1|0|LWPOLYLINE|10|1|20|1|0|ENDBLK|0|ENDSEC|"
      "0|SECTION|2|OBJECTS|0|ENDSEC|0|EOF");
  EXPECT_EQ(ReadDxfBytes(file), 0);
  EXPECT_EQ(LineCount + PolylineCount + TextCount, 0);
  EXPECT_TRUE(Lines.empty());
}

// Only a section's name opens the entity section: a layer, linetype or block named ENTITIES is no section, and
// the TABLES section's ENDSEC after such a layer ends nothing.
TEST_F(PairsAndLinesTest, OnlyTheSectionNamedEntitiesIsRead) {
  const std::string file = Dxf(
      "0|SECTION|2|TABLES|0|TABLE|2|LAYER|0|LAYER|2|ENTITIES|0|ENDTAB|0|TABLE|2|LTYPE|0|LTYPE|2|ENTITIES|0|ENDTAB|"
      "0|ENDSEC|0|SECTION|2|BLOCKS|0|BLOCK|2|ENTITIES|0|LINE|8|BLK|0|ENDBLK|0|ENDSEC|"
      "0|SECTION|2|ENTITIES|0|LINE|8|ENTITIES|0|ENDSEC|0|EOF");
  ASSERT_EQ(ReadDxfBytes(file), 1);
  EXPECT_EQ(Lines[0].Layer.View(), "ENTITIES");
}

TEST_F(PairsAndLinesTest, BlocksBeforeEntitiesAreSkippedAndReadingStopsAtItsEndsec) {
  const std::string file = Dxf(
      "0|SECTION|2|BLOCKS|0|BLOCK|0|LINE|8|BLK|0|ENDBLK|0|ENDSEC|"  // an ENDSEC before ENTITIES ends nothing
      "0|SECTION|2|ENTITIES|0|LINE|8|E1|0|LINE|8|E2|0|ENDSEC|"
      "0|SECTION|2|OBJECTS|0|LINE|8|AFTER|0|ENDSEC|0|EOF");
  EXPECT_EQ(ReadDxfBytes(file), 2);
  EXPECT_EQ(Lines[0].Layer.View(), "E1");
  EXPECT_EQ(Lines[1].Layer.View(), "E2");
  // A conversion error after the stop is never reached.
  EXPECT_EQ(ReadDxfBytes(InEntities("0|LINE") + Dxf("0|LINE|10|nope")), 1);
}

TEST_F(PairsAndLinesTest, EntitiesWithoutEndsecReadToTheLastPair) {
  EXPECT_EQ(ReadDxfBytes(Dxf("0|SECTION|2|ENTITIES|0|LINE|0|LINE|8|L")), 2);
  EXPECT_EQ(Lines[1].Layer.View(), "L");
}

TEST_F(PairsAndLinesTest, ClosingPairMayStartTheNextRecord) {
  // Each record is closed by the code-0 pair that starts the next; unknown entities and their groups are
  // skipped, also groups that look like a LINE's.
  ReadDxfBytes(InEntities("0|LINE|10|1|0|POINT|10|99|8|P|0|LINE|10|2|0|CIRCLE|10|3|0|LINE|10|4"));
  ASSERT_EQ(LineCount, 3);
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.x, 1.0);
  EXPECT_TRUE(Lines[0].Layer.View().empty());
  EXPECT_DOUBLE_EQ(Lines[1].StartPt.x, 2.0);
  EXPECT_DOUBLE_EQ(Lines[2].StartPt.x, 4.0);
  EXPECT_DOUBLE_EQ(Circles[0].Center.x, 3.0);
}

// A file of one LINE whose group 10 is text: the read gives StrToFloat's value of it, sign included, or its error.
void ExpectFirstXAsStrToFloatGives(const std::string& file, const char* text) {
  double expected = 0.0;
  bool converts = true;
  try {
    expected = StrToFloat(text);
  } catch (const TConvertError&) {
    converts = false;
  }
  if (converts) {
    EXPECT_EQ(ReadDxfBytes(file), 1) << text;
    EXPECT_EQ(Lines[0].StartPt.x, expected) << text;
    EXPECT_EQ(std::signbit(Lines[0].StartPt.x), std::signbit(expected)) << text;
  } else {
    EXPECT_THROW(ReadDxfBytes(file), TConvertError) << text;
  }
}

TEST_F(PairsAndLinesTest, NumbersConvertExactlyAsTheTextConversionsDo) {
  // The reader takes short cuts for plain numbers; every text must give StrToFloat's value or its error.
  for (const char* text : {"1.5", "-0", "-0.0", ".5", "5.", "-.25", "1e5", "1.0000000000000000E+300", "1e400",
                           "1e-400", "+2", " 3", "4 ", "inf", "-nan", "NaN", "0x10", "1e", "--1", "1.2.3", "",
                           "123456789012345678901234567890", "0.1000000000000000055511151231257827",
                           "0.0000000000000000", "-0.0000000000000000", "0.", "0.000e5", "0.0001", "00.0"}) {
    ExpectFirstXAsStrToFloatGives(InEntities(std::string("0|LINE|10|") + text), text);
  }
  for (const char* text : {"0", "  70", "999999999", "1234567890", "2147483647", "-5", "+5", "007", " ", "7 "}) {
    const std::string file = RawLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "POLYLINE", " 70", text});
    bool converts = true;
    std::int32_t expected = 0;
    try {
      expected = StrToInt(text);
    } catch (const TConvertError&) {
      converts = false;
    }
    if (converts) {
      ReadDxfBytes(file);
      EXPECT_EQ(Polylines[0].Flags, expected) << text;
    } else {
      EXPECT_THROW(ReadDxfBytes(file), TConvertError) << text;
    }
  }
}

TEST_F(PairsAndLinesTest, NumbersAtEveryKindOfLineEnd) {
  // A number is read up to its line's end, whichever end that is, also at the very end of the bytes; anything
  // after it on the same line makes the line no number.
  for (std::string_view eol : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(eol.size() == 2 ? "CR LF" : eol == "\n" ? "LF" : "CR");
    for (bool breakAtEnd : {true, false}) {
      std::string file = RawLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", " 10", "-12345.1234567890123456", " 20"}, eol);
      file += breakAtEnd ? std::string("0.5") + std::string(eol) : "0.5";
      EXPECT_EQ(ReadDxfBytes(file), 1);
      EXPECT_EQ(Lines[0].StartPt.x, -12345.1234567890123456);
      EXPECT_EQ(Lines[0].StartPt.y, 0.5);
    }
    for (const char* text : {"1.5x", "1.5 ", "1.5\t", "2e", "-", "0x1p3"}) {
      ExpectFirstXAsStrToFloatGives(RawLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", " 10", text}, eol), text);
    }
  }
  // Two lone CRs end a line and an empty one: here the value of an unknown group.
  EXPECT_EQ(ReadDxfBytes("  0\rSECTION\r  2\rENTITIES\r  0\rLINE\r 10\r7\r999\r\r 20\r8\r"), 1);
  EXPECT_EQ(Lines[0].StartPt.x, 7.0);
  EXPECT_EQ(Lines[0].StartPt.y, 8.0);
}

TEST_F(PairsAndLinesTest, LongCodeLinesConvertLikeShortOnes) {
  // Nine digits and more: codes that no step knows, or a known code written with leading zeros.
  const std::string file = RawLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", "999999999", "x", "1234567890", "y",
                                     "0000000010", "3.5", "  000000020", "4.5", "0", "ENDSEC"});
  EXPECT_EQ(ReadDxfBytes(file), 1);
  EXPECT_EQ(Lines[0].StartPt.x, 3.5);
  EXPECT_EQ(Lines[0].StartPt.y, 4.5);
  bool raised = false;
  try {
    ReadDxfBytes(RawLines({"  0", "SECTION", "  2", "ENTITIES", "99999999999", "x"}));
  } catch (const TConvertError& error) {
    raised = true;
    EXPECT_EQ(error.Line(), 5);
    EXPECT_EQ(error.Text(), "99999999999");
  }
  EXPECT_TRUE(raised) << "no error for a code beyond int32";
}

}  // namespace
}  // namespace swivex
