// The stand-in host's command line and scenario, checked against what the link reads back from it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "cadlink/AcadEcho.h"
#include "standin/DxfWriter.h"
#include "standin/Scenario.h"
#include "standin/StandinHost.h"

namespace swivex {
namespace {

void Type(THost& h, std::string_view utf8) { FeedText(h, Utf32FromUtf8(utf8)); }

std::string LastLine(const THost& h) { return LastNonEmptyLine(HistoryText(h)); }

THost Scenario(std::string_view text) {
  THost h;
  std::string error;
  EXPECT_TRUE(ApplyScenarioText(h, text, error)) << error;
  return h;
}

std::filesystem::path TempFile(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() / "swivex-standin-test";
  std::filesystem::create_directories(dir);
  return dir / name;
}

TEST(StandinScenario, FlavourDrawingAndErrors) {
  THost h = Scenario(
      "# comment\r\nframe-class mdi90\ncharset ansi\ncommand-line floating\ntitle Autodesk x\n"
      "ucs-origin 10.5,-3,0\nline 0,0 3,4,1\nlwpolyline closed 0,0 1,1 2,0\ncircle 5,5 2\narc 1,1 2 10 100\n"
      "text 1,1 2.5 日本語\\x41\nmtext 0,0 2 30 a\\Pb\npick 2 150\n");
  EXPECT_EQ(h.Scenario.FrameClass, "AfxMDIFrame90u");
  EXPECT_EQ(Scenario("frame-class mdi140\nhang-after 3 forever").Scenario.FrameClass, "AfxMDIFrame140u");
  EXPECT_FALSE(h.Scenario.Unicode);
  EXPECT_TRUE(h.Scenario.Floating);
  EXPECT_EQ(h.Scenario.Title, "Autodesk x");
  EXPECT_EQ(h.Ucs.Origin.x, 10.5);
  ASSERT_EQ(h.Entities.size(), 6u);
  EXPECT_EQ(h.Entities[0].End.z, 1.0);
  EXPECT_TRUE(h.Entities[1].Closed);
  EXPECT_EQ(h.Entities[3].EndAngle, 100.0);
  EXPECT_EQ(h.Entities[4].Text, "日本語A");
  EXPECT_EQ(h.Entities[5].Text, "a\\Pb");  // MTEXT codes stay as they are; only \x, \r, \n, \t, \\ are escapes
  EXPECT_EQ(h.Scenario.Pick.Mode, TPickMode::Entity);
  EXPECT_EQ(h.Scenario.Pick.Entity, 2);
  EXPECT_EQ(h.Scenario.Pick.DelayMs, 150);

  std::string error;
  THost bad;
  EXPECT_FALSE(ApplyScenarioText(bad, "line 0,0 1,1\nline 0,0\n", error));
  EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
  EXPECT_EQ(bad.Entities.size(), 1u);
  for (const char* line : {"frobnicate 1", "charset utf8", "circle 1,x 2", "lwpolyline 1,1", "pick -1", "filedia 2",
                           "echo FOO x", "ucs-origin 1,2,3 4",
                           "line 0,0 1,1 color=300", "line 0,0 1,1 elevation=2", "lwpolyline 0,0 1,1 bulges=1,2,3",
                           "lwpolyline 0,0 1,1 widths=1", "line 0,0 1,1 frob=1", "cecolor red", "osnapcoord 3",
                           "plinewid -1", "hang-after 2", "hang-after 2 soon", "hang-after -1 100"})
    EXPECT_FALSE(ApplyScenarioLine(bad, line, error)) << line;
}

TEST(StandinCommandLine, UcsEchoesReadBackAsTheLinkReadsThem) {
  THost h = Scenario("ucs-origin 10.5,-3,0\nucs-xdir 0.6,0.8,0\nucs-ydir -0.8,0.6,0\n");
  Type(h, "\x03UCSORG ");
  EXPECT_EQ(LastLine(h), "UCSORG = 10.5000,-3.0000,0.0000 (読み込み専用)");
  EXPECT_EQ(h.Prompt, kIdlePrompt);
  for (const char* style : {"echo-style fixed\necho-decimals 8", "echo-style exponent\necho-decimals 3\necho-remark",
                            "echo-style shortest\necho-remark (読み込み専用)"}) {
    std::string error;
    ASSERT_TRUE(ApplyScenarioText(h, style, error)) << error;
    Type(h, "\x03UCSXDIR ");
    TPoint3D p;
    ReadUcsEcho(LastLine(h), p);
    EXPECT_NEAR(p.x, 0.6, 1e-3) << LastLine(h);
    EXPECT_NEAR(p.y, 0.8, 1e-3);
  }
  EXPECT_EQ(LastLine(h), "UCSXDIR = 0.6,0.8,0 (読み込み専用)");
  std::string error;
  ASSERT_TRUE(ApplyScenarioLine(h, "echo UCSYDIR UCSYDIR = 1,2", error));
  Type(h, "\x03UCSYDIR ");
  EXPECT_EQ(LastLine(h), "UCSYDIR = 1,2");
  // LUPREC rounds the echoes; the export keeps the UCS to its own decimals and names LUPREC in its header.
  ASSERT_TRUE(ApplyScenarioText(h, "echo-reset\necho-style fixed\nluprec 2\nucs-xdir 0.6,0.8,0", error)) << error;
  Type(h, "\x03UCSXDIR ");
  EXPECT_EQ(LastLine(h), "UCSXDIR = 0.60,0.80,0.00 (読み込み専用)");
  std::ostringstream dxf;
  WriteDxf(dxf, h.Entities, {}, 16, [](std::string_view s) { return std::string(s); }, TablesOf(h));
  EXPECT_NE(dxf.str().find("$LUPREC\r\n 70\r\n2\r\n"), std::string::npos);
  EXPECT_NE(dxf.str().find("$UCSXDIR\r\n 10\r\n0.6\r\n"), std::string::npos);
}

TEST(StandinCommandLine, SelectSinglePickAndCancel) {
  THost h = Scenario("line 0,0 1,1\ncircle 0,0 1\n");
  Type(h, "\x03SELECT SINGLE ");
  EXPECT_TRUE(WaitingForPick(h));
  EXPECT_EQ(h.Prompt, kSelectPrompt);
  EXPECT_FALSE(PickEntity(h, 5));
  EXPECT_TRUE(PickEntity(h, 1));
  EXPECT_EQ(LastLine(h), "オブジェクトを選択: 1 個を検出");
  EXPECT_EQ(h.Prompt, kIdlePrompt);
  EXPECT_EQ(h.PreviousSelection, std::vector<int>{1});
  EXPECT_FALSE(PickEntity(h, 0));  // nothing waits any more

  Type(h, "\x03SELECT SINGLE ");
  Type(h, "\x03");
  EXPECT_EQ(LastLine(h), "オブジェクトを選択: *キャンセル*");
  Type(h, "\x03");
  EXPECT_EQ(LastLine(h), "コマンド: *キャンセル*");  // a cancel at the idle prompt shows too
  EXPECT_EQ(h.PreviousSelection, std::vector<int>{1});
  EXPECT_FALSE(WaitingForPick(h));
}

TEST(StandinCommandLine, DxfOutAsTheCaptureTypesIt) {
  THost h = Scenario("line 1,2 3,4\nlwpolyline 0,0 1,1 2,0\n");
  const auto path = TempFile("pick one.DXF");
  std::filesystem::remove(path);
  Type(h, "\x03SELECT SINGLE ");
  PickEntity(h, 1);
  const std::string dxfout = "\x03" "DXFOUT \"" + path.string() + "\"\rVER 2000 OBJ PREV \r16 ";
  Type(h, dxfout);  // FILEDIA is 1: no file
  EXPECT_FALSE(std::filesystem::exists(path));
  Type(h, "\x03" "FILEDIA 0 ");
  EXPECT_EQ(h.Filedia, 0);
  Type(h, dxfout);
  Type(h, "\x03" "FILEDIA 1 ");
  EXPECT_EQ(h.Filedia, 1);
  ASSERT_TRUE(std::filesystem::exists(path));
  ASSERT_EQ(h.Exports.size(), 1u);
  EXPECT_TRUE(h.Exports[0].Written);
  EXPECT_EQ(h.Exports[0].Entities, std::vector<int>{1});
  EXPECT_EQ(h.Exports[0].Decimals, 16);
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("\r\nLWPOLYLINE\r\n"), std::string::npos);
  EXPECT_EQ(text.str().find("\r\nLINE\r\n"), std::string::npos);
  EXPECT_NE(text.str().find("AC1015"), std::string::npos);
}

TEST(StandinCommandLine, LineAndPlineTakePointsInTheUcs) {
  THost h = Scenario("ucs-origin 10,0,0\nucs-xdir 0,1,0\nucs-ydir -1,0,0\n");
  Type(h, "\x03LINE 1.000000,1.000000 3.000000,1.000000 \r");
  ASSERT_EQ(h.Entities.size(), 1u);
  EXPECT_TRUE(h.Entities[0].New);
  EXPECT_EQ(h.Entities[0].Start.x, 9.0);
  EXPECT_EQ(h.Entities[0].Start.y, 1.0);
  EXPECT_EQ(h.Entities[0].End.x, 9.0);
  EXPECT_EQ(h.Entities[0].End.y, 3.0);
  EXPECT_EQ(h.Prompt, kIdlePrompt);
  Type(h, "\x03PLINE 0,0 2,0 x 2,-1 \r");
  ASSERT_EQ(h.Entities.size(), 2u);
  EXPECT_EQ(h.Entities[1].Kind, TEntityKind::LwPolyline);
  ASSERT_EQ(h.Entities[1].Vertices.size(), 3u);  // "x" is refused and asked again
  EXPECT_EQ(h.Entities[1].Vertices[2].x, 11.0);
  EXPECT_EQ(h.Entities[1].Vertices[2].y, 2.0);
  EXPECT_FALSE(h.Entities[1].Closed);
  Type(h, "\x03PLINE 0,0 1,0 1,1 C ");
  EXPECT_TRUE(h.Entities.back().Closed);
  EXPECT_EQ(h.Entities.back().Vertices.size(), 3u);  // the closing edge needs no vertex of its own
  Type(h, "\x03PLINE 5,5 6,6 \x03");  // a cancel keeps what was drawn
  EXPECT_EQ(h.Entities.size(), 4u);
  const std::size_t before = h.Entities.size();
  Type(h, "\x03LINE 0,0 1,0 1,1 U 2,2 C ");  // U takes back the segment to 1,1; C closes back to 0,0
  ASSERT_EQ(h.Entities.size(), before + 3);
  EXPECT_EQ(h.Entities.back().End.x, 10.0);  // (0,0) of the UCS, whose origin is 10,0
  EXPECT_EQ(h.Entities[before + 1].Start.x, 10.0);
  EXPECT_EQ(h.Entities[before + 1].End.x, 8.0);
  Type(h, "\x03" "FOO ");
  EXPECT_EQ(LastLine(h), "不明なコマンド \"FOO\"。ヘルプを表示するには F1 キーを押してください。");
}

TEST(StandinPline, ArcsByASecondPointInBothDirectionsOrTangent) {
  THost h;
  Type(h, "\x03PLINE _non 0,0 _A _S _non 5,-2.5 _non 10,0 _S _non 15,2.5 _non 20,0 _L _non 20,5 \r");
  ASSERT_EQ(h.Entities.size(), 1u);
  const TEntity& e = h.Entities[0];
  ASSERT_EQ(e.Vertices.size(), 4u);
  EXPECT_NEAR(e.Bulges[0], 0.5, 1e-12);   // counter-clockwise: the arc passes right of its chord
  EXPECT_NEAR(e.Bulges[1], -0.5, 1e-12);  // clockwise
  EXPECT_EQ(e.Bulges[2], 0.0);
  EXPECT_FALSE(e.Closed);
  EXPECT_NE(HostToJson(h).find("\"start_widths\":[0,0,0,0]"), std::string::npos) << HostToJson(h);

  // A bare end point in arc mode continues tangentially (east, then a half circle up); _CL closes with an arc
  // that leaves heading west.
  Type(h, "\x03PLINE 0,0 10,0 _A 10,10 _CL ");
  ASSERT_EQ(h.Entities.size(), 2u);
  const TEntity& t = h.Entities[1];
  EXPECT_TRUE(t.Closed);
  ASSERT_EQ(t.Vertices.size(), 3u);
  EXPECT_NEAR(t.Bulges[1], 1.0, 1e-12);
  EXPECT_NEAR(t.Bulges[2], std::tan(std::atan(1.0) / 2), 1e-12);
  EXPECT_EQ(h.Prompt, kIdlePrompt);

  Type(h, "\x03PLINE 0,0 5,0 _A _S 5,0 10,0 ");  // the second point on the start point: no arc
  EXPECT_EQ(LastLine(h), "** 3 点が円弧になりません **");
  EXPECT_EQ(h.State, THostState::PlineArc);
}

// In a UCS whose z axis points down (UCS X 180) PLINE makes a polyline seen from below: its normal is that z axis,
// its elevation the OCS z of its plane and its bulges turn about the normal. 3DPOLY keeps each point's z, offers
// Close from the third point and ends with a closed 3D POLYLINE; a run-time UCS change counts for the next points.
TEST(StandinPline, PolylineOfAUcsSeenFromBelowAnd3DPoly) {
  THost h = Scenario("ucs-ydir 0,-1,0\n");
  Type(h, "\x03PLINE _non 0,0,-2 _A _S _non 1,1 _non 2,0 \r");
  ASSERT_EQ(h.Entities.size(), 1u);
  const TEntity& e = h.Entities[0];
  EXPECT_EQ(e.Normal.z, -1.0);
  EXPECT_EQ(e.Elevation, -2.0);  // world z 2
  EXPECT_EQ(e.Vertices[1].z, 2.0);
  EXPECT_NEAR(e.Bulges[0], -1.0, 1e-12);  // through UCS (1,1): clockwise in the UCS, and so along its normal
  std::string error;
  ASSERT_TRUE(ApplyScenarioLine(h, "ucs-ydir 0,1,0", error)) << error;
  Type(h, "\x03_.3DPOLY _non 0,0,1 _non 5,0,2 ");
  EXPECT_EQ(h.Prompt, "線分の端点を指定 または [元に戻す(U)]: ");
  Type(h, "C _non 5,5,3 _C ");
  EXPECT_EQ(LastLine(h), "線分の端点を指定 または [閉じる(C)/元に戻す(U)]: _C");
  ASSERT_EQ(h.Entities.size(), 2u);
  const TEntity& p = h.Entities[1];
  EXPECT_EQ(p.Kind, TEntityKind::Polyline);
  EXPECT_EQ(p.Flags, 9);
  ASSERT_EQ(p.Vertices.size(), 3u);
  EXPECT_EQ(p.Vertices[2].z, 3.0);
  EXPECT_EQ(h.Prompt, kIdlePrompt);
}

TEST(StandinPline, WidthsHoldForLaterSegmentsAndTheNextPolyline) {
  THost h;
  Type(h, "\x03PLINE 0,0 _W 1 2 10,0 20,0 \r");
  ASSERT_EQ(h.Entities.size(), 1u);
  EXPECT_EQ(h.Entities[0].StartWidths, (std::vector<double>{1, 2, 0}));
  EXPECT_EQ(h.Entities[0].EndWidths, (std::vector<double>{2, 2, 0}));
  EXPECT_EQ(h.Entities[0].ConstantWidth, 0.0);
  Type(h, "\x03PLINE 0,0 ");
  EXPECT_EQ(LastLine(h), "現在の線幅は 2.0000");  // PLINEWID keeps the last width
  Type(h, "_W 0.5 \r5,0 5,5 \r");  // an empty end width takes the start width
  EXPECT_EQ(h.Entities[1].ConstantWidth, 0.5);
  EXPECT_EQ(h.Entities[1].StartWidths, (std::vector<double>{0, 0, 0}));
}

TEST(StandinChprop, LastObjectTakesEveryProperty) {
  THost h = Scenario("line 0,0 5,5\nlayer 壁 color=1\n");
  Type(h, "\x03LINE _non 0,0 _non 1,1 \r");
  Type(h, "\x03_.CHPROP _L  _LA 壁 _C 1 _LT DASHED _LW 0.26 _S 2 _T 3 \r");
  ASSERT_EQ(h.Entities.size(), 2u);
  const TEntity& e = h.Entities[1];
  EXPECT_EQ(e.Layer, "壁");
  EXPECT_EQ(e.Color, 1);
  EXPECT_EQ(e.Linetype, "DASHED");
  EXPECT_EQ(e.Lineweight, 25);  // the nearest predefined lineweight
  EXPECT_EQ(e.LinetypeScale, 2.0);
  EXPECT_EQ(e.Thickness, 3.0);
  EXPECT_EQ(h.Prompt, kIdlePrompt);
  EXPECT_EQ(h.Entities[0].Layer, "0");  // only the last object changed
  EXPECT_EQ(h.Entities[0].Color, kColorByLayer);

  Type(h, "\x03_.CHPROP _L  _LT NOSUCH _C _BYLAYER \r");
  EXPECT_EQ(h.Entities[1].Linetype, "DASHED");
  EXPECT_EQ(h.Entities[1].Color, kColorByLayer);
  EXPECT_NE(HistoryText(h).find("線種 NOSUCH が見つかりません。"), std::string::npos);
}

// The drawing variables a redraw sets, as typed at the command prompt; points typed as x,y lie at ELEVATION; an
// object on a layer that is off neither shows nor is the last object; LWUNITS 0 reads lineweights as inches.
TEST(StandinVariables, CurrentPropertiesElevationAndLayersThatAreOff) {
  THost h = Scenario("layer 都 off\nlayer 鉄\nclayer 都\nelevation 7\nplinewid 3\nlwunits 0\nline 0,0 5,5 layer=鉄");
  Type(h, "\x03LINE 0,0 1,0,2 \r");
  ASSERT_EQ(h.Entities.size(), 2u);
  EXPECT_EQ(h.Entities[1].Start.z, 7.0);
  EXPECT_EQ(h.Entities[1].End.z, 2.0);
  EXPECT_EQ(h.Entities[1].Layer, "都");
  EXPECT_FALSE(IsVisible(h, h.Entities[1]));
  Type(h, "\x03_.CHPROP _L  _LW 0.01 \r");  // 0.254 mm: the nearest is 0.25
  EXPECT_EQ(h.Entities[0].Lineweight, 25);
  EXPECT_EQ(h.Entities[1].Lineweight, kLineweightByLayer);
  Type(h, "\x03PLINEWID ");
  EXPECT_EQ(h.Prompt, "PLINEWID の新しい値を入力 <3.0000>: ");
  Type(h, " \x03""CLAYER ");
  EXPECT_EQ(h.Prompt, "CLAYER の新しい値を入力 <\"都\">: ");
  Type(h, "鉄 \x03""CECOLOR 1 \x03""CELTYPE dashed \x03""CELWEIGHT 7 ");
  EXPECT_EQ(LastLine(h), "無効な値です。");  // asked again
  Type(h, "35 \x03""CELTSCALE 2.5 \x03THICKNESS 4 \x03""ELEVATION 0 \x03PLINEWID 0 \x03PLINE 0,0 1,0 \r");
  ASSERT_EQ(h.Entities.size(), 3u);
  const TEntity& e = h.Entities[2];
  EXPECT_EQ(std::make_tuple(e.Layer, e.Color, e.Linetype, e.Lineweight, e.LinetypeScale, e.Thickness),
            std::make_tuple(std::string("鉄"), 1, std::string("DASHED"), 35, 2.5, 4.0));
  EXPECT_EQ(e.Elevation, 0.0);
  EXPECT_EQ(e.ConstantWidth, 0.0);
  Type(h, "\x03""CLAYER 泥 ");
  EXPECT_EQ(LastLine(h), "画層 \"泥\" が見つかりません。");
  Type(h, "\x03U \x03U ");  // the PLINE, then PLINEWID 0: a variable set is an undo step, a refused one none
  EXPECT_EQ(h.Entities.size(), 2u);
  EXPECT_EQ(h.Plinewid, 3.0);
  EXPECT_EQ(h.Current.Layer, "鉄");
  // The export says what a new object gets and which layer is off.
  Type(h, "\x03""ELEVATION 7 \x03PLINEWID 3 ");
  std::ostringstream out;
  WriteDxf(out, h.Entities, {0}, 16, h.Encode, TablesOf(h));
  EXPECT_NE(out.str().find("$PLINEWID\r\n 40\r\n3.0\r\n"), std::string::npos);
  EXPECT_NE(out.str().find("$ELEVATION\r\n 40\r\n7.0\r\n"), std::string::npos);
  EXPECT_NE(out.str().find("都\r\n 70\r\n0\r\n 62\r\n-7\r\n"), std::string::npos);
}

TEST(StandinUndo, UTakesBackAWholeGroup) {
  THost h = Scenario("line 0,0 5,5\n");
  Type(h, "\x03_.UNDO _E ");  // no group open: harmless
  Type(h, "\x03_.UNDO _BE ");
  Type(h, "\x03LINE 0,0 1,0 \r\x03LINE 0,1 1,1 \r\x03LINE 0,2 1,2 \r\x03_.CHPROP ALL  _C 1 \r");
  Type(h, "\x03_.UNDO _E ");
  Type(h, "\x03LINE 0,3 1,3 \r");
  ASSERT_EQ(h.Entities.size(), 5u);
  Type(h, "\x03U ");
  EXPECT_EQ(h.Entities.size(), 4u);  // first the line drawn after the group
  EXPECT_EQ(h.Entities[3].Color, 1);
  Type(h, "\x03U ");
  EXPECT_EQ(LastLine(h), "コマンド: U グループ");
  ASSERT_EQ(h.Entities.size(), 1u);
  EXPECT_EQ(h.Entities[0].Color, kColorByLayer);  // the group's CHPROP is taken back too
  Type(h, "\x03U ");
  EXPECT_EQ(LastLine(h), "すべて元に戻されました");
  EXPECT_EQ(h.Entities.size(), 1u);
}

TEST(StandinOsnap, EndPointPullsTypedPointsUnlessNon) {
  THost h = Scenario("line 0,0 10,0\nosmode 1\nosnapcoord 0\nosnap-aperture 0.5\n");
  Type(h, "\x03LINE 10.2,0.1 20,0 \r");
  EXPECT_EQ(h.Entities.back().Start.x, 10.0);
  EXPECT_EQ(h.Entities.back().Start.y, 0.0);
  Type(h, "\x03PLINE _non 10.2,0.1 _non 20,1 \r");
  EXPECT_EQ(h.Entities.back().Vertices[0].x, 10.2);
  std::string error;
  ASSERT_TRUE(ApplyScenarioLine(h, "osnapcoord 2", error));  // typed coordinates win
  Type(h, "\x03LINE 10.2,0.1 20,0 \r");
  EXPECT_EQ(h.Entities.back().Start.x, 10.2);
}

TEST(StandinCommandLine, QuotesKeepBlanksAndBackspaceTakesBack) {
  THost h;
  Type(h, "\"a b");
  EXPECT_TRUE(h.InQuotes);
  EXPECT_EQ(h.Input, "\"a b");
  FeedChar(h, 0x08);
  FeedChar(h, 0x08);
  FeedChar(h, 0x08);
  FeedChar(h, 0x08);
  EXPECT_FALSE(h.InQuotes);
  EXPECT_EQ(h.Input, "");
}

TEST(StandinJson, HoldsDrawingSelectionAndHistory) {
  THost h = Scenario("line 0,0 0.1,1e300\ntext 0,0 1 \"q\"\\x01\n");
  Type(h, "\x03SELECT SINGLE ");
  PickEntity(h, 0);
  const std::string json = HostToJson(h);
  EXPECT_NE(json.find("\"end\":[0.1,1e+300,0]"), std::string::npos) << json;
  EXPECT_NE(json.find("\"text\":\"\\\"q\\\"\\u0001\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"previous_selection\": [0]"), std::string::npos);
  EXPECT_NE(json.find("\"オブジェクトを選択: 1 個を検出\""), std::string::npos);
}

TEST(StandinDxf, RealsKeepTheirDecimals) {
  EXPECT_EQ(DxfReal(10.5, 16), "10.5");
  EXPECT_EQ(DxfReal(-3, 16), "-3.0");
  EXPECT_EQ(DxfReal(-1e-20, 16), "0.0");
  EXPECT_EQ(DxfReal(0.1, 16), "0.1");
  EXPECT_EQ(DxfReal(1.0 / 3, 16), "0.3333333333333333");
  EXPECT_EQ(DxfReal(2.5, 0), "2.0");  // %.0f rounds half to even
}

}  // namespace
}  // namespace swivex
