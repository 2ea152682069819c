#include "workflows/NewAngle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StoreFixture.h"
#include "geometry/Angles.h"
#include "workflows/Redraw.h"

namespace swivex {
namespace {

using testing::StoreTest;

const TAngleFrame kBearing = FrameOf(TAngleConvention::Bearing, {});

std::vector<std::string> Commands(long double theta) {
  std::vector<std::string> sent;
  SendRedrawCommands(theta, [] { return 10.0; }, [&](const std::string& c) { sent.push_back(c); });
  return sent;
}

TEST_F(StoreTest, SameCopyWhicheverConventionTheDirectionIsTypedIn) {
  AddPolyline({{1, 2, 0}, {4, 6, 0}, {0, 9, 0}});
  AddLine({0, 0, 0}, {3, 0, 0});
  const double bearing = NewDirectionDegrees("229", "50", "32");
  const double math = NewDirectionDegrees("-139", "50", "32");
  EXPECT_EQ(Commands(NewDirectionTheta(bearing, kBearing)), Commands(NewDirectionTheta(math, {})));
  // Typed in the mathematical angle, θ is what it always was.
  EXPECT_EQ(NewDirectionTheta(math, {}), DegToRad(math));
}

TEST_F(StoreTest, ShownDirectionsAndTheTypedOneInAnotherConvention) {
  const TAngleTexts shown = AngleTexts(SegmentDegrees({0, 0, 0}, {1, -1, 0}, kBearing));
  EXPECT_EQ(shown.Kakudo, "135.00000000");
  EXPECT_EQ(shown.Do + " " + shown.Fun + " " + shown.Byo, "135 0 0.000000");
  const auto typed = ReexpressedTexts("-139", "50", "32", {}, kBearing);
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->Do + " " + typed->Fun + " " + typed->Byo, "229 50 32.000000");
  const auto back = ReexpressedTexts(typed->Do, typed->Fun, typed->Byo, kBearing, {});
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Do + " " + back->Fun + " " + back->Byo, "-139 50 32.000000");
  EXPECT_FALSE(ReexpressedTexts("", "x", "0", {}, kBearing));  // what does not read stays as typed
}

TEST_F(StoreTest, KeptCaptureComesBackAfterAnotherRead) {
  AddPolyline({{1, 2, 0}, {4, 6, 0}});
  RefSegment = {{1, 2, 0}, {4, 6, 0}};
  DxfHeader.Angles = {true, true, 1.0, 1};
  {
    const TKeptCapture kept;
    EXPECT_EQ(PolylineCount, 0);  // the other read starts from an empty store
    AddLine({0, 0, 0}, {0, 5, 0});
    RefSegment = {{0, 0, 0}, {0, 5, 0}};
    DxfHeader = TDxfHeader{};
  }
  EXPECT_EQ(PolylineCount, 1);
  EXPECT_EQ(LineCount, 0);
  EXPECT_EQ(Polylines[0].Vertices[1].y, 6.0);
  EXPECT_EQ(RefSegment.Second.x, 4.0);
  EXPECT_TRUE(DxfHeader.Angles.HasBase);
}

}  // namespace
}  // namespace swivex
