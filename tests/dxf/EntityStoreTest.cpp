// Slot rules of the entity store across reads: 100 slots at the start of a read, growth by 100, Lines cut to
// LineCount, per-record resets, spare slots keeping earlier records.
#include <gtest/gtest.h>

#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "tests/dxf/DxfTestFiles.h"

namespace swivex {
namespace {

using test::Dxf;
using test::InEntities;

using test::Repeat;

class EntityStoreTest : public test::FreshStoreTest {};

TEST_F(EntityStoreTest, GrowthAtTheHundredAndFirstRecord) {
  EXPECT_EQ(ReadDxfBytes(InEntities(Repeat("0|LINE|10|1|11|2", 100))), 100);
  EXPECT_EQ(Lines.size(), 100u);

  // 101 texts make Texts grow to 200 slots; Lines ends with exactly its count.
  const std::string file = InEntities(Repeat("0|LINE|10|1|11|2", 101) + "|" + Repeat("0|TEXT|1|t", 101));
  EXPECT_EQ(ReadDxfBytes(file), 101);
  EXPECT_EQ(LineCount, 101);
  EXPECT_EQ(Lines.size(), 101u);
  EXPECT_EQ(TextCount, 101);
  EXPECT_EQ(Texts.size(), 200u);
  EXPECT_EQ(Polylines.size(), 100u);

  // The next read sets every array back to 100 slots.
  EXPECT_EQ(ReadDxfBytes(InEntities("0|TEXT|1|u")), 0);
  EXPECT_EQ(Texts.size(), 100u);
  EXPECT_EQ(TextCount, 1);
}

TEST_F(EntityStoreTest, NoLinesLeavesLinesWithoutSlots) {
  EXPECT_EQ(ReadDxfBytes(InEntities("0|LWPOLYLINE|10|1|20|2")), 0);
  EXPECT_EQ(LineCount, 0);
  EXPECT_TRUE(Lines.empty());
  EXPECT_EQ(PolylineCount, 1);
  EXPECT_GE(Polylines.size(), 100u);
}

TEST_F(EntityStoreTest, SpareSlotsKeepEarlierRecords) {
  ReadDxfBytes(InEntities(
      "0|LWPOLYLINE|8|A|10|1|20|1|0|LWPOLYLINE|8|B|10|2|20|2|10|3|20|3|0|LWPOLYLINE|8|C|10|4|20|4"));
  ASSERT_EQ(PolylineCount, 3);
  ReadDxfBytes(InEntities("0|LWPOLYLINE|8|D|10|9|20|9"));
  EXPECT_EQ(PolylineCount, 1);
  EXPECT_EQ(Polylines[0].Layer.View(), "D");
  EXPECT_EQ(Polylines[1].Layer.View(), "B");
  EXPECT_EQ(Polylines[1].VertexCount, 2);
  EXPECT_EQ(Polylines[2].Layer.View(), "C");
  EXPECT_DOUBLE_EQ(Polylines[2].Vertices[0].x, 4.0);
}

TEST_F(EntityStoreTest, StartingARecordResetsOnlyItsListedFields) {
  ReadDxfBytes(InEntities("0|LINE|8|OLD|10|5|20|6|30|7|11|8|21|9|31|10|"
                          "0|TEXT|11|1|21|2|31|3|72|4|73|5|1|old|40|2|"
                          "0|ARC|8|OLD|10|1|20|2|30|3|40|4|50|5|51|6|"
                          "0|CIRCLE|8|OLD|10|1|20|2|30|3|40|4"));
  // The same slots again, with only the keyword of each record.
  ReadDxfBytes(InEntities("0|LINE|0|TEXT|0|ARC|0|CIRCLE"));
  const TLineRec& line = Lines[0];
  EXPECT_DOUBLE_EQ(line.StartPt.x, 5.0);
  EXPECT_DOUBLE_EQ(line.StartPt.y, 6.0);
  EXPECT_DOUBLE_EQ(line.StartPt.z, 0.0);
  EXPECT_DOUBLE_EQ(line.EndPt.x, 8.0);
  EXPECT_DOUBLE_EQ(line.EndPt.y, 9.0);
  EXPECT_DOUBLE_EQ(line.EndPt.z, 0.0);
  EXPECT_TRUE(line.Layer.View().empty());

  const TTextRec& text = Texts[0];
  EXPECT_DOUBLE_EQ(text.InsertPt.x, 0.0);
  EXPECT_DOUBLE_EQ(text.AlignPt.z, 3.0);
  EXPECT_EQ(text.HJust, 4);
  EXPECT_EQ(text.VJust, 5);
  EXPECT_TRUE(text.Text.View().empty());
  EXPECT_DOUBLE_EQ(text.Height, 0.0);  // no style named Standard: the unknown-name height

  EXPECT_TRUE(Arcs[0].Layer.View().empty());
  EXPECT_DOUBLE_EQ(Arcs[0].Radius, 4.0);
  EXPECT_DOUBLE_EQ(Arcs[0].EndAngle, 6.0);
  EXPECT_TRUE(Circles[0].Layer.View().empty());
  EXPECT_DOUBLE_EQ(Circles[0].Center.z, 3.0);
}

TEST_F(EntityStoreTest, StringsAreCutToTheirCapacityInBytes) {
  const std::string layer(70, 'L');
  // 59 ASCII bytes then a two-byte Shift-JIS character: the cut falls inside it.
  const std::string split = std::string(59, 'a') + "\x83\xD3";
  ReadDxfBytes(InEntities("0|LINE|8|" + layer + "|0|CIRCLE|8|" + split));
  EXPECT_EQ(Lines[0].Layer.View(), std::string(60, 'L'));
  EXPECT_EQ(Circles[0].Layer.View(), std::string(59, 'a') + "\x83");
}

TEST_F(EntityStoreTest, ReleaseEmptiesEveryArray) {
  ReadDxfBytes(InEntities("0|LINE|0|TEXT|0|ARC"));
  ReleaseEntityStore();
  EXPECT_TRUE(Lines.empty() && Texts.empty() && Arcs.empty() && Circles.empty() && Polylines.empty() &&
              Styles.empty());
  EXPECT_EQ(Lines.capacity(), 0u);
  EXPECT_EQ(Polylines.capacity(), 0u);
}

TEST_F(EntityStoreTest, SlotsBeyondTheFirstHundredStartClean) {
  // A read that grew Polylines to 200 slots, then one that grows it again: slots 100 on were dropped and are
  // added back empty, slots below 100 are reset when started.
  std::string full;
  for (int i = 0; i < 150; ++i)
    full += "|0|POLYLINE|8|L" + std::to_string(i) + "|70|5|0|VERTEX|10|1|20|2|70|9|0|VERTEX|10|3|20|4|0|SEQEND";
  ReadDxfBytes(InEntities(full.substr(1)));
  ASSERT_EQ(PolylineCount, 150);
  ReadDxfBytes(InEntities(Repeat("0|LWPOLYLINE|10|7", 120)));
  ASSERT_EQ(PolylineCount, 120);
  EXPECT_EQ(Polylines.size(), 200u);
  for (const std::size_t i : {0u, 99u, 100u, 119u}) {
    const TPolylineRec& p = Polylines[i];
    EXPECT_EQ(p.VertexCount, 1) << i;
    EXPECT_EQ(p.Flags, 0) << i;
    EXPECT_TRUE(p.Layer.View().empty()) << i;
    EXPECT_EQ(p.VertexFlags[0], 0) << i;
    EXPECT_DOUBLE_EQ(p.Vertices[0].x, 7.0) << i;
    EXPECT_DOUBLE_EQ(p.Vertices[0].y, 0.0) << i;
    EXPECT_EQ(p.Vertices.size(), 1u) << i;  // the earlier read's second vertex is gone
  }
  // Slots 120 to 199 are spare: zero, not the earlier read's polylines 120 to 149.
  EXPECT_EQ(Polylines[120].VertexCount, 0);
  EXPECT_TRUE(Polylines[149].Layer.View().empty());
}

TEST_F(EntityStoreTest, HeaderAnglesOfTheDrawing) {
  // $ANGBASE in radians as AutoCAD writes it, $ANGDIR 1 clockwise; a value beyond 0 and 1 or no number is no value.
  const std::string ends = "0|ENDSEC|0|EOF";
  ReadDxfBytes(Dxf("0|SECTION|2|HEADER|9|$ANGBASE|50|1.570796326794897|9|$ANGDIR|70|     1|" + ends));
  const TDrawingAngles& a = DxfHeader.Angles;
  EXPECT_TRUE(a.HasBase && a.HasDirection);
  EXPECT_EQ(a.BaseRadians, 1.570796326794897);
  EXPECT_EQ(a.Direction, 1);
  ReadDxfBytes(Dxf("0|SECTION|2|HEADER|9|$ANGBASE|50|x|9|$ANGDIR|70|2|" + ends));
  EXPECT_FALSE(a.HasBase || a.HasDirection);
  EXPECT_TRUE(DrawingAnglesMissing(a));
}

TEST_F(EntityStoreTest, HeaderOfTheLastRead) {
  // The current-object settings, a variable of no interest between them, a point whose z does not convert and
  // a colour that is no number: those two keep their defaults, the read goes on.
  const std::string header =
      "0|SECTION|2|HEADER|9|$ACADVER|1|AC1015|9|$CLAYER|8|壁|9|$CECOLOR|62|x|9|$CELTYPE|6|ByLayer|"
      "9|$CELWEIGHT|370|-3|9|$CELTSCALE|40|0.5|9|$THICKNESS|40|2|9|$PLINEWID|40|0.75|9|$ELEVATION|40|-7.5|9|$EXTMIN|10|1|20|2|30|3|"
      "9|$UCSORG|10|1|20|2|30|3|9|$UCSXDIR|10|0|20|1|30|0|9|$UCSYDIR|10|-1|20|0|30|z|0|ENDSEC|";
  EXPECT_EQ(ReadDxfBytes(Dxf(header + "0|SECTION|2|ENTITIES|0|LINE|0|ENDSEC|0|EOF")), 1);
  const TDxfHeader& h = DxfHeader;
  EXPECT_TRUE(h.HasCLayer);
  EXPECT_EQ(h.CLayer.View(), "壁");
  EXPECT_EQ(h.CeColor, kColorByLayer);
  EXPECT_EQ(h.CeLtype.View(), "ByLayer");
  EXPECT_EQ(h.CeLweight, -3);
  EXPECT_EQ(h.CeLtScale, 0.5);
  EXPECT_EQ(h.Thickness, 2.0);
  EXPECT_EQ(h.PlineWid, 0.75);
  EXPECT_EQ(h.Elevation, -7.5);
  EXPECT_TRUE(h.HasUcsOrg && h.HasUcsXDir);
  EXPECT_EQ(h.UcsOrg.z, 3.0);
  EXPECT_EQ(h.UcsXDir.y, 1.0);
  EXPECT_FALSE(h.HasUcsYDir);
  // The next read starts from the defaults, also when its file does not exist.
  ReadDxfBytes(Dxf("0|SECTION|2|HEADER|9|$CECOLOR|62|3|0|ENDSEC|0|EOF"));
  EXPECT_EQ(h.CeColor, 3);
  EXPECT_FALSE(h.HasCLayer || h.HasUcsOrg);
  EXPECT_EQ(h.CeLweight, -1);
  ReadDxfEntities("");
  EXPECT_EQ(h.CeColor, kColorByLayer);
}

TEST_F(EntityStoreTest, KeywordsOutsideTheReadDoNotChangeTheSlots) {
  // LINE pairs before ENTITIES and after its ENDSEC, and LINE as a layer name, are no records; Lines still ends
  // with exactly LineCount slots, and takes no more memory than a growth step beyond them.
  const std::string blocks = "0|SECTION|2|BLOCKS|" + Repeat("0|LINE|8|B", 300) + "|0|ENDSEC|";
  const std::string entities = "0|SECTION|2|ENTITIES|" + Repeat("0|LINE|8|LINE|10|1", 250) + "|0|ENDSEC|";
  const std::string after = "0|SECTION|2|OBJECTS|" + Repeat("0|LINE|0|LWPOLYLINE", 400) + "|0|ENDSEC|0|EOF";
  EXPECT_EQ(ReadDxfBytes(Dxf(blocks + entities + after)), 250);
  EXPECT_EQ(Lines.size(), 250u);
  EXPECT_LT(Lines.capacity(), 350u);
  EXPECT_EQ(Lines[249].Layer.View(), "LINE");
  EXPECT_EQ(PolylineCount, 0);
  EXPECT_EQ(Polylines.size(), 100u);
  EXPECT_EQ(ReadDxfBytes(Dxf(blocks + "0|SECTION|2|ENTITIES|0|ENDSEC|" + after)), 0);
  EXPECT_EQ(Lines.capacity(), 0u);
}

}  // namespace
}  // namespace swivex
