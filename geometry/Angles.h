// Angle arithmetic: the direction of a vector, and decimal degrees to and from degrees-minutes-seconds.
// Intermediates are long double (80-bit extended on both g++ targets) and rounded to double when stored.
#pragma once

#include <cstdint>

namespace swivex {

// π to 64 significant bits, and the guard that makes a quotient just short of a whole minute count as one.
inline constexpr long double kPiExtended = 3.141592653589793238462643383279502884L;
inline constexpr long double kDmsEpsilon = 1e-6L;

struct TDms {
  std::int32_t Degrees = 0;
  std::int32_t Minutes = 0;
  double Seconds = 0.0;
};

// Direction of (dx, dy) in radians, counter-clockwise from the x axis, in [−π/2, 3π/2]: straight down is 3π/2,
// the fourth quadrant comes out negative, (0, 0) gives 0.
double DirAngle(double dx, double dy);

// Decimal degrees to degrees, minutes, seconds. For a negative angle the parts are those of its magnitude, with
// the sign on the degrees when they are non-zero and otherwise on the minutes and the seconds, so that DmsToDeg
// gives the angle back. An angle whose total minutes do not fit in 32 bits, or NaN, gives 0 degrees, 0 minutes
// and all of it (with its sign) in the seconds.
TDms DegToDms(double angle);

// |degrees| + minutes/60 + seconds/3600, negated when degrees < 0; minutes and seconds keep their own signs.
double DmsToDeg(std::int32_t degrees, std::int32_t minutes, double seconds);

// 180·a/π rounded to double, and π·d/180 left in extended precision (cos and sin take it unrounded); the
// product first, then the quotient.
double RadToDeg(double radians);
long double DegToRad(double degrees);

}  // namespace swivex
