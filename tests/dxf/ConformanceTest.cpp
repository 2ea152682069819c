// The reader's rules that are easy to lose while making it faster: what a reused or re-added slot holds, codes
// compared as numbers and keywords as whole lines, the order in which one pair meets the style and entity steps,
// state that must not outlive a call, groups that are never converted, the text passes and their order, and the
// store after a failed or missing read.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "tests/dxf/DxfTestFiles.h"
#include "text/NumText.h"

namespace swivex {
namespace {

using test::Dxf;
using test::InEntities;
using test::RawLines;
using test::WithStyles;

class ConformanceTest : public test::FreshStoreTest {};

using test::Repeat;

// Records of one kind numbered 0..count-1 through the given group, e.g. "0|ARC|40|" → 0|ARC|40|0|0|ARC|40|1...
std::string Numbered(const std::string& prefix, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += (i ? "|" : "") + prefix + std::to_string(i);
  return out;
}

using test::ConvertErrorOf;

// ---- Slots ------------------------------------------------------------------------------------------------

TEST_F(ConformanceTest, EveryArrayGrowsInStepsOfHundred) {
  const std::string file = InEntities(Repeat("0|ARC", 101) + "|" + Repeat("0|CIRCLE", 201) + "|" +
                                      Repeat("0|LWPOLYLINE|0|POLYLINE|0|SEQEND", 51));
  EXPECT_EQ(ReadDxfBytes(file), 0);
  EXPECT_EQ(ArcCount, 101);
  EXPECT_EQ(Arcs.size(), 200u);
  EXPECT_EQ(CircleCount, 201);
  EXPECT_EQ(Circles.size(), 300u);  // steps of 100, not doubling
  EXPECT_EQ(PolylineCount, 102);    // both kinds count in the one array
  EXPECT_EQ(Polylines.size(), 200u);
  EXPECT_EQ(Texts.size(), 100u);
  EXPECT_TRUE(Lines.empty());
}

TEST_F(ConformanceTest, SlotsFromHundredOnAreGoneAtTheNextRead) {
  ReadDxfBytes(InEntities(Numbered("0|ARC|40|", 150)));
  ASSERT_EQ(Arcs.size(), 200u);
  ReadDxfBytes(InEntities("0|ARC"));
  ASSERT_EQ(Arcs.size(), 100u);
  EXPECT_DOUBLE_EQ(Arcs[99].Radius, 99.0);  // below 100: kept, though not valid
  // Growing again gives fresh zero slots, not the records that stood there two reads ago.
  ReadDxfBytes(InEntities(Repeat("0|ARC", 120)));
  ASSERT_EQ(Arcs.size(), 200u);
  EXPECT_DOUBLE_EQ(Arcs[99].Radius, 99.0);
  EXPECT_DOUBLE_EQ(Arcs[100].Radius, 0.0);
  EXPECT_DOUBLE_EQ(Arcs[119].Radius, 0.0);
}

TEST_F(ConformanceTest, LinesCutAwayComeBackAsZeroSlots) {
  ReadDxfBytes(InEntities("0|LINE|10|5|20|-5|0|LINE|10|6|20|-6"));
  ReadDxfBytes(InEntities("0|LINE"));  // Lines cut to one slot
  ASSERT_EQ(Lines.size(), 1u);
  ReadDxfBytes(InEntities("0|LINE|0|LINE"));
  ASSERT_EQ(Lines.size(), 2u);
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.x, 5.0);  // x and y are not reset: the kept slot still has them
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.y, -5.0);
  EXPECT_DOUBLE_EQ(Lines[1].StartPt.x, 0.0);  // slot 1 was cut away and added again, zero-filled
  EXPECT_DOUBLE_EQ(Lines[1].StartPt.y, 0.0);

