#include "geometry/AngleConvention.h"

#include <gtest/gtest.h>

#include "geometry/Angles.h"

namespace swivex {
namespace {

const TAngleFrame kBearing = FrameOf(TAngleConvention::Bearing, {});

TEST(AngleConvention, MathematicalAngleUnchangedBothWays) {
  const TAngleFrame math = FrameOf(TAngleConvention::Math, {true, true, 1.0, 1});  // the drawing plays no part
  for (double a : {-45.0, 0.0, 229.84222222222222, 269.99999999999})
    EXPECT_EQ(ShownDegrees(a, math), a);
  EXPECT_EQ(MathDegrees(-139.84222222222222, math), static_cast<long double>(-139.84222222222222));
}

TEST(AngleConvention, BearingFromNorthClockwise) {
  // The worked example: 方向角 229°50′32″ is 数学角 −139°50′32″.
  EXPECT_NEAR(static_cast<double>(MathDegrees(DmsToDeg(229, 50, 32), kBearing)), DmsToDeg(-139, 50, 32), 1e-12);
  EXPECT_NEAR(ShownDegrees(DmsToDeg(-139, 50, 32), kBearing), DmsToDeg(229, 50, 32), 1e-12);
  EXPECT_EQ(ShownDegrees(90, kBearing), 0.0);     // north
  EXPECT_EQ(ShownDegrees(0, kBearing), 90.0);     // east
  EXPECT_EQ(ShownDegrees(91, kBearing), 359.0);   // shown from 0 up to 360
  EXPECT_EQ(ShownDegrees(-90, kBearing), 180.0);  // south, from the fourth quadrant's negative angle
  EXPECT_EQ(ShownDegrees(270, kBearing), 180.0);
  // Just west of north shows as 0, not as 360.00000000.
  EXPECT_EQ(ShownDegrees(90.000000000001, kBearing), 0.0);
  // Typed values may be negative or beyond 360.
  EXPECT_EQ(MathDegrees(-90, kBearing), 180.0L);
  EXPECT_EQ(MathDegrees(450, kBearing), -360.0L);
}

TEST(AngleConvention, DrawingSettingsFromTheHeader) {
  const double north = 1.5707963267948966;
  const TAngleFrame northCcw = FrameOf(TAngleConvention::Drawing, {true, true, north, 0});
  EXPECT_NEAR(ShownDegrees(100, northCcw), 10.0, 1e-12);
  EXPECT_NEAR(ShownDegrees(80, northCcw), 350.0, 1e-12);
  // ANGBASE north and ANGDIR clockwise: the surveyors' convention.
  const TAngleFrame northCw = FrameOf(TAngleConvention::Drawing, {true, true, north, 1});
  EXPECT_NEAR(ShownDegrees(-139.84222222222222, northCw), ShownDegrees(-139.84222222222222, kBearing), 1e-12);
  // ANGDIR alone: from east, clockwise.
  const TAngleFrame clockwise = FrameOf(TAngleConvention::Drawing, {false, true, 0, 1});
  EXPECT_EQ(ShownDegrees(30, clockwise), 330.0);
  EXPECT_EQ(MathDegrees(330, clockwise), -330.0L);
  // Neither: the mathematical angle, not wrapped.
  const TAngleFrame neither = FrameOf(TAngleConvention::Drawing, {});
  EXPECT_EQ(ShownDegrees(-45, neither), -45.0);
}

}  // namespace
}  // namespace swivex
