// Where the turned copies go. The store keeps world coordinates; a copy turns about the z axis of the UCS the
// capture measured in (CapturedUcs), and its points are typed in the UCS current at 作成, which the user may have
// changed since: the copy lands where the original, turned in the capture's UCS, belongs in world terms.
#pragma once

#include <optional>
#include <vector>

#include "dxf/EntityStore.h"
#include "geometry/Point3D.h"
#include "workflows/Capture.h"

namespace swivex {

// A world point in a UCS and back: x, y and z along XDir, YDir and XDir × YDir. x and y are ProjectToUcs's.
TPoint3D WorldToUcs(const TPoint3D& p, const TUcs& ucs);
TPoint3D UcsToWorld(const TPoint3D& p, const TUcs& ucs);
TPoint3D UcsZAxis(const TUcs& ucs);

// The UCS the copies turn in and the one their points are typed in; SameUcs when they are one (no round trip
// through world coordinates, so the typed digits are those of a plain turn).
struct TCopyPlace {
  TUcs Turning = kWorldUcs;
  TUcs Typing = kWorldUcs;
  bool SameUcs = true;
};
// typing: the UCS current at 作成; none: the capture's.
TCopyPlace CopyPlaceFor(const TUcs& turning, const std::optional<TUcs>& typing);

// A point in the turning UCS as typed in the typing UCS.
TPoint3D ToTyping(const TPoint3D& turned, const TCopyPlace& place);

// How a 2D polyline's plane lies to the typing UCS's x-y plane: +1 parallel, -1 opposite (its bulges change
// sign), 0 outside it (a tilted plane: no PLINE in this UCS can draw it). A 3D polyline has no plane: +1.
int PlaneSenseInTyping(const TPolylineRec& polyline, const TCopyPlace& place);

// The copy's vertices as typed (x, y, z): vertex 0 in place, vertex 1 at `length` along theta (radians in the
// turning UCS) from it, the further vertices turned about it by as much as the first segment turns; each keeps
// its height along the turning UCS's z axis. Empty for fewer than two vertices.
std::vector<TPoint3D> TurnedVertices(const TPolylineRec& polyline, long double theta, double length,
                                     const TCopyPlace& place);

// A line end point turned about pivot (in the turning UCS) by tau, as typed; its height stays.
TPoint3D TurnedLinePoint(const TPoint3D& world, const TPoint3D& pivot, long double tau, const TCopyPlace& place);

}  // namespace swivex