  // A read that fails does not cut Lines, so the next read finds the slot with its old x and y.
  ReadDxfBytes(InEntities("0|LINE|10|5|0|LINE|10|6|20|-6"));
  ConvertErrorOf(InEntities("0|LINE|10|x"));
  EXPECT_EQ(Lines.size(), 100u);
  ReadDxfBytes(InEntities("0|LINE|0|LINE"));
  ASSERT_EQ(Lines.size(), 2u);
  EXPECT_DOUBLE_EQ(Lines[1].StartPt.x, 6.0);
  EXPECT_DOUBLE_EQ(Lines[1].StartPt.y, -6.0);
}

TEST_F(ConformanceTest, ReusedStyleAndTextSlotsAreReset) {
  ReadDxfBytes(WithStyles("0|STYLE|2|Old|40|3.5|0|STYLE|2|Standard|40|4", "0|TEXT|1|old|40|9"));
  // A style record without groups 2 and 40 in the slot of "Old": empty name, height 10.0.
  std::int32_t styleCount = 0;
  ReadDxfBytes(WithStyles("0|STYLE|70|0", "0|TEXT"), styleCount);
  EXPECT_EQ(styleCount, 1);
  EXPECT_TRUE(Styles[0].Name.View().empty());
  EXPECT_DOUBLE_EQ(Styles[0].Height, 10.0);
  // The new text's height is that of "Standard", found in slot 1, which this read did not touch.
  EXPECT_TRUE(Texts[0].Text.View().empty());
  EXPECT_DOUBLE_EQ(Texts[0].Height, 4.0);
}

// ---- Pairs: codes, keywords and the order of the steps ------------------------------------------------------

TEST_F(ConformanceTest, CodesAreComparedAsNumbers) {
  // Every spelling of a code that converts to the same integer is that code.
  const std::string file = RawLines({"0", "SECTION", "+2", "ENTITIES", "000", "LINE", "08", "A", "-0", "LINE",
                                     "   010", "7", "+0", "LINE", "0000000000000000000000021", "8", "-00", "ENDSEC",
                                     "  0", "LINE"});
  ASSERT_EQ(ReadDxfBytes(file), 3);
  EXPECT_EQ(Lines[0].Layer.View(), "A");
  EXPECT_DOUBLE_EQ(Lines[1].StartPt.x, 7.0);
  EXPECT_DOUBLE_EQ(Lines[2].EndPt.y, 8.0);
}

TEST_F(ConformanceTest, KeywordsNeedTheirOwnCode) {
  // 2/LINE starts nothing, 0/ENTITIES switches nothing on, 2/ENDSEC and 8/ENDSEC stop nothing.
  EXPECT_EQ(ReadDxfBytes(Dxf("0|ENTITIES|0|LINE")), 0);
  ASSERT_EQ(ReadDxfBytes(InEntities("2|LINE|0|LINE|2|ENDSEC|8|ENDSEC|0|LINE")), 2);
  EXPECT_EQ(Lines[0].Layer.View(), "ENDSEC");
  std::int32_t styleCount = 0;
  ReadDxfBytes(Dxf("0|SECTION|2|TABLES|0|TABLE|2|STYLE|2|STYLE|0|ENDTAB"), styleCount);
  EXPECT_EQ(styleCount, 0);  // 2/STYLE is the table header, never a record
}

