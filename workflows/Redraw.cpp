#include "workflows/Redraw.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/Angles.h"
#include "text/FieldText.h"
#include "text/NumText.h"
#include "workflows/CopyPlace.h"
#include "workflows/RedrawSettings.h"

namespace swivex {

namespace {

// Decimals of an arc's second point: it fixes only the arc's bulge, which six decimals would spoil for short
// chords, so it goes out finer than the vertices.
constexpr int kArcPointDecimals = 10;
// Angles (radians) within which a closing arc counts as tangent to the segment before it.
constexpr double kTangentTolerance = 1e-9;

// A point as typed: "_non x,y " (x,y,z when z is given); _non keeps a running object snap off the point.
void AppendPoint(std::string& command, const TPoint3D& p, const std::string& z = {}) {
  command += "_non ";
  command += FormatPoint(p.x, p.y);
  if (!z.empty()) {
    command += ',';
    command += z;
  }
  command += ' ';
}

// The point AutoCAD gets from the typed text, so an arc's second point fits the end points it really receives.
TPoint3D AsTyped(const TPoint3D& p) {
  return {StrToFloat(FormatLength(p.x)), StrToFloat(FormatLength(p.y)), 0.0};
}

// The typed z of a point in the typing UCS, or empty when it is 0 there.
std::string TypedZ(double z) {
  const std::string text = FormatLength(z);
  return text == "0.000000" ? std::string{} : text;
}

double ChordAngle(const TPoint3D& a, const TPoint3D& b) { return static_cast<double>(DirAngle(b.x - a.x, b.y - a.y)); }

bool SamePoint(const TPoint3D& a, const TPoint3D& b) { return a.x == b.x && a.y == b.y; }

// Whether the arc from b to c (bulge bc) leaves b along the direction the segment from a to b (bulge ab) arrives.
bool ContinuesTangent(const TPoint3D& a, const TPoint3D& b, double ab, const TPoint3D& c, double bc) {
  if (SamePoint(a, b) || SamePoint(b, c)) return false;
  const double arrive = ChordAngle(a, b) + 2.0 * std::atan(ab);
  const double leave = ChordAngle(b, c) - 2.0 * std::atan(bc);
  const double diff = std::remainder(arrive - leave, 2.0 * std::acos(-1.0));
  return std::fabs(diff) <= kTangentTolerance;
}

std::string FormatWidthPair(double start, double end) {
  return "_W " + FormatLength(start) + " " + FormatLength(end) + " ";
}

}  // namespace

double NewDirectionDegrees(std::string_view degrees, std::string_view minutes, std::string_view seconds) {
  // An angle in the degrees field alone, whole or decimal, with the minutes and seconds empty or zero, is taken
  // as it is; otherwise the degrees must be whole, and their error is the one reported.
  const bool degreesAlone = FieldIsEmptyOrZero(minutes) && FieldIsEmptyOrZero(seconds);
  std::int32_t d = 0;
  try {
    d = FieldToInt(degrees);
  } catch (const TConvertError&) {
    if (!degreesAlone) throw;
    try {
      return FieldToFloat(degrees);
    } catch (const TConvertError&) {
    }
    throw;
  }
  if (degreesAlone) return DmsToDeg(d, 0, 0.0);
  const std::int32_t m = FieldToInt(minutes);
  const double s = FieldToFloat(seconds);
  return DmsToDeg(d, m, s);
}

TPoint3D TurnAbout(const TPoint3D& p, const TPoint3D& pivot, long double tau) {
  const double dx = p.x - pivot.x;
  const double dy = p.y - pivot.y;
  const long double ldx = dx, ldy = dy;
  const double r = static_cast<double>(std::sqrt(ldx * ldx + ldy * ldy));
  const double a = static_cast<double>(DirAngle(dx, dy) + tau);
  TPoint3D out;
  out.x = static_cast<double>(pivot.x + r * std::cos(static_cast<long double>(a)));
  out.y = static_cast<double>(pivot.y + r * std::sin(static_cast<long double>(a)));
  return out;
}

TPoint3D ArcMidpoint(const TPoint3D& a, const TPoint3D& b, double bulge) {
  // The sagitta is bulge × half the chord; a counter-clockwise arc bulges to the right of the chord.
  const long double dx = static_cast<long double>(b.x) - a.x;
  const long double dy = static_cast<long double>(b.y) - a.y;
  const long double half = static_cast<long double>(bulge) / 2;
  TPoint3D m;
  m.x = static_cast<double>((static_cast<long double>(a.x) + b.x) / 2 + half * dy);
  m.y = static_cast<double>((static_cast<long double>(a.y) + b.y) / 2 - half * dx);
  return m;
}

std::string PolylineCommand(const TPolylineRec& polyline, const std::vector<TPoint3D>& points, int bulgeSense,
                            double& plineWidth) {
  const auto n = static_cast<std::int32_t>(points.size());
  if (n < 2) return "\x03\r";
  // A value the file did not give reads as 0; a width below 0, which PLINE would refuse and ask again for, as 0.
  const auto valueAt = [](const std::vector<double>& values, std::int32_t i) {
    const auto at = static_cast<std::size_t>(i);
    return at < values.size() ? values[at] : 0.0;
  };
  const auto width = [](double w) { return w > 0.0 ? w : 0.0; };
  const auto widths = [&](std::int32_t i) {
    if (polyline.ConstantWidth > 0.0) return std::pair{polyline.ConstantWidth, polyline.ConstantWidth};
    return std::pair{width(valueAt(polyline.StartWidths, i)), width(valueAt(polyline.EndWidths, i))};
  };

  const auto at = [&](std::int32_t i) -> const TPoint3D& { return points[static_cast<std::size_t>(i % n)]; };
  // The vertices as AutoCAD receives them, which the arcs' second points must fit; only a polyline with arcs needs them.
  std::vector<TPoint3D> typed;
  if (std::any_of(polyline.Bulges.begin(), polyline.Bulges.end(), [](double b) { return b != 0.0; }))
    for (const TPoint3D& p : points) typed.push_back(AsTyped(p));
  const auto typedAt = [&](std::int32_t i) -> const TPoint3D& { return typed[static_cast<std::size_t>(i % n)]; };
  // An arc whose typed ends meet, or whose midpoint cannot leave the chord at the typed precision, is no arc
  // AutoCAD can draw through three points: it goes straight.
  const auto bulge = [&](std::int32_t i) {
    const double b = bulgeSense * valueAt(polyline.Bulges, i);
    if (b == 0.0) return 0.0;
    const TPoint3D& a = typedAt(i);
    const TPoint3D& e = typedAt(i + 1);
    const double chord = std::hypot(e.x - a.x, e.y - a.y);
    return std::isfinite(b) && std::fabs(b) * chord / 2 >= 1e-9 ? b : 0.0;
  };

  std::string command = "\x03PLINE ";
  AppendPoint(command, points[0], TypedZ(points[0].z));
  std::pair<double, double> current{plineWidth, plineWidth};
  const auto setWidths = [&](std::int32_t i) {
    const auto wanted = widths(i);
    if (wanted != current) {
      command += FormatWidthPair(wanted.first, wanted.second);
      plineWidth = wanted.second;
    }
    current = {wanted.second, wanted.second};  // later segments start where this one ends
  };
  // Consecutive arcs stay in PLINE's arc mode; a straight segment and the straight close go back to line mode.
  bool arcMode = false;
  const auto toMode = [&](bool arc) {
    if (arc != arcMode) command += arc ? "_A " : "_L ";
    arcMode = arc;
  };
  const auto appendArc = [&](std::int32_t i) {
    toMode(true);
    const TPoint3D mid = ArcMidpoint(typedAt(i), typedAt(i + 1), bulge(i));
    command += "_S _non " + FormatFixed(mid.x, 8, kArcPointDecimals) + "," + FormatFixed(mid.y, 8, kArcPointDecimals) + " ";
    AppendPoint(command, at(i + 1));
  };

  for (std::int32_t i = 0; i + 1 < n; ++i) {
    setWidths(i);
    if (bulge(i) == 0.0) {
      toMode(false);
      AppendPoint(command, at(i + 1));
    } else {
      appendArc(i);
    }
  }
  if ((polyline.Flags & kPolylineClosed) == 0) return command + "\r";

  // The closing segment: PLINE's own close keeps the closed flag; a closing arc PLINE cannot give (not tangent)
  // is drawn to the first vertex, and that copy is open.
  const std::int32_t last = n - 1;
  setWidths(last);
  if (bulge(last) == 0.0) {
    toMode(false);
    return command + "_C ";
  }
  if (ContinuesTangent(at(last - 1), at(last), bulge(last - 1), at(0), bulge(last))) {
    toMode(true);
    return command + "_CL ";
  }
  appendArc(last);
  return command + "\r";
}

std::string Polyline3DCommand(const std::vector<TPoint3D>& points, bool closed) {
  if (points.size() < 2) return "\x03\r";
  std::string command = "\x03_.3DPOLY ";
  for (const TPoint3D& p : points) AppendPoint(command, p, FormatLength(p.z));
  // 3DPOLY offers Close from the third point on.
  return command + (closed && points.size() >= 3 ? "_C " : "\r");
}

std::string LineCommand(const TPoint3D& start, const TPoint3D& end) {
  std::string command = "\x03LINE ";
  AppendPoint(command, start, TypedZ(start.z));
  AppendPoint(command, end, TypedZ(end.z));
  command += '\r';
  return command;
}

namespace {

// A 3D polyline's copy is a 3DPOLY, any other a PLINE.
std::string CopyCommand(const TPolylineRec& polyline, const std::vector<TPoint3D>& points, int sense,
                        double& plineWidth) {
  if ((polyline.Flags & kPolyline3D) != 0) return Polyline3DCommand(points, (polyline.Flags & kPolylineClosed) != 0);
  return PolylineCommand(polyline, points, sense, plineWidth);
}

}  // namespace

std::int32_t SendRedrawCommands(long double theta, const std::function<double()>& readLength,
                                const std::function<void(const std::string&)>& send,
                                const std::function<std::string()>& readPrompt, const std::optional<TUcs>& typingUcs) {
  const TCopyPlace place = CopyPlaceFor(CapturedUcs, typingUcs);
  // A polyline whose plane is not the typing UCS's is left out: no command, no settings.
  std::vector<int> planeSense;
  std::int32_t leftOut = 0;
  for (std::int32_t i = 0; i < PolylineCount; ++i) {
    planeSense.push_back(PlaneSenseInTyping(Polylines[static_cast<std::size_t>(i)], place));
    leftOut += planeSense.back() == 0;
  }
  TUndoGroup group(send);
  TRedrawSettings settings(group, readPrompt, DxfHeader);  // given back before the group ends
  double plineWidth = 0.0;
  bool plineWidthKnown = false;
  for (std::int32_t i = 0; i < PolylineCount; ++i) {
    const TPolylineRec& polyline = Polylines[static_cast<std::size_t>(i)];
    const int sense = planeSense[static_cast<std::size_t>(i)];
    if (sense == 0) continue;
    const bool drawn = polyline.VertexCount >= 2;
    const double length = drawn ? readLength() : 0.0;
    if (drawn) {
      settings.Want(WantedSettings(polyline.Layer.View(), polyline.Props));
      if (!plineWidthKnown) plineWidth = settings.PlineWidth();
      plineWidthKnown = true;
    }
    settings.SendWith(CopyCommand(polyline, TurnedVertices(polyline, theta, length, place), sense, plineWidth));
    if (drawn) settings.PlineWidthLeft(plineWidth);
  }
  if (LineCount > 0) {
    const TLineRec& first = Lines[0];
    const TPoint3D pivot = WorldToUcs(first.StartPt, place.Turning);
    const TPoint3D end = WorldToUcs(first.EndPt, place.Turning);
    const long double tau = theta - DirAngle(end.x - pivot.x, end.y - pivot.y);
    for (std::int32_t i = 0; i < LineCount; ++i) {
      const TLineRec& line = Lines[static_cast<std::size_t>(i)];
      settings.Want(WantedSettings(line.Layer.View(), line.Props));
      settings.SendWith(LineCommand(TurnedLinePoint(line.StartPt, pivot, tau, place),
                                    TurnedLinePoint(line.EndPt, pivot, tau, place)));
    }
  }
  settings.GiveBack();
  group.End();
  return leftOut;
}

}  // namespace swivex
