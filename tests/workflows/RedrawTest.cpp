#include "workflows/Redraw.h"

#include <gtest/gtest.h>

#include <string>
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
};

TEST(NewDirectionDegrees, ReadsDegreesMinutesSecondsInOrder) {
  EXPECT_EQ(NewDirectionDegrees("0", "0", "0"), 0.0);
  EXPECT_EQ(NewDirectionDegrees("-10", "30", "0"), -10.5);
  EXPECT_EQ(FormatDegrees(NewDirectionDegrees("-10", "30", "0")), "-10.50000000");
  EXPECT_EQ(NewDirectionDegrees("0", "-30", "0"), -0.5);
  EXPECT_EQ(FormatDegrees(NewDirectionDegrees("53", "7", "48.368475")), "53.13010235");
  // Degrees are read first: with every field wrong the degrees' text is the one reported.
  try {
    NewDirectionDegrees("", "x", "y");
    FAIL() << "no conversion error";
  } catch (const TConvertError& e) {
    EXPECT_EQ(e.Kind(), TNumberKind::Integer);
    EXPECT_EQ(e.Text(), "");
  }
  try {
    NewDirectionDegrees("10", "0", "abc");
    FAIL() << "no conversion error";
  } catch (const TConvertError& e) {
    EXPECT_EQ(e.Kind(), TNumberKind::Real);
    EXPECT_EQ(e.Text(), "abc");
  }
  EXPECT_THROW(NewDirectionDegrees("1.5", "0", "0"), TConvertError);
  EXPECT_THROW(NewDirectionDegrees("1", "2x", "0"), TConvertError);
}

TEST_F(RedrawTest, PolylineTakesTheNewDirectionAndTypedLength) {
  AddPolyline({{0, 0, 0}, {0, 2, 0}, {1, 2, 0}});
  EXPECT_EQ(Redraw(0, "2.000000"),
            std::vector<std::string>{"\x03PLINE 0.000000,0.000000 2.000000,0.000000 2.000000,-1.000000 \r"});
  EXPECT_EQ(Redraw(0, "5"),
            std::vector<std::string>{"\x03PLINE 0.000000,0.000000 5.000000,0.000000 2.000000,-1.000000 \r"});
  EXPECT_EQ(lengthReads, 1);
  EXPECT_THROW(Redraw(0, "abc"), TConvertError);
}

TEST_F(RedrawTest, LinesTurnTogetherAboutTheFirstStartWithoutReadingTheLength) {
  AddLine({1, 1, 0}, {1, 3, 0});
  EXPECT_EQ(Redraw(0, "not a number"),
            std::vector<std::string>{"\x03LINE 1.000000,1.000000 3.000000,1.000000 \r"});
  EXPECT_EQ(lengthReads, 0);
  AddLine({3, 1, 0}, {3, 3, 0});
  EXPECT_EQ(Redraw(0, ""), (std::vector<std::string>{"\x03LINE 1.000000,1.000000 3.000000,1.000000 \r",
                                                     "\x03LINE 1.000000,-1.000000 3.000000,-1.000000 \r"}));
}

TEST_F(RedrawTest, PolylinesFirstEachAboutItsOwnFirstVertex) {
  AddLine({0, 0, 0}, {1, 0, 0});
  AddPolyline({{5, 5, 0}, {5, 6, 0}});         // 90° → turned by -90°
  AddPolyline({{10, 0, 0}, {9, 0, 0}, {8, 1, 0}});  // 180° → turned by -180°
  const auto sent = Redraw(0, "1");
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0], "\x03PLINE 5.000000,5.000000 6.000000,5.000000 \r");
  EXPECT_EQ(sent[1], "\x03PLINE 10.000000,0.000000 11.000000,0.000000 12.000000,-1.000000 \r");
  EXPECT_EQ(sent[2], "\x03LINE 0.000000,0.000000 1.000000,0.000000 \r");
  EXPECT_EQ(lengthReads, 2);
}

TEST_F(RedrawTest, DegeneratePolylines) {
  AddPolyline({{3, 3, 0}});
  AddPolyline({{0, 0, 0}, {0, 0, 0}, {1, 0, 0}});  // zero first segment: τ = θ
  const auto sent = Redraw(90, "2");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], "\x03\r");
  EXPECT_EQ(sent[1], "\x03PLINE 0.000000,0.000000 0.000000,2.000000 0.000000,1.000000 \r");
  EXPECT_EQ(lengthReads, 1);
}

TEST_F(RedrawTest, BadLengthStopsAtThatPolylineKeepingWhatWasSent) {
  AddPolyline({{7, 7, 0}});  // sent without asking for a length
  AddPolyline({{0, 0, 0}, {1, 0, 0}});
  AddPolyline({{0, 0, 0}, {1, 0, 0}});
  AddLine({0, 0, 0}, {1, 0, 0});
  std::vector<std::string> sent;
  int reads = 0;
  EXPECT_THROW(SendRedrawCommands(
                   0.0L, [&]() -> double { if (++reads == 2) throw TConvertError(TNumberKind::Real, "x"); return 1; },
                   [&](const std::string& c) { sent.push_back(c); }),
               TConvertError);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], "\x03\r");
  EXPECT_EQ(sent[1], "\x03PLINE 0.000000,0.000000 1.000000,0.000000 \r");
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
  EXPECT_EQ(blanks, 1u + kMaxVertices);  // after PLINE and after every point
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
    EXPECT_EQ(sent[0], "\x03PLINE 1.000000,1.000000 " + FormatPoint(1 + second.x, 1 + second.y) + " 2.000000,7.000000 \r")
        << t.Do << "/" << t.Fun << "/" << t.Byo;
  }
}

}  // namespace
}  // namespace swivex
