#include "workflows/Redraw.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <stdexcept>
#include <utility>
#include <vector>

#include "StoreFixture.h"
#include "geometry/Angles.h"
#include "text/NumText.h"
#include "workflows/Capture.h"

namespace swivex {
namespace {

using testing::StoreTest;

class RedrawTest : public StoreTest {
 protected:
  std::vector<std::string> Redraw(double degrees, const std::string& kyori) {
    std::vector<std::string> sent;
    lengthReads = 0;
    SendRedrawCommands(
        DegToRad(degrees), [&] { ++lengthReads; return StrToFloat(kyori); },
        [&](const std::string& c) { sent.push_back(c); });
    return sent;
  }
  int lengthReads = 0;

  static std::vector<std::string> Grouped(std::vector<std::string> commands) {
    commands.insert(commands.begin(), std::string(kUndoBeginCommand));
    commands.push_back(std::string(kUndoEndCommand));
    return commands;
  }
};

// The conversion error NewDirectionDegrees raises for these texts: its kind and the offending text.
void ExpectConvertError(std::string_view d, std::string_view m, std::string_view sec, TNumberKind kind,
                        std::string_view text) {
  try {
    NewDirectionDegrees(d, m, sec);
    ADD_FAILURE() << "no conversion error";
  } catch (const TConvertError& e) {
    EXPECT_EQ(e.Kind(), kind);
    EXPECT_EQ(e.Text(), text);
  }
}

TEST(NewDirectionDegrees, ReadsDegreesMinutesSecondsInOrder) {
  EXPECT_EQ(NewDirectionDegrees("0", "0", "0"), 0.0);
  EXPECT_EQ(NewDirectionDegrees("-10", "30", "0"), -10.5);
  EXPECT_EQ(FormatDegrees(NewDirectionDegrees("-10", "30", "0")), "-10.50000000");
  EXPECT_EQ(NewDirectionDegrees("0", "-30", "0"), -0.5);
  EXPECT_EQ(FormatDegrees(NewDirectionDegrees("53", "7", "48.368475")), "53.13010235");
  // Degrees are read first: with every field wrong the degrees' text is the one reported.
  ExpectConvertError("", "x", "y", TNumberKind::Integer, "");
  ExpectConvertError("10", "0", "abc", TNumberKind::Real, "abc");
  EXPECT_THROW(NewDirectionDegrees("1", "2x", "0"), TConvertError);
}

TEST(NewDirectionDegrees, DegreesAloneMayBeDecimalAndDigitsFullWidth) {
  EXPECT_EQ(NewDirectionDegrees("1.5", "0", "0"), 1.5);
  EXPECT_EQ(NewDirectionDegrees("229.842222", "", ""), 229.842222);
  EXPECT_EQ(NewDirectionDegrees("-45", "", "0.0"), -45.0);
  EXPECT_EQ(NewDirectionDegrees("\x82\x53\x82\x54", "\x82\x52\x82\x4F", "\x82\x4F\x81\x44\x82\x4F"), 45.5);
  // Decimal degrees beside minutes: the whole-number error of the degrees, as before.
  ExpectConvertError("1.5", "1", "0", TNumberKind::Integer, "1.5");
}

TEST_F(RedrawTest, PolylineTakesTheNewDirectionAndTypedLength) {
  AddPolyline({{0, 0, 0}, {0, 2, 0}, {1, 2, 0}});
  EXPECT_EQ(Redraw(0, "2.000000"),
            std::vector<std::string>{"\x03PLINE _non 0.000000,0.000000 _non 2.000000,0.000000 _non 2.000000,-1.000000 \r"});
  EXPECT_EQ(Redraw(0, "5"),
            std::vector<std::string>{"\x03PLINE _non 0.000000,0.000000 _non 5.000000,0.000000 _non 2.000000,-1.000000 \r"});
  EXPECT_EQ(lengthReads, 1);
  EXPECT_THROW(Redraw(0, "abc"), TConvertError);
}

TEST_F(RedrawTest, LinesTurnTogetherAboutTheFirstStartWithoutReadingTheLength) {
  AddLine({1, 1, 0}, {1, 3, 0});
  EXPECT_EQ(Redraw(0, "not a number"),
            std::vector<std::string>{"\x03LINE _non 1.000000,1.000000 _non 3.000000,1.000000 \r"});
  EXPECT_EQ(lengthReads, 0);
  AddLine({3, 1, 0}, {3, 3, 0});
  EXPECT_EQ(Redraw(0, ""), Grouped({"\x03LINE _non 1.000000,1.000000 _non 3.000000,1.000000 \r",
                                    "\x03LINE _non 1.000000,-1.000000 _non 3.000000,-1.000000 \r"}));
}

TEST_F(RedrawTest, PolylinesFirstEachAboutItsOwnFirstVertex) {
  AddLine({0, 0, 0}, {1, 0, 0});
  AddPolyline({{5, 5, 0}, {5, 6, 0}});         // 90° → turned by -90°
  AddPolyline({{10, 0, 0}, {9, 0, 0}, {8, 1, 0}});  // 180° → turned by -180°
  const auto sent = Redraw(0, "1");
  EXPECT_EQ(sent, Grouped({"\x03PLINE _non 5.000000,5.000000 _non 6.000000,5.000000 \r",
                           "\x03PLINE _non 10.000000,0.000000 _non 11.000000,0.000000 _non 12.000000,-1.000000 \r",
                           "\x03LINE _non 0.000000,0.000000 _non 1.000000,0.000000 \r"}));
  EXPECT_EQ(lengthReads, 2);
}

TEST_F(RedrawTest, DegeneratePolylines) {
  AddPolyline({{3, 3, 0}});
  AddPolyline({{0, 0, 0}, {0, 0, 0}, {1, 0, 0}});  // zero first segment: τ = θ
  const auto sent = Redraw(90, "2");
  EXPECT_EQ(sent, Grouped({"\x03\r", "\x03PLINE _non 0.000000,0.000000 _non 0.000000,2.000000 _non 0.000000,1.000000 \r"}));
  EXPECT_EQ(lengthReads, 1);
}

TEST_F(RedrawTest, BadLengthStopsAtThatPolylineKeepingWhatWasSent) {
  AddPolyline({{7, 7, 0}});  // sent without asking for a length
  AddPolyline({{0, 0, 0}, {1, 0, 0}});
  Polylines[1].Props.Thickness = 2;
  AddPolyline({{0, 0, 0}, {1, 0, 0}});
  AddLine({0, 0, 0}, {1, 0, 0});
  std::vector<std::string> sent;
  int reads = 0;
  EXPECT_THROW(SendRedrawCommands(
                   0.0L, [&]() -> double { if (++reads == 2) throw TConvertError(TNumberKind::Real, "x"); return 1; },
                   [&](const std::string& c) { sent.push_back(c); }),
               TConvertError);
  // The variable set for the first copy is given back and the UNDO group that was begun is ended all the same, so
  // AutoCAD is left neither with it open nor with the copy's thickness.
  EXPECT_EQ(sent, Grouped({"\x03\r", "\x03THICKNESS 2 \x03PLINE _non 0.000000,0.000000 _non 1.000000,0.000000 \r",
                           "\x03THICKNESS 0 "}));
}

TEST_F(RedrawTest, EmptyStoreSendsNothing) {
  EXPECT_TRUE(Redraw(45, "x").empty());
  EXPECT_EQ(lengthReads, 0);
}

TEST_F(RedrawTest, LongPolylineGoesOutWholeInOneCommand) {
  AddPolyline({});
  TPolylineRec& p = Polylines[0];
  for (int i = 0; i < kMaxVertices; ++i) AppendVertex(p, {1000.0 + i, 2000.0 + (i % 2), 0});
  const auto sent = Redraw(0, "1");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_GT(sent[0].size(), 255u);
  std::size_t blanks = 0;
  for (char c : sent[0]) blanks += c == ' ';
  EXPECT_EQ(blanks, 1u + 2 * kMaxVertices);  // after PLINE, and after every _non and point
  EXPECT_EQ(sent[0].back(), '\r');
}

// A capture followed by a redraw at the shown angle and length draws the picked polyline again where it was, in
// every quadrant, the negative directions of the fourth included.
TEST_F(RedrawTest, RedrawAtTheCapturedAngleRedrawsInPlace) {
  for (const TPoint3D second : {TPoint3D{3, 4, 0}, TPoint3D{-3, 4, 0}, TPoint3D{-3, -4, 0}, TPoint3D{3, -4, 0},
                                TPoint3D{400, -1, 0}, TPoint3D{0, -5, 0}}) {
    Clear();
    AddPolyline({{1, 1, 0}, {1 + second.x, 1 + second.y, 0}, {2, 7, 0}});
    const TUcs world{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    ASSERT_EQ(ProjectEntityStore(world), TSegmentSource::Polyline);
    const TMeasurementTexts t = MeasurementTexts(true, RefSegment.First, RefSegment.Second);
    const double degrees = NewDirectionDegrees(t.Do, t.Fun, t.Byo);
    const auto sent = Redraw(degrees, t.Kyori);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "\x03PLINE _non 1.000000,1.000000 _non " + FormatPoint(1 + second.x, 1 + second.y) + " _non 2.000000,7.000000 \r")
        << t.Do << "/" << t.Fun << "/" << t.Byo;
  }
}

// Copies that keep what the picked object had.

TEST_F(RedrawTest, ArcSecondPointIsTheTurnedArcsMidpointForBothBulgeSigns) {
  AddPolyline({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}, {6, 0, 0}});
  Polylines[0].Bulges = {1.0, -1.0, 0.0, 0.0};  // below the chord, then above it, then straight
  EXPECT_EQ(Redraw(90, "2"), std::vector<std::string>{
                                 "\x03PLINE _non 0.000000,0.000000 _A _S _non 1.0000000000,1.0000000000 _non "
                                 "0.000000,2.000000 _S _non -1.0000000000,3.0000000000 _non 0.000000,4.000000 "
                                 "_L _non 0.000000,6.000000 \r"});
}

TEST_F(RedrawTest, ClosedPolylinesCloseAsPlineCan) {
  AddPolyline({});
  const auto closed = [&](std::initializer_list<std::pair<TPoint3D, double>> vertices) {
    Polylines[0] = {};
    for (const auto& [v, bulge] : vertices) AddVertex(0, v, bulge);
    Polylines[0].Flags = kPolylineClosed;
    return Redraw(0, "2")[0];
  };
  // PLINE's close ends the command: a carriage return after it would start PLINE again.
  EXPECT_EQ(closed({{{0, 0, 0}, 0}, {{2, 0, 0}, 0}, {{2, 1, 0}, 0}, {{0, 1, 0}, 0}}),
            "\x03PLINE _non 0.000000,0.000000 _non 2.000000,0.000000 _non 2.000000,1.000000 _non 0.000000,1.000000 _C ");
  // Two half circles: the closing arc continues the first one, so PLINE's arc close draws it.
  EXPECT_EQ(closed({{{0, 0, 0}, 1}, {{2, 0, 0}, 1}}),
            "\x03PLINE _non 0.000000,0.000000 _A _S _non 1.0000000000,-1.0000000000 _non 2.000000,0.000000 _CL ");
  // A closing arc that makes a corner is drawn to the first vertex, leaving the copy open.
  EXPECT_EQ(closed({{{0, 0, 0}, 0}, {{2, 0, 0}, 0}, {{2, 2, 0}, 1}}),
            "\x03PLINE _non 0.000000,0.000000 _non 2.000000,0.000000 _non 2.000000,2.000000 "
            "_A _S _non 0.0000000000,2.0000000000 _non 0.000000,0.000000 \r");
}

TEST_F(RedrawTest, WidthsAreTypedWhereTheyChange) {
  AddPolyline({});
  AddVertex(0, {0, 0, 0}, 0, 1, 2);
  AddVertex(0, {1, 0, 0}, 0, 2, 2);  // starts where the last ended: nothing typed
  AddVertex(0, {2, 0, 0}, 0, 0, 0);
  AddVertex(0, {3, 0, 0});
  EXPECT_EQ(Redraw(0, "1")[0],
            "\x03PLINE _non 0.000000,0.000000 _W 1.000000 2.000000 _non 1.000000,0.000000 _non 2.000000,0.000000 "
            "_W 0.000000 0.000000 _non 3.000000,0.000000 \r");
  // A constant width; the next PLINE starts with the width the last one left (PLINEWID), so it types its own.
  Polylines[0].ConstantWidth = 0.5;
  AddPolyline({{5, 0, 0}, {6, 0, 0}});
  EXPECT_EQ(Redraw(0, "1"),
            Grouped({"\x03PLINE _non 0.000000,0.000000 _W 0.500000 0.500000 _non 1.000000,0.000000 "
                     "_non 2.000000,0.000000 _non 3.000000,0.000000 \r",
                     "\x03PLINE _non 5.000000,0.000000 _W 0.000000 0.000000 _non 6.000000,0.000000 \r"}));
}

// Values PLINE would refuse, and ask for again while the rest of the command is read as answers, are not typed.
TEST_F(RedrawTest, ValuesPlineRefusesAreNotTyped) {
  AddPolyline({});
  AddVertex(0, {0, 0, 0}, 0, -1, -2);  // negative widths
  AddVertex(0, {1, 0, 0}, 1.0);        // an arc whose ends meet
  AddVertex(0, {1, 0, 0}, 1e-12);      // an arc too flat to leave its chord
  AddVertex(0, {3, 0, 0});
  Polylines[0].Bulges.pop_back();      // a list shorter than the vertices
  EXPECT_EQ(Redraw(0, "1")[0], "\x03PLINE _non 0.000000,0.000000 _non 1.000000,0.000000 _non 1.000000,0.000000 "
                               "_non 3.000000,0.000000 \r");
}

// Each copy is drawn with the original's properties made current (a copy on a layer that is off is never
// looked for by a later command), one after the other; the user's values, here the header's, come back.
TEST_F(RedrawTest, PropertiesAreCurrentWhileEachCopyIsDrawn) {
  DxfHeader.CLayer.Assign("walls");
  DxfHeader.HasCLayer = true;
  AddLine({0, 0, 0}, {1, 0, 0});
  Lines[0].Layer.Assign("WALLS");  // the current layer, whatever the letters' case: nothing set
  AddPolyline({{0, 0, 0}, {1, 0, 0}});
  TPolylineRec& p = Polylines[0];
  p.Layer.Assign("0");
  p.Props.Color = 1;
  p.Props.Linetype.Assign("DASHED");
  p.Props.Lineweight = 25;  // CELWEIGHT takes hundredths of a millimetre, whatever LWUNITS is
  p.Props.LinetypeScale = 2.5;
  p.Props.Thickness = 3;
  EXPECT_EQ(Redraw(0, "1"),
            Grouped({"\x03""CLAYER 0 \x03""CECOLOR 1 \x03""CELTYPE DASHED \x03""CELWEIGHT 25 \x03""CELTSCALE 2.5 "
                     "\x03THICKNESS 3 \x03PLINE _non 0.000000,0.000000 _non 1.000000,0.000000 \r",
                     "\x03""CLAYER WALLS \x03""CECOLOR BYLAYER \x03""CELTYPE ByLayer \x03""CELWEIGHT -1 \x03""CELTSCALE 1 "
                     "\x03THICKNESS 0 \x03LINE _non 0.000000,0.000000 _non 1.000000,0.000000 \r"}));
  // Last drawn, the polyline leaves its values current: they go back after it, inside the group.
  Lines[0].Props = p.Props;
  Lines[0].Layer.Assign("0");
  const auto sent = Redraw(0, "1");
  ASSERT_EQ(sent.size(), 5u);
  EXPECT_EQ(sent[3], "\x03""CLAYER walls \x03""CECOLOR BYLAYER \x03""CELTYPE ByLayer \x03""CELWEIGHT -1 \x03""CELTSCALE 1 "
                     "\x03THICKNESS 0 ");
  EXPECT_EQ(sent[4], kUndoEndCommand);
}

// With AutoCAD's prompt to read, the user's values are those current at 作成: each variable's prompt shows it
// as its default, and the answer goes out with what follows. 鉄 (93 53) is not the current 都 (93 73); ELEVATION
// is 0 while the copy is drawn; PLINEWID 3 makes the zero-width copy type its widths; all come back.
TEST_F(RedrawTest, UserValuesAreTheOnesItsPromptsShowAtTheRedraw) {
  DxfHeader.PlineWid = 3;
  AddPolyline({{0, 0, 0}, {1, 0, 0}});
  Polylines[0].Layer.Assign("\x93\x53");
  const std::map<std::string, std::string> shown = {
      {"CLAYER", "\"\x93\x73\""}, {"CECOLOR", "\"BYLAYER\""}, {"CELTYPE", "\"ByLayer\""}, {"CELWEIGHT", "-1"},
      {"CELTSCALE", "1.0000"},   {"THICKNESS", "0.0000"},        {"ELEVATION", "7.0000"},     {"PLINEWID", "3.0000"}};
  std::vector<std::string> sent;
  int reads = 0;
  const auto prompt = [&]() -> std::string {
    if (reads++ % 2 == 0) return "\x83\x52\x83\x7D\x83\x93\x83\x68: ";  // a busy AutoCAD shows it a moment later
    const std::string& last = sent.back();
    const std::string name = last.substr(last.rfind('\x03') + 1, last.size() - last.rfind('\x03') - 2);
    return name + " \x82\xCC\x90\x56\x82\xB5\x82\xA2\x92\x6C\x82\xF0\x93\xFC\x97\xCD <" + shown.at(name) + ">: ";
  };
  SendRedrawCommands(0.0L, [] { return 1.0; }, [&](const std::string& c) { sent.push_back(c); }, prompt);
  EXPECT_EQ(sent, Grouped({"\x03""CLAYER ", "\x93\x53 \x03""CECOLOR ", " \x03""CELTYPE ", " \x03""CELWEIGHT ",
                           " \x03""CELTSCALE ", " \x03THICKNESS ", " \x03""ELEVATION ", "0 \x03PLINEWID ",
                           " \x03PLINE _non 0.000000,0.000000 _W 0.000000 0.000000 _non 1.000000,0.000000 \r",
                           "\x03""CLAYER \x93\x73 \x03""ELEVATION 7 \x03PLINEWID 3 "}));
}

// A real the prompt shows rounded is the header's to the digit when it rounds to what is shown; otherwise the
// shown value, and a polyline then types its first widths whatever PLINEWID seems to be.
TEST_F(RedrawTest, PlineWidthIsTakenToTheDigitOnlyWhenKnownSo) {
  AddPolyline({{0, 0, 0}, {1, 0, 0}});
  Polylines[0].ConstantWidth = 0.12345;
  DxfHeader.PlineWid = 0.12345;
  const auto firstPline = [&](const std::string& plinewid) {
    std::vector<std::string> sent;
    SendRedrawCommands(0.0L, [] { return 1.0; }, [&](const std::string& c) { sent.push_back(c); }, [&] {
      return sent.back().find("PLINEWID") == std::string::npos
                 ? std::string("?")
                 : "PLINEWID \x82\xCC\x90\x56\x82\xB5\x82\xA2\x92\x6C\x82\xF0\x93\xFC\x97\xCD <" + plinewid + ">: ";
    });
    for (const std::string& c : sent)
      if (c.find("PLINE _non") != std::string::npos) return c.substr(c.find("PLINE _non"));
    return std::string();
  };
  EXPECT_EQ(firstPline("0.1235"), "PLINE _non 0.000000,0.000000 _non 1.000000,0.000000 \r");
  EXPECT_EQ(firstPline("0.1200"), "PLINE _non 0.000000,0.000000 _W 0.123450 0.123450 _non 1.000000,0.000000 \r");
}

TEST(PromptedValue, TheDefaultOfThatVariablesPrompt) {
  const std::string newValue = "\x82\xCC\x90\x56\x82\xB5\x82\xA2\x92\x6C\x82\xF0\x93\xFC\x97\xCD";  // の新しい値を入力
  EXPECT_EQ(PromptedValue("CLAYER " + newValue + " <\"\x95\xC7\">: ", "CLAYER"), "\x95\xC7");
  EXPECT_EQ(PromptedValue("PLINEWID " + newValue + " <0.0000>:", "PLINEWID"), "0.0000");
  EXPECT_EQ(PromptedValue("PLINEWID " + newValue + " <0.0000>: ", "ELEVATION"), std::nullopt);
  EXPECT_EQ(PromptedValue("\x83\x52\x83\x7D\x83\x93\x83\x68: ", "CLAYER"), std::nullopt);  // コマンド:
  EXPECT_EQ(PromptedValue("CLAYER " + newValue + " <\"0\">: x", "CLAYER"), std::nullopt);
}

TEST_F(RedrawTest, HeightsStayAsTheCapturedUcsSeesThem) {
  AddLine({0, 0, 5}, {1, 0, 5});
  AddPolyline({{0, 0, 0}, {1, 0, 0}});
  Polylines[0].Elevation = 5;
  ProjectEntityStore({{0, 0, 2}, {1, 0, 0}, {0, 1, 0}});  // typed points are 2 below the world's
  auto sent = Redraw(0, "1");
  ASSERT_EQ(sent.size(), 4u);  // the UNDO group: the two objects are two commands
  EXPECT_EQ(sent[1], "\x03PLINE _non 0.000000,0.000000,3.000000 _non 1.000000,0.000000 \r");
  EXPECT_EQ(sent[2], "\x03LINE _non 0.000000,0.000000,3.000000 _non 1.000000,0.000000,3.000000 \r");
}

// Seen in a UCS whose z axis points down (UCS X 180) an arc turns the other way: its bulge changes sign (the world
// arc passes (1,-1), which this UCS calls (1,1)). A
// polyline in a tilted plane cannot be drawn by PLINE in the UCS: it is left out, the rest is drawn, and a line
// keeps its height along the tilted z axis.
TEST_F(RedrawTest, BulgesFollowTheUcsAndTiltedPlanesAreLeftOut) {
  AddPolyline({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}});
  Polylines[0].Bulges = {1, 0, 0};
  const TUcs upsideDown{{0, 0, 0}, {1, 0, 0}, {0, -1, 0}};
  ProjectEntityStore(upsideDown);
  EXPECT_EQ(Redraw(0, "2")[0], "\x03PLINE _non 0.000000,0.000000 _A _S _non 1.0000000000,1.0000000000 "
                               "_non 2.000000,0.000000 _L _non 4.000000,0.000000 \r");
  Clear();
  AddLine({0, 0, 5}, {1, 0, 5});
  AddPolyline({{0, 0, 0}, {1, 0, 0}});
  ProjectEntityStore({{0, 0, 0}, {1, 0, 0}, {0, 0.6, 0.8}});
  std::vector<std::string> sent;
  EXPECT_EQ(SendRedrawCommands(0.0L, [] { return 1.0; }, [&](const std::string& c) { sent.push_back(c); }), 1);
  EXPECT_EQ(sent, std::vector<std::string>{"\x03LINE _non 0.000000,4.000000,3.000000 _non 1.000000,4.000000,3.000000 \r"});
}

