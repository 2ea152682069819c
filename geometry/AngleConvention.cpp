#include "geometry/AngleConvention.h"

#include <cmath>

#include "geometry/Angles.h"

namespace swivex {

namespace {

// Half a unit of "%11.8f"'s last decimal: an angle this close below 360 shows as 360.00000000.
constexpr long double kShownHalfUnit = 0.5e-8L;

}  // namespace

TAngleFrame FrameOf(TAngleConvention convention, const TDrawingAngles& drawing) {
  switch (convention) {
    case TAngleConvention::Bearing: return {90.0L, true, true};
    case TAngleConvention::Drawing:
      if (DrawingAnglesMissing(drawing)) return {};
      return {drawing.HasBase ? 180.0L * drawing.BaseRadians / kPiExtended : 0.0L,
              drawing.HasDirection && drawing.Direction == 1, true};
    case TAngleConvention::Math: break;
  }
  return {};
}

bool DrawingAnglesMissing(const TDrawingAngles& drawing) { return !drawing.HasBase && !drawing.HasDirection; }

double ShownDegrees(double mathDegrees, const TAngleFrame& frame) {
  if (!frame.Wrapped && frame.BaseDegrees == 0.0L && !frame.Clockwise) return mathDegrees;
  const long double math = mathDegrees;
  long double shown = frame.Clockwise ? frame.BaseDegrees - math : math - frame.BaseDegrees;
  if (!frame.Wrapped) return static_cast<double>(shown);
  shown = std::fmod(shown, 360.0L);
  if (shown < 0.0L) shown += 360.0L;
  if (shown >= 360.0L - kShownHalfUnit) shown = 0.0L;
  return static_cast<double>(shown);
}

long double MathDegrees(double shownDegrees, const TAngleFrame& frame) {
  const long double shown = shownDegrees;
  return frame.Clockwise ? frame.BaseDegrees - shown : frame.BaseDegrees + shown;
}

}  // namespace swivex
