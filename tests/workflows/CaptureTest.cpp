#include "workflows/Capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "StoreFixture.h"
#include "geometry/Angles.h"
#include "text/NumText.h"
#include "text/Sjis.h"
#include "workflows/Redraw.h"

namespace swivex {
namespace {

using testing::StoreTest;

constexpr double kPi = 3.14159265358979323846;

const TUcs kWorld{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
const TUcs kTurned{{10, 0, 0}, {0, 1, 0}, {-1, 0, 0}};

TEST(TempDxfName, TwelveDigitsOfLocalTimeAfterTheFolder) {
  EXPECT_EQ(TempDxfName("C:\\Tools\\", {2024, 3, 5, 14, 7, 9}), "C:\\Tools\\240305140709.DXF");
  EXPECT_EQ(TempDxfName("C:\\", {2000, 12, 31, 0, 0, 0}), "C:\\001231000000.DXF");
  EXPECT_EQ(TempDxfName("D:\\a\\", {2099, 1, 1, 23, 59, 59}), "D:\\a\\990101235959.DXF");
}

TEST(IsIdlePrompt, OnlyTheExactShiftJisPrompt) {
  constexpr auto idle = Sjis(u8"コマンド: ");
  EXPECT_EQ(idle.View().size(), 10u);
  EXPECT_TRUE(IsIdlePrompt(idle.View()));
  EXPECT_FALSE(IsIdlePrompt(Sjis(u8"コマンド:").View()));
  EXPECT_FALSE(IsIdlePrompt(std::string(idle.View()) + " "));
  EXPECT_FALSE(IsIdlePrompt(Sjis(u8"オブジェクトを選択: ").View()));
  EXPECT_FALSE(IsIdlePrompt(""));
  EXPECT_FALSE(IsIdlePrompt("Command: "));
}

// The pick is judged by the line's shape: the selection prompt, then a count of one or more followed by a word.
TEST(PickOutcomeOf, ACountAfterTheSelectionPromptInAnyWordingIsAFinishedPick) {
  const std::string prompt(Sjis(u8"オブジェクトを選択: ").View());
  const std::string detected = "\x8C\xC2\x82\xF0\x8C\x9F\x8F\x6F";  // 個を検出 in Shift-JIS
  const std::string found = "\x8C\xC2\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB5\x82\xBD";  // 個見つかりました
  for (const std::string& rest : {"1 " + detected, "1 " + found, "ALL 3 " + detected + ", 3 \x8C\xC2", std::string("1 found")})
    EXPECT_EQ(PickOutcomeOf(prompt + rest), TPickOutcome::Picked) << rest;
  // Enter (nothing after the prompt), the option still pending, a count of none, a number alone, another line.
  for (const std::string& line : {prompt, prompt + "SINGLE", prompt + "0 " + detected, prompt + "12",
                                 std::string(Sjis(u8"コマンド: ").View()) + "1 found", std::string()})
    EXPECT_EQ(PickOutcomeOf(line), TPickOutcome::NotPicked) << line;
  EXPECT_EQ(PickOutcomeOf(prompt + std::string(Sjis(u8"*キャンセル*").View())), TPickOutcome::Cancelled);
  EXPECT_EQ(PickOutcomeOf("オブジェクトを選択: 1 found"), TPickOutcome::NotPicked) << "UTF-8 is not Shift-JIS";
}

// An idle prompt ends the wait once the selection prompt was seen or 200 ms passed without it; an empty one never.
TEST(PickWaitEnds, IdleOnlyAfterTheSelectionPromptOrItsTimeAndNeverEmpty) {
  const std::string idle(Sjis(u8"コマンド: ").View()), selecting(Sjis(u8"オブジェクトを選択: ").View());
  TPickWait slow;
  EXPECT_FALSE(PickWaitEnds(slow, idle, 20)) << "AutoCAD has not shown the selection prompt yet";
  EXPECT_FALSE(PickWaitEnds(slow, selecting, 150));
  EXPECT_FALSE(PickWaitEnds(slow, "", 160));
  EXPECT_TRUE(PickWaitEnds(slow, idle, 180));
  TPickWait hidden;
  EXPECT_FALSE(PickWaitEnds(hidden, "", 100000));
  EXPECT_TRUE(PickWaitEnds(hidden, idle, 200));
}

TEST(ExportCommands, ExactPiecesInOrder) {
  EXPECT_EQ(kSelectSingleCommand.size(), 15u);
  EXPECT_EQ(kFileDiaOffCommand, std::string_view("\x03" "FILEDIA 0 "));
  EXPECT_EQ(kFileDiaOnCommand, std::string_view("\x03" "FILEDIA 1 "));
  const std::string folder = std::string("C:\\") + std::string(Sjis(u8"テスト").View()) + "\\";
  EXPECT_EQ(DxfOutCommand(folder + "240305140709.DXF"),
            "\x03" "DXFOUT \"" + folder + "240305140709.DXF\"\rVER 2000 OBJ PREV \r16 ");
}

TEST(ProjectToUcs, WorldKeepsThePointAndTurnedUcsKeepsWorldZ) {
  const TPoint3D same = ProjectToUcs({3, 4, 5}, kWorld);
  EXPECT_EQ(same.x, 3);
  EXPECT_EQ(same.y, 4);
  EXPECT_EQ(same.z, 5);
  const TPoint3D a = ProjectToUcs({10, 0, 7}, kTurned);
  const TPoint3D b = ProjectToUcs({10, 5, 7}, kTurned);
  EXPECT_EQ(a.x, 0); EXPECT_EQ(a.y, 0); EXPECT_EQ(a.z, 7);
  EXPECT_EQ(b.x, 5); EXPECT_EQ(b.y, 0); EXPECT_EQ(b.z, 7);
  // y is taken from the point as it was, not from the new x.
  const TPoint3D c = ProjectToUcs({12, 3, 0}, kTurned);
  EXPECT_EQ(c.x, 3);
  EXPECT_EQ(c.y, -2);
  // The axes are used unnormalised, z of the offset included.
  const TUcs skew{{1, 1, 1}, {2, 0, 1}, {0, 0, 3}};
  const TPoint3D d = ProjectToUcs({2, 2, 3}, skew);
  EXPECT_EQ(d.x, 2 * 1 + 0 + 1 * 2);
  EXPECT_EQ(d.y, 3 * 2);
  EXPECT_EQ(d.z, 3);
}

class ProjectEntityStoreTest : public StoreTest {};

// A UCS turned by 30°0′0.5″ as the header holds it and as AutoCAD echoes it at 4 decimals.
TEST(ChooseUcs, ExportedWithinTheEchosRoundingElseTheEchoMadeUnitLength) {
  const double a = (30.0 + 0.5 / 3600) * kPi / 180;
  const TUcs exact{{1, 2, 0}, {std::cos(a), std::sin(a), 0}, {-std::sin(a), std::cos(a), 0}};
  const TUcs fourDecimals{{0.00005, 0.00005, 0.00005}, {0.00005, 0.00005, 0.00005}, {0.00005, 0.00005, 0.00005}};
  const TEchoedUcs echoed{{{1, 2, 0}, {0.8660, 0.5, 0}, {-0.5, 0.8660, 0}}, fourDecimals};
  const TUcs chosen = ChooseUcs(echoed, exact);
  EXPECT_EQ(chosen.XDir.x, exact.XDir.x);
  EXPECT_EQ(chosen.YDir.y, exact.YDir.y);

  // One component beyond the rounding, or no header: the echo, axes of unit length, the origin as echoed.
  TUcs moved = exact;
  moved.Origin.z = 0.00006;
  for (const std::optional<TUcs>& exported : {std::optional<TUcs>(moved), std::optional<TUcs>()}) {
    const TUcs u = ChooseUcs(echoed, exported);
    EXPECT_EQ(u.Origin.x, 1.0);
    EXPECT_NEAR(std::hypot(u.XDir.x, u.XDir.y), 1.0, 1e-15);
    EXPECT_NEAR(std::hypot(u.YDir.x, u.YDir.y), 1.0, 1e-15);
    EXPECT_NEAR(u.XDir.y / u.XDir.x, 0.5 / 0.8660, 1e-15);
    // A 10-unit world line along the echoed x axis keeps its length.
    const TPoint3D end = ProjectToUcs({1 + 10 * std::cos(kPi / 6), 2 + 10 * std::sin(kPi / 6), 0}, u);
    EXPECT_EQ(FormatLength(std::hypot(end.x, end.y)), "10.000000");
  }
  const TEchoedUcs zeroAxis{{{0, 0, 0}, {0, 0, 0}, {0, 1, 0}}, fourDecimals};
  EXPECT_EQ(ChooseUcs(zeroAxis, std::nullopt).XDir.x, 0.0);  // kept, not NaN
}

TEST(PickPollInterval, OftenAtFirstThenEvery200Ms) {
  EXPECT_LE(PickPollIntervalMs(2999), 25);
  EXPECT_EQ(PickPollIntervalMs(10000), 200);
}

TEST_F(ProjectEntityStoreTest, FirstLineWinsOverPolylineAndTheStoreKeepsWorldCoordinates) {
  RefSegment = {};
  AddPolyline({{10, 0, 0}, {10, 1, 0}, {11, 1, 0}});
  Polylines[0].Elevation = 1;
  AddLine({10, 0, 7}, {10, 5, 7});
  AddLine({12, 3, 0}, {10, 0, 0});
  EXPECT_EQ(ProjectEntityStore(kTurned), TSegmentSource::Line);
  EXPECT_EQ(RefSegment.First.x, 0); EXPECT_EQ(RefSegment.First.z, 7);
  EXPECT_EQ(RefSegment.Second.x, 5); EXPECT_EQ(RefSegment.Second.y, 0);
  // The redraw turns in the capture's UCS but types in whatever UCS is current then: the store stays world.
  EXPECT_EQ(Lines[1].StartPt.x, 12); EXPECT_EQ(Lines[1].StartPt.y, 3);
  EXPECT_EQ(Polylines[0].Vertices[2].x, 11); EXPECT_EQ(Polylines[0].Vertices[2].z, 1);  // the elevation
  EXPECT_EQ(CapturedUcs.YDir.x, -1);
}

// A mesh first (taken out: the next polyline measures), then a polyline seen from below whose OCS x runs against
// the world's: OCS (-100,0) to (-110,0) at elevation 2 lies from world (100,0,-2) to (110,0,-2), at 0 degrees; then a
// spline-fit polyline whose frame vertices (flag 16) are not part of what it draws.
TEST_F(ProjectEntityStoreTest, ObjectCoordinatesMeshesAndSplineFrames) {
  AddPolyline({{0, 0, 0}, {5, 5, 0}});
  Polylines[0].Flags = 16;
  AddPolyline({{-100, 0, 0}, {-110, 0, 0}});
  Polylines[1].Normal = {0, 0, -1};
  Polylines[1].Elevation = 2;
  AddPolyline({{0, 0, 0}, {9, 9, 0}, {1, 0, 0}, {2, 1, 0}, {9, 0, 0}});
  Polylines[2].Flags = 4;
  Polylines[2].VertexFlags = {16, 16, 8, 8, 16};
  Polylines[2].Bulges = {0, 0, 0.1, 0.2, 0};
  AddPolyline({{1, 2, 0}, {3, 4, 0}});
  Polylines[3].Normal = {0, 0, 0};  // names no plane: the world's
  std::int32_t meshes = 0;
  EXPECT_EQ(ProjectEntityStore(kWorld, &meshes), TSegmentSource::Polyline);
  EXPECT_EQ(meshes, 1);
  ASSERT_EQ(PolylineCount, 3);
  EXPECT_EQ(Polylines[2].Vertices[1].y, 4);
  EXPECT_EQ(Polylines[2].Normal.z, 1);
  EXPECT_EQ(Polylines[0].Vertices[1].x, 110);
  EXPECT_EQ(Polylines[0].Vertices[1].z, -2);
  EXPECT_EQ(RefSegment.Second.x - RefSegment.First.x, 10);
  const TPolylineRec& fit = Polylines[1];
  ASSERT_EQ(fit.VertexCount, 2);
  EXPECT_EQ(fit.Vertices[1].x, 2);
  EXPECT_EQ(fit.Bulges, (std::vector<double>{0.1, 0.2}));
  EXPECT_EQ(fit.Vertices.size(), 2u);
  EXPECT_EQ(fit.StartWidths.size(), 2u);
}

TEST_F(ProjectEntityStoreTest, PolylineGivesItsFirstTwoVertices) {
  AddPolyline({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}});
  AddPolyline({{5, 5, 0}, {6, 6, 0}});
  EXPECT_EQ(ProjectEntityStore(kWorld), TSegmentSource::Polyline);
  EXPECT_EQ(RefSegment.First.x, 0);
  EXPECT_EQ(RefSegment.Second.x, 1);
  EXPECT_EQ(RefSegment.Second.y, 1);
}

TEST_F(ProjectEntityStoreTest, NothingToMeasureLeavesTheSegmentAlone) {
  RefSegment = {{1, 2, 3}, {4, 5, 6}};
  EXPECT_EQ(ProjectEntityStore(kTurned), TSegmentSource::None);
  EXPECT_EQ(RefSegment.First.y, 2);
  EXPECT_EQ(RefSegment.Second.z, 6);
  // A one-vertex polyline replaces only the first point.
  AddPolyline({{10, 3, 0}});
  EXPECT_EQ(ProjectEntityStore(kTurned), TSegmentSource::Polyline);
  EXPECT_EQ(RefSegment.First.x, 3);
  EXPECT_EQ(RefSegment.Second.x, 4);
}

TEST(MeasurementTexts, WorkedExamples) {
  TMeasurementTexts t = MeasurementTexts(false, {0, 0, 0}, {3, 4, 0});
  EXPECT_EQ(t.CaptionUtf8, "回転処理　線");
  EXPECT_EQ(t.Kyori, "5.000000");
  EXPECT_EQ(t.Kakudo, "53.13010235");
  EXPECT_EQ(t.Do, "53");
  EXPECT_EQ(t.Fun, "7");
  EXPECT_EQ(t.Byo, "48.368475");

  t = MeasurementTexts(false, {0, 0, 0}, {-2, 0, 0});
  EXPECT_EQ(t.Kyori, "2.000000");
  EXPECT_EQ(t.Kakudo, "180.00000000");
  EXPECT_EQ(t.Do + "/" + t.Fun + "/" + t.Byo, "180/0/0.000000");

  t = MeasurementTexts(false, {0, 0, 0}, {0, 5, 0});
  EXPECT_EQ(t.Kakudo, "90.00000000");

  t = MeasurementTexts(false, {2, 2, 9}, {2, 2, -9});  // z takes no part
  EXPECT_EQ(t.Kyori, "0.000000");
  EXPECT_EQ(t.Kakudo, " 0.00000000");
  EXPECT_EQ(t.Do + "/" + t.Fun + "/" + t.Byo, "0/0/0.000000");

  t = MeasurementTexts(true, {0, 0, 0}, {1, 1, 0});
  EXPECT_EQ(t.CaptionUtf8, "回転処理　多角線");
  EXPECT_EQ(t.Kyori, "1.414214");
  EXPECT_EQ(t.Kakudo, "45.00000000");
  EXPECT_EQ(t.Do + "/" + t.Fun + "/" + t.Byo, "45/0/0.000000");

  t = MeasurementTexts(false, {0, 0, 0}, {0, -3, 0});  // straight down is 270, never -90
  EXPECT_EQ(t.Kakudo, "270.00000000");
}

TEST(MeasurementTexts, NegativeDirectionsReadBackToTheSameAngle) {
  TMeasurementTexts t = MeasurementTexts(true, {0, 0, 0}, {1, -1, 0});
  EXPECT_EQ(t.Kakudo, "-45.00000000");
  EXPECT_EQ(t.Do + "/" + t.Fun + "/" + t.Byo, "-45/0/0.000000");
  // Below one degree the sign moves to the minutes and seconds.
  t = MeasurementTexts(false, {0, 0, 0}, {120, -1, 0});
  EXPECT_EQ(t.Do, "0");
  EXPECT_EQ(t.Fun, "-28");
  EXPECT_EQ(t.Byo.front(), '-');
  for (const TPoint3D q : {TPoint3D{1, -1, 0}, TPoint3D{120, -1, 0}, TPoint3D{10, -1, 0}, TPoint3D{3, -4, 0},
                           TPoint3D{1e6, -1, 0}}) {
    t = MeasurementTexts(false, {0, 0, 0}, q);
    const double readBack = NewDirectionDegrees(t.Do, t.Fun, t.Byo);
    const double shown = RadToDeg(DirAngle(q.x, q.y));
    EXPECT_NEAR(readBack, shown, 1e-9) << t.Do << " " << t.Fun << " " << t.Byo;
    EXPECT_LT(readBack, 0.0);
  }
}

}  // namespace
}  // namespace swivex
