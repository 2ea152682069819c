#include "workflows/CopyPlace.h"

#include <cmath>

#include "geometry/Angles.h"
#include "geometry/Ocs.h"
#include "workflows/Redraw.h"

namespace swivex {

TPoint3D UcsZAxis(const TUcs& ucs) { return Unit(Cross(ucs.XDir, ucs.YDir)); }

TPoint3D WorldToUcs(const TPoint3D& p, const TUcs& ucs) {
  TPoint3D out = ProjectToUcs(p, ucs);
  const TPoint3D d{p.x - ucs.Origin.x, p.y - ucs.Origin.y, p.z - ucs.Origin.z};
  out.z = Dot(d, UcsZAxis(ucs));
  return out;
}

TPoint3D UcsToWorld(const TPoint3D& p, const TUcs& ucs) {
  const TPoint3D z = UcsZAxis(ucs);
  const auto along = [&](double TPoint3D::*c) {
    return static_cast<double>(ucs.Origin.*c + static_cast<long double>(p.x) * (ucs.XDir.*c) +
                               static_cast<long double>(p.y) * (ucs.YDir.*c) + static_cast<long double>(p.z) * (z.*c));
  };
  return {along(&TPoint3D::x), along(&TPoint3D::y), along(&TPoint3D::z)};
}

TCopyPlace CopyPlaceFor(const TUcs& turning, const std::optional<TUcs>& typing) {
  const auto same = [](const TPoint3D& a, const TPoint3D& b) { return a.x == b.x && a.y == b.y && a.z == b.z; };
  TCopyPlace place{turning, typing.value_or(turning), true};
  place.SameUcs = same(place.Typing.Origin, turning.Origin) && same(place.Typing.XDir, turning.XDir) &&
                  same(place.Typing.YDir, turning.YDir);
  return place;
}

TPoint3D ToTyping(const TPoint3D& turned, const TCopyPlace& place) {
  return place.SameUcs ? turned : WorldToUcs(UcsToWorld(turned, place.Turning), place.Typing);
}

int PlaneSenseInTyping(const TPolylineRec& polyline, const TCopyPlace& place) {
  if ((polyline.Flags & kPolyline3D) != 0) return 1;
  // Turning about the capture's z axis keeps the plane only when the plane lies across that axis.
  if (PlaneSense(polyline.Normal, UcsZAxis(place.Turning)) == 0) return 0;
  return PlaneSense(polyline.Normal, UcsZAxis(place.Typing));
}

std::vector<TPoint3D> TurnedVertices(const TPolylineRec& polyline, long double theta, double length,
                                     const TCopyPlace& place) {
  const std::int32_t n = polyline.VertexCount;
  if (n < 2) return {};
  const auto inTurning = [&](std::int32_t i) { return WorldToUcs(polyline.Vertices[static_cast<std::size_t>(i)], place.Turning); };
  const TPoint3D o = inTurning(0);
  const TPoint3D v1 = inTurning(1);
  const long double tau = theta - DirAngle(v1.x - o.x, v1.y - o.y);
  std::vector<TPoint3D> points(static_cast<std::size_t>(n));
  points[0] = o;
  points[1] = {static_cast<double>(o.x + length * std::cos(theta)), static_cast<double>(o.y + length * std::sin(theta)),
               v1.z};
  for (std::int32_t i = 2; i < n; ++i) {
    const TPoint3D v = inTurning(i);
    TPoint3D turned = TurnAbout(v, o, tau);
    turned.z = v.z;
    points[static_cast<std::size_t>(i)] = turned;
  }
  for (TPoint3D& p : points) p = ToTyping(p, place);
  return points;
}

TPoint3D TurnedLinePoint(const TPoint3D& world, const TPoint3D& pivot, long double tau, const TCopyPlace& place) {
  const TPoint3D p = WorldToUcs(world, place.Turning);
  TPoint3D turned = TurnAbout(p, pivot, tau);
  turned.z = p.z;
  return ToTyping(turned, place);
}

}  // namespace swivex
