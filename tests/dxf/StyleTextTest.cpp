// The STYLE table, StyleHeight across reads, the TEXT/MTEXT record with its code-1 and code-3 values,
// StripMTextCodes, and ARC and CIRCLE.
#include <gtest/gtest.h>

#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "tests/dxf/DxfTestFiles.h"

namespace swivex {
namespace {

using test::Dxf;
using test::InEntities;
using test::WithStyles;

class StyleTextTest : public test::FreshStoreTest {};

TEST_F(StyleTextTest, StyleTableRecords) {
  std::int32_t styleCount = 0;
  ReadDxfBytes(WithStyles("0|STYLE|2|Standard|70|0|40|0.0|41|1.0|3|txt|0|STYLE|2|注記|3|romans", ""), styleCount);
  EXPECT_EQ(styleCount, 2);
  EXPECT_EQ(Styles[0].Name.View(), "Standard");
  EXPECT_DOUBLE_EQ(Styles[0].Height, 0.0);
  EXPECT_EQ(Styles[1].Name.View(), "注記");
  EXPECT_DOUBLE_EQ(Styles[1].Height, 10.0);
  EXPECT_EQ(Styles.size(), 100u);
}

TEST_F(StyleTextTest, LaterTablesAndBlocksDoNotReachStyles) {
  const std::string file = Dxf(
      "0|SECTION|2|TABLES|0|TABLE|2|STYLE|0|STYLE|2|S1|40|2.5|0|ENDTAB|"
      "0|TABLE|2|DIMSTYLE|0|DIMSTYLE|2|ISO|40|7|0|ENDTAB|0|TABLE|2|BLOCK_RECORD|0|BLOCK_RECORD|2|*Model|0|ENDTAB|"
      "0|ENDSEC|0|SECTION|2|BLOCKS|0|BLOCK|2|B|40|9|0|ENDBLK|0|ENDSEC|"
      "0|SECTION|2|ENTITIES|0|TEXT|2|X|40|1|0|STYLE|2|late|0|ENDSEC");
  std::int32_t styleCount = 0;
  ReadDxfBytes(file, styleCount);
  EXPECT_EQ(styleCount, 1);
  EXPECT_EQ(Styles[0].Name.View(), "S1");
  EXPECT_DOUBLE_EQ(Styles[0].Height, 2.5);
  EXPECT_TRUE(Styles[1].Name.View().empty());
}

TEST_F(StyleTextTest, HundredAndOneStylesGrowTheArray) {
  std::string styles;
  for (int i = 0; i < 101; ++i) styles += (i ? "|" : "") + std::string("0|STYLE|2|S") + std::to_string(i);
  std::int32_t styleCount = 0;
  ReadDxfBytes(WithStyles(styles, ""), styleCount);
  EXPECT_EQ(styleCount, 101);
  EXPECT_EQ(Styles.size(), 200u);
  EXPECT_EQ(Styles[100].Name.View(), "S100");
}

TEST_F(StyleTextTest, StyleHeightLooksThroughEverySlot) {
  ReadDxfBytes(WithStyles("0|STYLE|2|A|40|1|0|STYLE|2|B|40|2|0|STYLE|2|C|40|3", ""));
  // Fewer styles now: C stays in slot 2 and is still found; the first slot of a name wins.
  ReadDxfBytes(WithStyles("0|STYLE|2|B|40|20", "0|TEXT|40|1|7|C|0|TEXT|7|B|0|TEXT|7|b"));
  EXPECT_DOUBLE_EQ(StyleHeight("C"), 3.0);
  EXPECT_DOUBLE_EQ(StyleHeight("B"), 20.0);
  EXPECT_DOUBLE_EQ(StyleHeight("A"), 0.0);  // overwritten slot: no longer there; unknown names give 0.0
  EXPECT_DOUBLE_EQ(StyleHeight("nowhere"), 0.0);
  EXPECT_DOUBLE_EQ(Texts[0].Height, 3.0);
  EXPECT_DOUBLE_EQ(Texts[1].Height, 20.0);
  EXPECT_DOUBLE_EQ(Texts[2].Height, 0.0);
}

TEST_F(StyleTextTest, TextHeightIsTheLaterOfGroups40And7) {
  ReadDxfBytes(WithStyles("0|STYLE|2|Standard|40|2.5|0|STYLE|2|Big|40|8",
                          "0|TEXT|40|1|7|Big|0|TEXT|7|Big|40|1.5|0|MTEXT|1|x|0|TEXT|7|Nope"));
  ASSERT_EQ(TextCount, 4);
  EXPECT_DOUBLE_EQ(Texts[0].Height, 8.0);
  EXPECT_DOUBLE_EQ(Texts[1].Height, 1.5);
  EXPECT_DOUBLE_EQ(Texts[2].Height, 2.5);  // neither group: the height of Standard
  EXPECT_DOUBLE_EQ(Texts[3].Height, 0.0);
}

TEST_F(StyleTextTest, TextFields) {
  ReadDxfBytes(InEntities("0|TEXT|8|ignored|10|1|20|2|30|3|11|4|21|5|31|6|72|1|73|2|50|45|1|ab\\U+03C6cd\\U+03C6"));
  const TTextRec& t = Texts[0];
  EXPECT_DOUBLE_EQ(t.InsertPt.z, 3.0);
  EXPECT_DOUBLE_EQ(t.AlignPt.x, 4.0);
  EXPECT_DOUBLE_EQ(t.AlignPt.z, 6.0);
  EXPECT_EQ(t.HJust, 1);
  EXPECT_EQ(t.VJust, 2);
  EXPECT_EQ(t.Text.View(), "ab\x83\xD3" "cd\\U+03C6");
}

TEST_F(StyleTextTest, GroupThreePiecesAndTheLastGroupOne) {
  const std::string a(200, 'a'), b(100, 'b');
  ReadDxfBytes(InEntities("0|MTEXT|3|" + a + "|3|" + b + "|0|MTEXT|3|x\\Py|1|last\\P|0|MTEXT|1|p\\Pq|3|\\Pr\\U+03C6"));
  ASSERT_EQ(TextCount, 3);
  EXPECT_EQ(Texts[0].Text.View(), a + std::string(55, 'b'));  // appended unchanged, cut to 255 bytes
  EXPECT_EQ(Texts[1].Text.View(), "last");                     // group 1 replaces the pieces before it
  EXPECT_EQ(Texts[2].Text.View(), "pq\\Pr\\U+03C6");           // group 3 goes through no pass
  // A long group 1 is cut after the passes.
  ReadDxfBytes(InEntities("0|TEXT|1|" + std::string(300, '\x82') + "\\P"));
  EXPECT_EQ(Texts[0].Text.View(), std::string(255, '\x82'));
}

TEST_F(StyleTextTest, StripMTextCodesPasses) {
  EXPECT_EQ(StripMTextCodes("ab\\Pcd"), "abcd");
  EXPECT_EQ(StripMTextCodes("\\T1.1;ab\\C3;cd"), "abcd");
  EXPECT_EQ(StripMTextCodes("a\\Tb"), "a\\Tb");
  EXPECT_EQ(StripMTextCodes("\\T1;x\\T2"), "x\\T2");
  EXPECT_EQ(StripMTextCodes("\\O\\o\\L\\lu\\p\\Q"), "u\\p\\Q");
  // Codes formed by a deletion go too: "\" + "\P" + "P" leaves "\P", which goes in the same pass.
  EXPECT_EQ(StripMTextCodes("x\\\\PPy"), "xy");
  // A later pass does not come back to an earlier code: "\" "\O" "P" leaves "\P" after pass 2.
  EXPECT_EQ(StripMTextCodes("x\\\\OPy"), "x\\Py");
  EXPECT_EQ(StripMTextCodes("\\\\T1;T2;z"), "z");
  EXPECT_EQ(StripMTextCodes("\\C1;\\Tab"), "\\Tab");
  EXPECT_EQ(StripMTextCodes("a;\\T;b\\C"), "a;b\\C");
  EXPECT_EQ(StripMTextCodes("{\\fArial|b0;\\H2.5x;q\\~}"), "{\\fArial|b0;\\H2.5x;q\\~}");
  EXPECT_EQ(StripMTextCodes(""), "");
}

TEST_F(StyleTextTest, ArcAndCircle) {
  ReadDxfBytes(InEntities("0|ARC|8|A|10|1|20|2|30|3|40|4|50|-90|51|450|0|CIRCLE|8|C|10|5|20|6|40|7|0|ARC|0|CIRCLE"));
  ASSERT_EQ(ArcCount, 2);
  ASSERT_EQ(CircleCount, 2);
  EXPECT_DOUBLE_EQ(Arcs[0].StartAngle, -90.0);  // degrees as written, not normalised
  EXPECT_DOUBLE_EQ(Arcs[0].EndAngle, 450.0);
  EXPECT_DOUBLE_EQ(Arcs[0].Center.z, 3.0);
  EXPECT_EQ(Arcs[0].Layer.View(), "A");
  EXPECT_DOUBLE_EQ(Circles[0].Radius, 7.0);
  EXPECT_EQ(Circles[0].Layer.View(), "C");
}

}  // namespace
}  // namespace swivex