TEST_F(ConformanceTest, EveryKeywordMatchesOnlyTheWholeLine) {
  const char* const entityKeywords[] = {"LINE", "TEXT", "MTEXT", "ARC", "CIRCLE", "POLYLINE", "LWPOLYLINE"};
  for (const std::string keyword : entityKeywords) {
    std::string lower = keyword;
    for (char& c : lower) c = static_cast<char>(c - 'A' + 'a');
    for (const std::string& variant :
         {keyword + " ", " " + keyword, keyword + "\t", lower, keyword.substr(0, keyword.size() - 1),
          keyword + "S", keyword + std::string(1, '\0'), "A" + keyword}) {
      SCOPED_TRACE(keyword + " as [" + variant + "]");
      ReadDxfBytes(InEntities("0|" + variant + "|8|X|10|1|20|2|40|3|1|t"));
      EXPECT_EQ(LineCount + TextCount + ArcCount + CircleCount + PolylineCount, 0);
    }
  }
  // VERTEX: only the exact word opens a vertex of the polyline before it.
  for (const std::string& variant :
       {std::string("VERTEX "), std::string("vertex"), std::string("VERTE"), std::string("VERTEX\0", 7)}) {
    ReadDxfBytes(InEntities("0|POLYLINE|0|" + variant + "|10|1|20|2"));
    EXPECT_EQ(Polylines[0].VertexCount, 0) << variant;
  }
  // ENTITIES, ENDSEC and STYLE, each with a trailing blank or in small letters.
  EXPECT_EQ(ReadDxfBytes(Dxf("0|SECTION|2|ENTITIES |0|LINE|2|Entities|0|LINE")), 0);
  EXPECT_EQ(ReadDxfBytes(InEntities("0|LINE|0|ENDSEC |0|LINE|0|endsec|0|LINE")), 3);
  std::int32_t styleCount = 0;
  ReadDxfBytes(Dxf("0|TABLE|2|STYLE |0|STYLE|2|a|0|TABLE|2|style|0|STYLE|2|b|0|TABLE|2|STYLE|0|STYLE |2|c|"
                   "0|style|2|d|0|STYLE|2|e"),
               styleCount);
  EXPECT_EQ(styleCount, 1);
  EXPECT_EQ(Styles[0].Name.View(), "e");
}

TEST_F(ConformanceTest, StyleNamedEntitiesIsAStyleNotTheSection) {
  // 2/ENTITIES opens the entity section only as a section's name; in the STYLE table it names a style.
  std::int32_t styleCount = 0;
  ReadDxfBytes(Dxf("0|SECTION|2|TABLES|0|TABLE|2|STYLE|0|STYLE|2|ENTITIES|40|2|0|LINE|0|ENDTAB|0|ENDSEC|"
                   "0|SECTION|2|ENTITIES|0|LINE|0|ENDSEC"),
               styleCount);
  EXPECT_EQ(styleCount, 1);
  EXPECT_EQ(Styles[0].Name.View(), "ENTITIES");
  EXPECT_DOUBLE_EQ(Styles[0].Height, 2.0);
  EXPECT_EQ(LineCount, 1);
}

TEST_F(ConformanceTest, StyleFlagFollowsAnyTwoStylePair) {
  std::int32_t styleCount = 0;
  // 0/STYLE before any 2/STYLE starts no record.
  ReadDxfBytes(Dxf("0|STYLE|2|Early|40|1|0|TABLE|2|STYLE|0|STYLE|2|Real|40|2"), styleCount);
  EXPECT_EQ(styleCount, 1);
  EXPECT_EQ(Styles[0].Name.View(), "Real");
  // The section structure is not checked: a 2/STYLE inside ENTITIES (here an INSERT of a block named STYLE)
  // turns the style steps on again; the 0/STYLE after it is both a style record and the end of the INSERT.
  ReadDxfBytes(WithStyles("0|STYLE|2|Standard|40|1",
                          "0|INSERT|2|STYLE|0|STYLE|2|Late|40|4|0|LINE|8|L|2|X|40|5"),
               styleCount);
  EXPECT_EQ(styleCount, 2);
  EXPECT_EQ(Styles[1].Name.View(), "Late");
  EXPECT_DOUBLE_EQ(Styles[1].Height, 4.0);  // the LINE's 0 pair closed it before its 40
  ASSERT_EQ(LineCount, 1);
  EXPECT_EQ(Lines[0].Layer.View(), "L");
}

