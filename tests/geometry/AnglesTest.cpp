#include "geometry/Angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace swivex {
namespace {

constexpr double kPi = 3.141592653589793;

TEST(DirAngle, AxesQuadrantsAndZero) {
  EXPECT_EQ(DirAngle(1, 0), 0.0);
  EXPECT_EQ(DirAngle(0, 1), 1.5707963267948966);
  EXPECT_EQ(DirAngle(-1, 0), kPi);
  EXPECT_EQ(DirAngle(0, -1), 4.71238898038469);  // straight down is 3π/2, never −π/2
  EXPECT_EQ(DirAngle(0, 0), 0.0);
  EXPECT_EQ(DirAngle(-0.0, 5), 1.5707963267948966);
  EXPECT_EQ(DirAngle(-0.0, -0.0), 0.0);
  EXPECT_DOUBLE_EQ(DirAngle(1, -1), -kPi / 4);  // fourth quadrant stays negative
  EXPECT_DOUBLE_EQ(DirAngle(-1, -1), 5 * kPi / 4);
  EXPECT_DOUBLE_EQ(DirAngle(-1, 1), 3 * kPi / 4);
  EXPECT_DOUBLE_EQ(DirAngle(3, 4), std::atan2(4.0, 3.0));
}

TEST(DirAngle, StaysWithinMinusHalfPiToThreeHalvesPi) {
  for (int k = 0; k < 3600; ++k) {
    const double t = k * kPi / 1800;
    const double a = DirAngle(std::cos(t), std::sin(t));
    ASSERT_GE(a, -kPi / 2) << k;
    ASSERT_LE(a, 3 * kPi / 2) << k;
    ASSERT_NEAR(std::cos(a), std::cos(t), 1e-12) << k;
    ASSERT_NEAR(std::sin(a), std::sin(t), 1e-12) << k;
  }
}

TEST(DmsToDeg, SignComesFromTheDegreesAlone) {
  EXPECT_EQ(DmsToDeg(10, 30, 0), 10.5);
  EXPECT_EQ(DmsToDeg(-10, 30, 0), -10.5);
  EXPECT_EQ(DmsToDeg(0, -30, 0), -0.5);
  EXPECT_EQ(DmsToDeg(-10, -30, 0), -9.5);
  EXPECT_EQ(DmsToDeg(10, 90, 0), 11.5);
  EXPECT_EQ(DmsToDeg(10, 0, 3600), 11.0);
  EXPECT_EQ(DmsToDeg(0, 0, 0), 0.0);
  EXPECT_NEAR(DmsToDeg(53, 7, 48.368475), 53.130102354166667, 1e-12);
}

void ExpectDms(double angle, int d, int m, double s, double tolerance = 1e-9) {
  const TDms dms = DegToDms(angle);
  EXPECT_EQ(dms.Degrees, d) << angle;
  EXPECT_EQ(dms.Minutes, m) << angle;
  EXPECT_NEAR(dms.Seconds, s, tolerance) << angle;
}

TEST(DegToDms, WorkedValues) {
  const TDms exact = DegToDms(10.5);
  EXPECT_EQ(exact.Degrees, 10);
  EXPECT_EQ(exact.Minutes, 30);
  EXPECT_EQ(exact.Seconds, 0.0);  // not 29 minutes and 59.999… seconds
  ExpectDms(45.1234, 45, 7, 24.24);
  ExpectDms(10.49999999, 10, 30, -0.000036);
  ExpectDms(359.9999999, 359, 59, 59.99964);
  ExpectDms(0, 0, 0, 0.0);
  ExpectDms(53.13010235415598, 53, 7, 48.368475, 5e-7);
  ExpectDms(90, 90, 0, 0.0);
  ExpectDms(180, 180, 0, 0.0);
  ExpectDms(269.99999999, 270, 0, -0.000036);  // within the guard below a whole degree
}

TEST(DegToDms, NegativeAnglesCarryTheSignWhereDmsToDegReadsIt) {
  ExpectDms(-10.5, -10, 30, 0.0);
  ExpectDms(-45, -45, 0, 0.0);
  ExpectDms(-0.5, 0, -30, 0.0);
  ExpectDms(-0.49999999, 0, -30, 0.000036);
  ExpectDms(-10.49999999, -10, 30, -0.000036);
  ExpectDms(-0.0001, 0, 0, -0.36);
  ExpectDms(-45.1234, -45, 7, 24.24);
}

TEST(DegToDms, RoundTripsThroughDmsToDegAcrossTheRange) {
  double worst = 0;
  const auto check = [&](double a) {
    const TDms dms = DegToDms(a);
    const double back = DmsToDeg(dms.Degrees, dms.Minutes, dms.Seconds);
    worst = std::max(worst, std::fabs(back - a));
    ASSERT_NEAR(back, a, 1e-9) << a;
    ASSERT_GE(dms.Minutes * (a < 0 && dms.Degrees == 0 ? -1 : 1), 0) << a;
    ASSERT_LE(std::abs(dms.Minutes), 59) << a;
  };
  for (int k = -3600000; k <= 3600000; k += 7) check(k / 10000.0);
  // Just below and above every whole minute and degree.
  for (int minute = -360 * 60; minute <= 360 * 60; ++minute) {
    const double a = minute / 60.0;
    for (double off : {-1e-7, -1e-8, -1e-9, -1e-11, -1e-13, 1e-13, 1e-9, 1e-7}) check(a + off);
  }
  EXPECT_LT(worst, 1e-9);
}

TEST(DegToDms, BeyondThirtyTwoBitMinutesAllGoesIntoTheSeconds) {
  ExpectDms(35791394.0, 35791394, 0, 0.0);  // the largest whole degree whose minutes still fit
  ExpectDms(1e12, 0, 0, 3.6e15);
  ExpectDms(-1e12, 0, 0, -3.6e15);
  EXPECT_EQ(DmsToDeg(0, 0, DegToDms(-1e12).Seconds), -1e12);
  const TDms nan = DegToDms(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(nan.Degrees, 0);
  EXPECT_EQ(nan.Minutes, 0);
  EXPECT_TRUE(std::isnan(nan.Seconds));
  const TDms inf = DegToDms(-std::numeric_limits<double>::infinity());
  EXPECT_EQ(inf.Degrees, 0);
  EXPECT_EQ(inf.Minutes, 0);
  EXPECT_EQ(inf.Seconds, -std::numeric_limits<double>::infinity());
}

TEST(RadToDeg, ProductFirstInExtendedPrecision) {
  EXPECT_EQ(RadToDeg(DirAngle(-1, 0)), 180.0);
  EXPECT_EQ(RadToDeg(DirAngle(0, 1)), 90.0);
  EXPECT_EQ(RadToDeg(DirAngle(1, 1)), 45.0);
  EXPECT_EQ(static_cast<double>(DegToRad(180.0)), kPi);
  EXPECT_EQ(RadToDeg(0.0), 0.0);
}


// Values worked out independently in exact rational arithmetic, rounding to 64 and 53 bits where the steps say.
// Each case was picked because all-double arithmetic (or π as a double) gives the neighbouring double instead.
TEST(ExtendedPrecision, LongDoubleKeeps64BitsAtRunTime) {
  // A start-up that left the x87 unit at 53-bit precision would round every "extended" step to double.
  volatile long double one = 1.0L;
  volatile long double tiny = 0x1p-63L;
  EXPECT_NE(one + tiny, one);
  EXPECT_EQ(std::numeric_limits<long double>::digits, 64);
  // π to 64 significant bits: 3.14159265358979323851…, rounded up from the true value.
  EXPECT_EQ(kPiExtended, 0xC.90FDAA22168C235p-2L);
}

TEST(ExtendedPrecision, DmsToDegSumsBeforeRounding) {
  EXPECT_EQ(DmsToDeg(353, -2, -28.04), 352.9588777777778);  // double sums: 352.95887777777773
  EXPECT_EQ(DmsToDeg(31, 28, -34.0081), 31.457219972222223);
  EXPECT_EQ(DmsToDeg(-337, -6, 40.50936), -336.9112526);
  EXPECT_EQ(DmsToDeg(298, -47, -37.691248), 297.2061968755556);
  EXPECT_EQ(DmsToDeg(-56, -44, 29.177599), -55.27477155527778);
  EXPECT_EQ(DmsToDeg(158, -9, 10.7), 157.85297222222223);
}

TEST(ExtendedPrecision, RadToDegProductThenQuotient) {
  EXPECT_EQ(RadToDeg(2.34301045035334), 134.24461016029267);  // double: 134.2446101602927
  EXPECT_EQ(RadToDeg(4.350793448980298), 249.28210215973812);
  EXPECT_EQ(RadToDeg(1.3547970938835738), 77.62415557611793);
  EXPECT_EQ(RadToDeg(4.356488736878079), 249.60841811939292);
  EXPECT_EQ(RadToDeg(2.506831050208463), 143.6308391292927);
}

TEST(ExtendedPrecision, DirAngleQuotientArctangentAndPi) {
  // dx < 0: π added in extended (π as a double gives the neighbour).
  EXPECT_EQ(DirAngle(-2.984, 2.762), 2.394810856094365);
  EXPECT_EQ(DirAngle(-2.274, 4.577), 2.0319063143613962);
  EXPECT_EQ(DirAngle(-0.03, -9.825), 4.709335554759666);
  EXPECT_EQ(DirAngle(-3.432, -2.939), 3.849762830881357);
  EXPECT_EQ(DirAngle(-2.718, -4.544), 4.173329847222081);
  // dx > 0: the quotient in extended (a double quotient gives the neighbour).
  EXPECT_EQ(DirAngle(7.885, 5.485), 0.6077834166962416);
  EXPECT_EQ(DirAngle(6.863, 2.0), 0.28356468981130534);
  EXPECT_EQ(DirAngle(4.032, 5.146), 0.9061845235454384);
  EXPECT_EQ(DirAngle(5.068, 5.853), 0.8571546159778404);
}

}  // namespace
}  // namespace swivex
