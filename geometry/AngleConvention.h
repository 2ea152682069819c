// The conventions a direction is shown and typed in: the mathematical angle (from the x axis, counter-clockwise;
// the measured directions' own), the surveyors' 方向角 (from north, that is the y axis, clockwise), and the
// drawing's own setting ($ANGBASE from the x axis, clockwise when $ANGDIR is 1), as AutoCAD shows angles in it.
#pragma once

namespace swivex {

enum class TAngleConvention { Math = 0, Bearing = 1, Drawing = 2 };

// What the export's header says of the drawing's angles: $ANGBASE in radians (as the ANGBASE variable holds it)
// and $ANGDIR.
struct TDrawingAngles {
  bool HasBase = false;
  bool HasDirection = false;
  double BaseRadians = 0.0;
  int Direction = 0;  // 1: clockwise
};

// Where 0° lies (degrees, counter-clockwise from the x axis) and which way angles grow. Wrapped: shown from 0 up
// to (not including) 360; otherwise as the mathematical angle comes.
struct TAngleFrame {
  long double BaseDegrees = 0.0L;
  bool Clockwise = false;
  bool Wrapped = false;
};

// The frame of a convention. The drawing's with neither $ANGBASE nor $ANGDIR in the header is the mathematical
// one; either alone takes the other's default (0, counter-clockwise).
TAngleFrame FrameOf(TAngleConvention convention, const TDrawingAngles& drawing);

// Whether the drawing convention falls back to the mathematical angle for this header.
bool DrawingAnglesMissing(const TDrawingAngles& drawing);

// A mathematical angle in degrees as the frame shows it, and a typed angle in the frame as the mathematical angle
// (typed angles may be negative or beyond 360). The mathematical frame gives the angle unchanged both ways. A
// wrapped angle that would show as 360.00000000 shows as 0.
double ShownDegrees(double mathDegrees, const TAngleFrame& frame);
long double MathDegrees(double shownDegrees, const TAngleFrame& frame);

}  // namespace swivex