TEST_F(ConformanceTest, NoReaderStateOutlivesACall) {
  // The first read ends inside ENTITIES with a LINE open and no ENDSEC; the next file has no ENTITIES.
  ReadDxfBytes(Dxf("0|SECTION|2|ENTITIES|0|LINE|10|1"));
  EXPECT_EQ(ReadDxfBytes(Dxf("10|7|0|LINE|8|x|0|LWPOLYLINE|10|1|20|1|0|TEXT")), 0);
  EXPECT_EQ(PolylineCount + TextCount, 0);
  // A read that ends with a style record open, then one without a STYLE table.
  ReadDxfBytes(Dxf("0|TABLE|2|STYLE|0|STYLE|2|A"));
  std::int32_t styleCount = -1;
  ReadDxfBytes(Dxf("2|Name|40|5|0|STYLE|2|Z"), styleCount);
  EXPECT_EQ(styleCount, 0);
  EXPECT_EQ(Styles[0].Name.View(), "A");
  EXPECT_DOUBLE_EQ(Styles[0].Height, 10.0);
  // A read that ends with a VERTEX open.
  ReadDxfBytes(InEntities("0|POLYLINE|0|VERTEX|10|1"));
  ReadDxfBytes(Dxf("0|SECTION|2|ENTITIES|0|LWPOLYLINE|0|SEQEND|10|3|20|4"));
  EXPECT_EQ(Polylines[0].VertexCount, 0);
}

// ---- Groups the steps read, and those they never convert ---------------------------------------------------

TEST_F(ConformanceTest, GroupsNoStepReadsAreNeverConverted) {
  // Each of these values would fail as a number; none of their groups is read where it stands.
  const std::string file = Dxf(
      "0|SECTION|2|HEADER|9|$EXTMIN|10|bad|20|bad|0|ENDSEC|"
      "0|SECTION|2|TABLES|0|TABLE|2|STYLE|70|bad|0|STYLE|2|S|70|bad|41|bad|42|bad|50|bad|71|bad|0|ENDTAB|"
      "0|TABLE|2|LAYER|0|LAYER|2|0|70|bad|62|bad|0|ENDTAB|0|ENDSEC|"
      "0|SECTION|2|BLOCKS|0|BLOCK|10|bad|0|LINE|10|bad|0|ENDBLK|0|ENDSEC|"
      "0|SECTION|2|ENTITIES|"
      "0|LINE|40|bad|50|bad|70|bad|72|bad|210|bad|"
      "0|TEXT|8|bad|41|bad|50|bad|51|bad|71|bad|74|bad|"
      "0|MTEXT|42|bad|44|bad|71|bad|90|bad|"
      "0|ARC|11|bad|21|bad|39|bad|70|bad|"
      "0|CIRCLE|11|bad|50|bad|51|bad|70|bad|"
      "0|POLYLINE|10|bad|20|bad|66|bad|71|bad|75|bad|"
      "0|VERTEX|10|1|20|2|50|bad|71|bad|"
      "0|SEQEND|10|bad|62|bad|"
      "0|LWPOLYLINE|90|bad|10|3|20|4|91|bad|"
      "0|POINT|10|bad|0|INSERT|41|bad|0|DIMENSION|70|bad|"
      "0|ENDSEC|0|SECTION|2|OBJECTS|0|DICTIONARY|330|bad|0|ENDSEC|0|EOF");
  std::int32_t styleCount = 0;
  EXPECT_EQ(ReadDxfBytes(file, styleCount), 1);
  EXPECT_EQ(styleCount, 1);
  EXPECT_EQ(TextCount, 2);
  EXPECT_EQ(ArcCount, 1);
  EXPECT_EQ(CircleCount, 1);
  ASSERT_EQ(PolylineCount, 2);
  EXPECT_EQ(Polylines[0].VertexCount, 1);
  EXPECT_EQ(Polylines[0].Flags, 0);
  EXPECT_EQ(Polylines[1].VertexCount, 1);
  EXPECT_DOUBLE_EQ(Polylines[1].Vertices[0].y, 4.0);
}

