#include "workflows/Redraw.h"

#include <cmath>

#include "geometry/Angles.h"
#include "text/NumText.h"

namespace swivex {

namespace {

void AppendPoint(std::string& command, const TPoint3D& p) {
  command += FormatPoint(p.x, p.y);
  command += ' ';
}

}  // namespace

double NewDirectionDegrees(std::string_view degrees, std::string_view minutes, std::string_view seconds) {
  const std::int32_t d = StrToInt(degrees);
  const std::int32_t m = StrToInt(minutes);
  const double s = StrToFloat(seconds);
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

std::string PolylineCommand(const TPolylineRec& polyline, long double theta, double length) {
  std::string command = "\x03";
  if (polyline.VertexCount >= 2) {
    const TPoint3D& o = polyline.Vertices[0];
    const TPoint3D& v1 = polyline.Vertices[1];
    const long double tau = theta - DirAngle(v1.x - o.x, v1.y - o.y);
    TPoint3D p1;
    p1.x = static_cast<double>(o.x + length * std::cos(theta));
    p1.y = static_cast<double>(o.y + length * std::sin(theta));
    command += "PLINE ";
    AppendPoint(command, o);
    AppendPoint(command, p1);
    for (std::int32_t i = 2; i < polyline.VertexCount; ++i) AppendPoint(command, TurnAbout(polyline.Vertices[i], o, tau));
  }
  command += '\r';
  return command;
}

std::string LineCommand(const TLineRec& line, const TPoint3D& pivot, long double tau) {
  std::string command = "\x03LINE ";
  AppendPoint(command, TurnAbout(line.StartPt, pivot, tau));
  AppendPoint(command, TurnAbout(line.EndPt, pivot, tau));
  command += '\r';
  return command;
}

void SendRedrawCommands(long double theta, const std::function<double()>& readLength,
                        const std::function<void(const std::string&)>& send) {
  for (std::int32_t i = 0; i < PolylineCount; ++i) {
    const TPolylineRec& polyline = Polylines[static_cast<std::size_t>(i)];
    const double length = polyline.VertexCount >= 2 ? readLength() : 0.0;
    send(PolylineCommand(polyline, theta, length));
  }
  if (LineCount > 0) {
    const TLineRec& first = Lines[0];
    const TPoint3D pivot = first.StartPt;
    const long double tau = theta - DirAngle(first.EndPt.x - pivot.x, first.EndPt.y - pivot.y);
    for (std::int32_t i = 0; i < LineCount; ++i) send(LineCommand(Lines[static_cast<std::size_t>(i)], pivot, tau));
  }
}

}  // namespace swivex
