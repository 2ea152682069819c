#include "geometry/Angles.h"

#include <cmath>

namespace swivex {

namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kThreeHalfPi = 4.71238898038469;

// The steps for an angle ≥ 0: total seconds, total minutes (ε guarded), then degrees and minutes.
TDms SplitNonNegative(double angle) {
  const double t = static_cast<double>(static_cast<long double>(angle) * 3600.0L);
  const long double totalMinutes = static_cast<long double>(t) / 60.0L + kDmsEpsilon;
  TDms dms;
  // Whole minutes are 32-bit. An angle too large for them (beyond about 35.8 million degrees), or no number at
  // all, keeps everything in the seconds: no undefined conversion, and DmsToDeg still gives the angle back.
  if (!(totalMinutes < 2147483648.0L)) {
    dms.Seconds = t;
    return dms;
  }
  const auto m = static_cast<std::int32_t>(std::trunc(totalMinutes));
  dms.Seconds = static_cast<double>(static_cast<long double>(t) - 60.0L * m);
  dms.Degrees = static_cast<std::int32_t>(std::trunc(static_cast<long double>(m) / 60.0L + kDmsEpsilon));
  dms.Minutes = m - 60 * dms.Degrees;
  return dms;
}

}  // namespace

double DirAngle(double dx, double dy) {
  if (std::fabs(dx) > 0.0) {
    double a = static_cast<double>(std::atan(static_cast<long double>(dy) / static_cast<long double>(dx)));
    if (dx < 0.0) a = static_cast<double>(static_cast<long double>(a) + kPiExtended);
    return a;
  }
  if (std::fabs(dy) > 0.0) return dy < 0.0 ? kThreeHalfPi : kHalfPi;
  return 0.0;
}

TDms DegToDms(double angle) {
  if (!(angle < 0.0)) return SplitNonNegative(angle);
  TDms dms = SplitNonNegative(-angle);
  if (dms.Degrees != 0) {
    dms.Degrees = -dms.Degrees;
  } else {
    dms.Minutes = -dms.Minutes;
    dms.Seconds = -dms.Seconds;
  }
  return dms;
}

double DmsToDeg(std::int32_t degrees, std::int32_t minutes, double seconds) {
  const long double whole = degrees < 0 ? -static_cast<long double>(degrees) : static_cast<long double>(degrees);
  double v = static_cast<double>(whole + static_cast<long double>(minutes) / 60.0L +
                                 static_cast<long double>(seconds) / 3600.0L);
  if (degrees < 0) v = -v;
  return v;
}

double RadToDeg(double radians) { return static_cast<double>(180.0L * radians / kPiExtended); }

long double DegToRad(double degrees) { return kPiExtended * degrees / 180.0L; }

}  // namespace swivex