TEST_F(ConformanceTest, VertexGroupsGoToTheLastPolylineStarted) {
  // Every group 10 of a VERTEX adds a vertex; a VERTEX after another entity still belongs to the last polyline.
  ReadDxfBytes(InEntities("0|POLYLINE|8|P|0|VERTEX|10|1|20|1|10|2|20|2|0|LINE|0|VERTEX|10|3|20|3|70|5|0|SEQEND"));
  ASSERT_EQ(PolylineCount, 1);
  const TPolylineRec& p = Polylines[0];
  EXPECT_EQ(p.VertexCount, 3);
  EXPECT_DOUBLE_EQ(p.Vertices[1].x, 2.0);
  EXPECT_DOUBLE_EQ(p.Vertices[2].y, 3.0);
  EXPECT_EQ(p.VertexFlags[2], 5);
  EXPECT_EQ(p.Layer.View(), "P");
  EXPECT_EQ(LineCount, 1);
}

// ---- Text values --------------------------------------------------------------------------------------------

TEST_F(ConformanceTest, PhiIsReplacedAfterTheCodesGoAndBeforeTheCut) {
  // "\P" inside the code: the passes remove it first, which forms "\U+03C6".
  ReadDxfBytes(InEntities("0|TEXT|1|d\\U+03\\PC6=5"));
  EXPECT_EQ(Texts[0].Text.View(), "d\x83\xD3=5");
  // 253 bytes then the seven characters: replaced first, so the two bytes of "φ" fit into 255.
  const std::string head(253, 'a');
  ReadDxfBytes(InEntities("0|TEXT|1|" + head + "\\U+03C6tail"));
  EXPECT_EQ(Texts[0].Text.View(), head + "\x83\xD3");
  // Compared byte for byte: other letter case is not the code.
  ReadDxfBytes(InEntities("0|TEXT|1|\\u+03C6\\U+03c6|0|TEXT|1|"));
  EXPECT_EQ(Texts[0].Text.View(), "\\u+03C6\\U+03c6");
  EXPECT_TRUE(Texts[1].Text.View().empty());
  // An empty group 1 replaces what was there.
  ReadDxfBytes(InEntities("0|MTEXT|3|piece|1|"));
  EXPECT_TRUE(Texts[0].Text.View().empty());
}

TEST_F(ConformanceTest, StripPassesRunInTheirOrder) {
  // \P before \T: deleting "\P" forms "\T1;", which pass 6 then removes.
  EXPECT_EQ(StripMTextCodes("\\\\PT1;x"), "x");
  // \T before \C: removing "\T1;" forms "\C2;".
  EXPECT_EQ(StripMTextCodes("\\C\\T1;2;"), "");
  // \L before \l and \O before \o: a code formed by a later pass stays.
  EXPECT_EQ(StripMTextCodes("\\\\lLx"), "\\Lx");
  EXPECT_EQ(StripMTextCodes("\\\\oOx"), "\\Ox");
}

TEST_F(ConformanceTest, StripRunsEndAtTheFirstSemicolonAfterTheCode) {
  EXPECT_EQ(StripMTextCodes("\\Ta\\T1;b"), "b");     // the first "\T" takes the ";" of the second
  EXPECT_EQ(StripMTextCodes("\\T;;"), ";");
  EXPECT_EQ(StripMTextCodes("x\\C;\\C;"), "x");
  EXPECT_EQ(StripMTextCodes("a\\Cb;\\Cc"), "a\\Cc");  // the pass ends at a "\C" with no ";" after it
  EXPECT_EQ(StripMTextCodes("\\t1;\\c2;"), "\\t1;\\c2;");
  // Bytes, not characters: the second byte of a two-byte character may be a backslash (0x5C).
  EXPECT_EQ(StripMTextCodes("\x95\x5CP"), "\x95");
  EXPECT_EQ(StripMTextCodes("\x95\x5CTx;y"), "\x95y");
}

// ---- StyleHeight --------------------------------------------------------------------------------------------

