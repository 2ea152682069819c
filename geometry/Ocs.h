// Object coordinate systems: a planar object (a 2D polyline) keeps its points in a system of its own whose z axis
// is its extrusion direction and whose x and y axes follow from it by DXF's arbitrary-axis algorithm.
#pragma once

#include "geometry/Point3D.h"

namespace swivex {

double Dot(const TPoint3D& a, const TPoint3D& b);
TPoint3D Cross(const TPoint3D& a, const TPoint3D& b);
// a made unit length; a vector of length zero (or not finite) stays as it is.
TPoint3D Unit(const TPoint3D& a);

// The OCS axes of an extrusion direction (taken unit length); (0,0,1) gives the world's axes exactly.
struct TOcsAxes {
  TPoint3D X, Y, Z;
};
TOcsAxes OcsAxes(const TPoint3D& normal);

// An OCS point in world coordinates: x·X + y·Y + z·Z.
TPoint3D OcsToWorld(const TPoint3D& p, const TOcsAxes& axes);

// How a plane with this normal lies to a z axis: +1 parallel, -1 opposite, 0 neither (tilted, or a normal of
// length zero). Both are taken unit length; a few units in the last place of slack.
int PlaneSense(const TPoint3D& normal, const TPoint3D& zAxis);

}  // namespace swivex