// A 3D polyline keeps every height and closes with 3DPOLY's own close.
TEST_F(RedrawTest, ThreeDPolylineKeepsItsHeights) {
  AddPolyline({{0, 0, 1}, {0, 1, 2}, {1, 1, 3}});
  Polylines[0].Flags = kPolyline3D | kPolylineClosed;
  EXPECT_EQ(Redraw(0, "2")[0], "\x03_.3DPOLY _non 0.000000,0.000000,1.000000 _non 2.000000,0.000000,2.000000 "
                               "_non 1.000000,-1.000000,3.000000 _C ");
}

// The UCS changed between capture and 作成 (origin moved to 100,50): the copy still lands where it belongs in the
// world, typed in the new UCS; the turn is still the captured UCS's.
TEST_F(RedrawTest, AUcsChangedSinceTheCaptureDoesNotMoveTheCopy) {
  AddLine({100, 50, 0}, {100, 60, 0});
  ProjectEntityStore(TUcs{{0, 0, 0}, {0, 1, 0}, {-1, 0, 0}});  // the line lies along this UCS's x axis
  std::vector<std::string> sent;
  SendRedrawCommands(0.0L, [] { return 1.0; }, [&](const std::string& c) { sent.push_back(c); }, {},
                     TUcs{{100, 50, 0}, {1, 0, 0}, {0, 1, 0}});
  EXPECT_EQ(sent, std::vector<std::string>{"\x03LINE _non 0.000000,0.000000 _non 0.000000,10.000000 \r"});
}

TEST_F(RedrawTest, AFailedSendStillEndsTheUndoGroup) {
  AddLine({0, 0, 0}, {1, 0, 0});
  AddLine({0, 1, 0}, {1, 1, 0});
  std::vector<std::string> sent;
  EXPECT_THROW(SendRedrawCommands(0.0L, [] { return 1.0; },
                                  [&](const std::string& c) {
                                    sent.push_back(c);
                                    if (sent.size() == 2) throw std::runtime_error("AutoCAD not answering");
                                  }),
               std::runtime_error);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent.front(), kUndoBeginCommand);
  EXPECT_EQ(sent.back(), kUndoEndCommand);
  // A 距 that does not convert before anything went out: no group either.
  AddPolyline({{0, 0, 0}, {1, 0, 0}});
  sent.clear();
  EXPECT_THROW(SendRedrawCommands(0.0L, []() -> double { throw TConvertError(TNumberKind::Real, "x"); },
                                  [&](const std::string& c) { sent.push_back(c); }),
               TConvertError);
  EXPECT_TRUE(sent.empty());
}

}  // namespace
}  // namespace swivex