TEST_F(ConformanceTest, StyleHeightSeesTheSlotsTheReadKept) {
  std::string styles;
  for (int i = 0; i < 150; ++i) styles += (i ? "|0|STYLE|2|S" : "0|STYLE|2|S") + std::to_string(i) + "|40|" +
                                          std::to_string(i + 1);
  ReadDxfBytes(WithStyles(styles, ""));
  EXPECT_DOUBLE_EQ(StyleHeight("S120"), 121.0);
  ReadDxfBytes(WithStyles("0|STYLE|2|New|40|0.5", "0|TEXT|7|S50|0|TEXT|7|S120|0|TEXT|7|New"));
  EXPECT_DOUBLE_EQ(Texts[0].Height, 51.0);  // slot 50 kept its style
  EXPECT_DOUBLE_EQ(Texts[1].Height, 0.0);   // slot 120 is gone: unknown name
  EXPECT_DOUBLE_EQ(Texts[2].Height, 0.5);
  // A style record without group 2 has the empty name, and group 7 with an empty value finds it.
  ReadDxfBytes(WithStyles("0|STYLE|40|5", "0|TEXT|7|"));
  EXPECT_DOUBLE_EQ(Texts[0].Height, 5.0);
}

// ---- Failed and missing reads -------------------------------------------------------------------------------

TEST_F(ConformanceTest, FailedReadKeepsHalfFilledRecords) {
  const TConvertError error = ConvertErrorOf(InEntities(
      Repeat("0|LINE", 150) + "|0|ARC|8|A|10|1|20|2|40|3|50|10|51|x|8|after|0|CIRCLE"));
  EXPECT_EQ(error.Kind(), TNumberKind::Real);
  EXPECT_EQ(error.Text(), "x");
  EXPECT_EQ(LineCount, 150);
  EXPECT_EQ(Lines.size(), 200u);  // grown and not cut
  EXPECT_EQ(ArcCount, 1);
  EXPECT_EQ(Arcs[0].Layer.View(), "A");
  EXPECT_DOUBLE_EQ(Arcs[0].StartAngle, 10.0);
  EXPECT_DOUBLE_EQ(Arcs[0].EndAngle, 0.0);
  EXPECT_EQ(CircleCount, 0);
  // A code line that fails: the pair before it was handled, its own value never is.
  const TConvertError codeError = ConvertErrorOf(InEntities("0|TEXT|1|t|7 |x|0|TEXT"));
  EXPECT_EQ(codeError.Kind(), TNumberKind::Integer);
  EXPECT_EQ(codeError.Text(), " 7 ");  // written right-aligned in three columns
  EXPECT_EQ(codeError.Line(), 9);
  EXPECT_EQ(TextCount, 1);
  EXPECT_EQ(Texts[0].Text.View(), "t");
}

