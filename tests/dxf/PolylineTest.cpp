// POLYLINE with its VERTEX entities, LWPOLYLINE, their shared array, heights and extrusion directions, stray
// vertices and the limit of 1000 vertices a record holds.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "tests/dxf/DxfTestFiles.h"

namespace swivex {
namespace {

using test::InEntities;
using test::Repeat;

class PolylineTest : public test::FreshStoreTest {};

TEST_F(PolylineTest, PolylineWithThreeVertices) {
  ReadDxfBytes(InEntities(
      "0|POLYLINE|8|外形|66|1|10|0|20|0|30|5|70|1|"
      "0|VERTEX|8|外形|10|1.5|20|2.5|30|9|70|32|"
      "0|VERTEX|8|X|10|3|20|4|30|9|"
      "0|VERTEX|10|-5|20|-6|70|16|"
      "0|SEQEND|8|Y|0|LINE|10|1"));
  ASSERT_EQ(PolylineCount, 1);
  const TPolylineRec& p = Polylines[0];
  EXPECT_EQ(p.VertexCount, 3);
  EXPECT_EQ(p.Flags, 1);
  EXPECT_EQ(p.Layer.View(), "外形");  // the header's layer; the vertices' and SEQEND's do not reach it
  const double xs[] = {1.5, 3, -5}, ys[] = {2.5, 4, -6}, zs[] = {9, 9, 0};
  const int flags[] = {32, 0, 16};
  for (int i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(p.Vertices[i].x, xs[i]);
    EXPECT_DOUBLE_EQ(p.Vertices[i].y, ys[i]);
    EXPECT_DOUBLE_EQ(p.Vertices[i].z, zs[i]);  // a 3D polyline's heights
    EXPECT_EQ(p.VertexFlags[i], flags[i]);
  }
  EXPECT_EQ(LineCount, 1);
}

// The extrusion direction comes after an LWPOLYLINE's vertices and in a POLYLINE's header; without one it is the
// world z axis. A slot reused by the next read starts again from the world z axis.
TEST_F(PolylineTest, ExtrusionDirectionOfBothKinds) {
  const std::string file = InEntities(
      "0|LWPOLYLINE|38|2|10|100|20|0|42|0.5|10|110|20|0|210|0|220|0|230|-1|"
      "0|POLYLINE|30|4|70|0|210|0.6|220|0|230|0.8|0|VERTEX|10|1|20|2|30|4|0|SEQEND|"
      "0|LWPOLYLINE|10|0|20|0|10|1|20|0");
  ReadDxfBytes(file);
  ASSERT_EQ(PolylineCount, 3);
  EXPECT_EQ(Polylines[0].Normal.z, -1.0);
  EXPECT_EQ(Polylines[0].Vertices[0].x, 100.0);  // as the file gives it, in the object's own system
  EXPECT_EQ(Polylines[0].Bulges[0], 0.5);
  EXPECT_EQ(Polylines[1].Normal.x, 0.6);
  EXPECT_EQ(Polylines[1].Normal.z, 0.8);
  EXPECT_EQ(Polylines[2].Normal.z, 1.0);
  ReadDxfBytes(InEntities("0|LWPOLYLINE|10|0|20|0"));
  EXPECT_EQ(Polylines[0].Normal.z, 1.0);
  EXPECT_THROW(ReadDxfBytes(InEntities("0|LWPOLYLINE|10|0|20|0|230|x")), TConvertError);
}

TEST_F(PolylineTest, LwPolylineWithElevation) {
  ReadDxfBytes(InEntities(
      "0|LWPOLYLINE|8|L1|90|4|70|1|38|12.5|10|0|20|0|10|10|20|0|42|0.5|10|10|20|5|10|0|20|5|0|LWPOLYLINE|10|7|20|8"));
  ASSERT_EQ(PolylineCount, 2);
  const TPolylineRec& p = Polylines[0];
  EXPECT_EQ(p.VertexCount, 4);
  EXPECT_EQ(p.Flags, kPolylineClosed);
  EXPECT_DOUBLE_EQ(p.Elevation, 12.5);
  EXPECT_EQ(p.Layer.View(), "L1");
  const double xs[] = {0, 10, 10, 0}, ys[] = {0, 0, 5, 5}, bulges[] = {0, 0.5, 0, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(p.Vertices[i].x, xs[i]);
    EXPECT_DOUBLE_EQ(p.Vertices[i].y, ys[i]);
    EXPECT_DOUBLE_EQ(p.Vertices[i].z, 0.0);
    EXPECT_EQ(p.VertexFlags[i], 0);
    EXPECT_EQ(p.Bulges[i], bulges[i]);
  }
  EXPECT_EQ(Polylines[1].VertexCount, 1);
  EXPECT_EQ(Polylines[1].Flags, 0);
}

TEST_F(PolylineTest, WidthsBulgesAndPropertiesOfBothKinds) {
  ReadDxfBytes(InEntities(
      "0|LWPOLYLINE|62|1|6|DASHED|370|25|48|2.5|39|3|43|0.7|10|0|20|0|40|1|41|2|42|-1|10|4|20|0|"
      "0|POLYLINE|62|0|30|5|40|0.25|41|0.5|0|VERTEX|10|1|20|1|42|0.5|41|9|0|VERTEX|10|2|20|2|62|3|0|SEQEND|"
      "0|LINE|62|256|6|BYBLOCK|370|-2|48|0.5|39|-1"));
  ASSERT_EQ(PolylineCount, 2);
  const TPolylineRec& lw = Polylines[0];
  EXPECT_EQ(lw.Props.Color, 1);
  EXPECT_EQ(lw.Props.Linetype.View(), "DASHED");
  EXPECT_EQ(lw.Props.Lineweight, 25);
  EXPECT_DOUBLE_EQ(lw.Props.LinetypeScale, 2.5);
  EXPECT_DOUBLE_EQ(lw.Props.Thickness, 3.0);
  EXPECT_DOUBLE_EQ(lw.ConstantWidth, 0.7);
  EXPECT_EQ(lw.StartWidths, (std::vector<double>{1, 0}));
  EXPECT_EQ(lw.EndWidths, (std::vector<double>{2, 0}));
  EXPECT_EQ(lw.Bulges, (std::vector<double>{-1, 0}));
  // The header's 40 and 41 are the widths of the vertices that give none; a VERTEX's own groups win, and its
  // colour is not the polyline's.
  const TPolylineRec& heavy = Polylines[1];
  EXPECT_DOUBLE_EQ(heavy.Elevation, 5.0);
  EXPECT_EQ(heavy.Props.Color, kColorByBlock);
  EXPECT_TRUE(heavy.Props.Linetype.View().empty());
  EXPECT_EQ(heavy.Bulges, (std::vector<double>{0.5, 0}));
  EXPECT_EQ(heavy.StartWidths, (std::vector<double>{0.25, 0.25}));
  EXPECT_EQ(heavy.EndWidths, (std::vector<double>{9, 0.5}));
  EXPECT_EQ(heavy.Vertices[1].z, 0.0);
  ASSERT_EQ(LineCount, 1);
  // A LINE reads the same groups, whose fields are checked above; its 62 of 256 equals the default.
  EXPECT_EQ(Lines[0].Props.Linetype.View(), "BYBLOCK");
  EXPECT_DOUBLE_EQ(Lines[0].Props.Thickness, -1.0);
}

TEST_F(PolylineTest, VertexCountClaimsSetAsideLittle) {
  // Group 90 only sets aside room: a claim of a billion vertices that gives none costs no more than a few, and
  // the count written as AutoCAD writes it (right-aligned) takes effect.
  ReadDxfBytes(InEntities(Repeat("0|LWPOLYLINE|90|999999999", 3) + "|0|LWPOLYLINE|90|        3|10|1|20|1|10|2|20|2|10|3|20|3"));
  ASSERT_EQ(PolylineCount, 4);
  EXPECT_EQ(Polylines[0].VertexCount, 0);
  EXPECT_LE(Polylines[0].Vertices.capacity(), 16u);
  EXPECT_EQ(Polylines[3].Vertices.capacity(), 3u);  // growing one by one would have made it 4
  EXPECT_EQ(Polylines[3].EndWidths.capacity(), 3u);
}

TEST_F(PolylineTest, BothKindsShareOneArrayInFileOrder) {
  ReadDxfBytes(InEntities("0|LWPOLYLINE|8|A|10|1|20|1|0|POLYLINE|8|B|0|VERTEX|10|2|20|2|0|SEQEND|"
                          "0|LWPOLYLINE|8|C|10|3|20|3"));
  ASSERT_EQ(PolylineCount, 3);
  EXPECT_EQ(Polylines[0].Layer.View(), "A");
  EXPECT_EQ(Polylines[1].Layer.View(), "B");
  EXPECT_EQ(Polylines[2].Layer.View(), "C");
  EXPECT_DOUBLE_EQ(Polylines[1].Vertices[0].x, 2.0);
}

TEST_F(PolylineTest, StartResetsTheWholeReusedSlot) {
  ReadDxfBytes(InEntities("0|POLYLINE|8|OLD|70|9|30|4|40|2|62|5|6|X|370|9|48|3|39|4|0|VERTEX|10|1|20|1|70|3|42|1|"
                          "0|VERTEX|10|2|20|2|70|4|0|SEQEND|0|LINE|62|7|6|Y|370|13|48|2|39|1"));
  ReadDxfBytes(InEntities("0|LWPOLYLINE|10|5|20|6|0|LINE"));
  const TPolylineRec& p = Polylines[0];
  EXPECT_EQ(p.VertexCount, 1);
  EXPECT_EQ(p.Flags, 0);
  EXPECT_TRUE(p.Layer.View().empty());
  EXPECT_EQ(p.Elevation, 0.0);
  // Every per-vertex vector holds this read's one vertex, the widths not the old header's.
  EXPECT_EQ(p.Vertices.size(), 1u);
  EXPECT_EQ(p.VertexFlags, std::vector<std::int32_t>{0});
  EXPECT_EQ(p.Bulges, std::vector<double>{0});
  EXPECT_EQ(p.StartWidths, std::vector<double>{0});
  EXPECT_EQ(p.EndWidths, std::vector<double>{0});
  for (const TEntityProps* props : {&p.Props, &std::as_const(Lines[0]).Props}) {
    EXPECT_EQ(props->Color, kColorByLayer);
    EXPECT_TRUE(props->Linetype.View().empty());
    EXPECT_EQ(props->Lineweight, -1);
    EXPECT_EQ(props->LinetypeScale, 1.0);
    EXPECT_EQ(props->Thickness, 0.0);
  }
}

TEST_F(PolylineTest, StrayVertexGroupsAreIgnored) {
  // A VERTEX before any polyline, and a vertex's 20 and 70 before its 10: nothing written, nothing raised,
  // even when their values are no numbers.
  EXPECT_EQ(ReadDxfBytes(InEntities("0|VERTEX|10|1|20|2|70|3|0|SEQEND|0|LINE")), 1);
  EXPECT_EQ(PolylineCount, 0);
  ReadDxfBytes(InEntities("0|POLYLINE|70|8|0|VERTEX|70|5|20|x|10|1|20|2|0|LWPOLYLINE|20|7|10|3|20|4"));
  ASSERT_EQ(PolylineCount, 2);
  EXPECT_EQ(Polylines[0].VertexCount, 1);
  EXPECT_EQ(Polylines[0].VertexFlags[0], 0);
  EXPECT_DOUBLE_EQ(Polylines[0].Vertices[0].y, 2.0);
  EXPECT_EQ(Polylines[1].VertexCount, 1);
  EXPECT_DOUBLE_EQ(Polylines[1].Vertices[0].y, 4.0);
  // A VERTEX after an LWPOLYLINE goes to that record: the last polyline started, whatever its kind.
  ReadDxfBytes(InEntities("0|LWPOLYLINE|10|1|20|1|0|VERTEX|10|2|20|2|70|6"));
  EXPECT_EQ(Polylines[0].VertexCount, 2);
  EXPECT_EQ(Polylines[0].VertexFlags[1], 6);
}

std::string VertexPairs(int count, bool lightweight) {
  std::string out = lightweight ? "0|LWPOLYLINE|8|P" : "0|POLYLINE|8|P";
  for (int i = 0; i < count; ++i) {
    out += lightweight ? "" : "|0|VERTEX";
    out += "|10|" + std::to_string(i) + "|20|" + std::to_string(-i);
  }
  return out + (lightweight ? "" : "|0|SEQEND");
}

TEST_F(PolylineTest, ThousandVerticesFit) {
  for (bool lightweight : {false, true}) {
    ReadDxfBytes(InEntities(VertexPairs(1000, lightweight)));
    ASSERT_EQ(PolylineCount, 1);
    EXPECT_EQ(Polylines[0].VertexCount, 1000);
    EXPECT_DOUBLE_EQ(Polylines[0].Vertices[999].x, 999.0);
    EXPECT_DOUBLE_EQ(Polylines[0].Vertices[999].y, -999.0);
  }
}

TEST_F(PolylineTest, MoreThanThousandVerticesFailTheRead) {
  for (bool lightweight : {false, true}) {
    SCOPED_TRACE(lightweight ? "LWPOLYLINE" : "POLYLINE");
    ReleaseEntityStore();
    // A second polyline after the long one must not be started either.
    const std::string file = InEntities("0|LINE|" + VertexPairs(1001, lightweight) + "|0|LWPOLYLINE|10|1|20|1");
    // Line of the 1001st group 10: 4 lines before the LINE, 2 for LINE, 4 for the header with its layer, then
    // per vertex 4 lines (6 with its VERTEX pair).
    const int perVertex = lightweight ? 4 : 6;
    const int expectedLine = 4 + 2 + 4 + 1000 * perVertex + (lightweight ? 1 : 3);
    try {
      ReadDxfBytes(file);
      FAIL() << "no error";
    } catch (const TDxfReadError& error) {
      EXPECT_EQ(std::string_view(error.what()), kTooManyVerticesMessage);
      EXPECT_EQ(error.Line(), expectedLine);
    }
    EXPECT_EQ(PolylineCount, 1);
    EXPECT_EQ(Polylines[0].VertexCount, 1000);
    EXPECT_DOUBLE_EQ(Polylines[0].Vertices[999].x, 999.0);
    EXPECT_EQ(LineCount, 1);
    EXPECT_EQ(Lines.size(), 100u);  // not cut after an error
  }
}

}  // namespace
}  // namespace swivex