TEST_F(ConformanceTest, BreakPairsAtTheEnd) {
  // LF then CR is two breaks: the CR ends an empty line, which pairs with " 10" and fails as a real.
  const std::string lines = RawLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", " 10"});
  const TConvertError error = ConvertErrorOf(lines + "\r");
  EXPECT_EQ(error.Kind(), TNumberKind::Real);
  EXPECT_EQ(error.Text(), "");
  EXPECT_EQ(error.Line(), 8);
  EXPECT_EQ(ConvertErrorOf(RawLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", " 10"}, "\r") + "\r").Line(), 8);
  // CR LF is one break, so the same five lines end the file with an odd line and no error.
  EXPECT_EQ(ReadDxfBytes(RawLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", " 10"}, "\r\n")), 1);
}

TEST_F(ConformanceTest, MissingFileKeepsGrownArrays) {
  ReadDxfBytes(InEntities(Repeat("0|LINE", 3) + "|" + Repeat("0|TEXT", 101)));
  ASSERT_EQ(Texts.size(), 200u);
  const auto missing = std::filesystem::temp_directory_path() / "swivex-no-such-folder" / "none.dxf";
  EXPECT_EQ(ReadDxfEntities(missing.string()), 0);
  EXPECT_EQ(LineCount + TextCount, 0);
  EXPECT_TRUE(Lines.empty());
  EXPECT_EQ(Texts.size(), 200u);  // not set to 100: the file did not exist
  EXPECT_EQ(Polylines.size(), 100u);
}

// ---- A file on disk reads as its bytes do -------------------------------------------------------------------

struct TLineSnapshot {
  double X, Y, EndX;
  std::string Layer;
  bool operator==(const TLineSnapshot&) const = default;
};

// What a read left: LineCount, the lines, and the conversion error's line (0 when none).
struct TReadOutcome {
  std::int32_t Count = -1;
  std::vector<TLineSnapshot> Lines;
  int ErrorLine = 0;
};

template <class Read>
TReadOutcome OutcomeOf(Read read) {
  TReadOutcome outcome;
  try {
    read();
  } catch (const TConvertError& error) {
    outcome.ErrorLine = error.Line();
  }
  outcome.Count = LineCount;
  for (std::int32_t i = 0; i < LineCount; ++i)
    outcome.Lines.push_back({swivex::Lines[i].StartPt.x, swivex::Lines[i].StartPt.y, swivex::Lines[i].EndPt.x,
                             swivex::Lines[i].Layer.Str()});
  return outcome;
}

TEST_F(ConformanceTest, FileReadsLikeItsBytesWhereverItsLinesFall) {
  // A few hundred kilobytes of one repeated LINE record, shifted byte by byte through a whole record by a comment
  // before it, so that wherever a large file is cut into pieces, every place in a record (inside a code, a
  // keyword, a number, between CR and LF) meets a cut once. Every other file ends with a value that fails.
  const auto folder = std::filesystem::temp_directory_path() /
                      ("swivex-conformance-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(folder);
  const std::string name = (folder / "shifted.dxf").string();
  for (std::string_view eol : {"\r\n", "\r", "\n"}) {
    // A cut inside the zeros of 1e-16 must not end the number early.
    const std::string record =
        RawLines({"  0", "LINE", "  8", "L1", " 10", "1.25", " 20", "-2.5", " 11", "0.0000000000000001"}, eol);
    // Somewhat more than 256 kB, so that a read in pieces of that size or less meets at least one cut.
    const int records = static_cast<int>(270000 / record.size());
    std::string body;
    for (int i = 0; i < records; ++i) body += record;
    for (std::size_t shift = 0; shift <= record.size(); ++shift) {
      SCOPED_TRACE(std::string(eol == "\r\n" ? "CR LF" : eol == "\r" ? "CR" : "LF") + " shift " + std::to_string(shift));
      std::string bytes = RawLines({"999", std::string(shift, 'c'), "  0", "SECTION", "  2", "ENTITIES"}, eol) + body;
      // No ENDSEC: the read goes to the last pair, and a lone last line is never looked at.
      bytes += shift % 2 ? RawLines({"  0", "LINE", " 10", "1.5x"}, eol) : RawLines({"  0"}, eol);
      {
        std::ofstream out(name, std::ios::binary);
        out << bytes;
      }
      const TReadOutcome fromFile = OutcomeOf([&] { ReadDxfEntities(name); });
      const TReadOutcome fromBytes = OutcomeOf([&] { ReadDxfBytes(bytes); });
      ASSERT_EQ(fromFile.Count, shift % 2 ? records + 1 : records);
      EXPECT_EQ(fromFile.Count, fromBytes.Count);
      EXPECT_EQ(fromFile.ErrorLine, fromBytes.ErrorLine);
      EXPECT_EQ(fromFile.ErrorLine, shift % 2 ? 6 + 10 * records + 4 : 0);
      EXPECT_TRUE(fromFile.Lines == fromBytes.Lines);
      EXPECT_EQ(fromFile.Lines[records - 1], (TLineSnapshot{1.25, -2.5, 1e-16, "L1"}));
      if (HasFailure()) break;
    }
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace swivex
