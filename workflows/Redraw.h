// The redraw's computations, free of Win32: the new direction from the typed degrees, minutes and seconds, the
// turning of points, and the PLINE and LINE command strings in the order they go to AutoCAD.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "dxf/EntityStore.h"
#include "geometry/Point3D.h"

namespace swivex {

// DmsToDeg of the three new-angle texts, read in the order degrees, minutes, seconds; raises TConvertError on the
// first that does not convert.
double NewDirectionDegrees(std::string_view degrees, std::string_view minutes, std::string_view seconds);

// p turned about pivot by tau: same distance from the pivot, direction DirAngle + tau.
TPoint3D TurnAbout(const TPoint3D& p, const TPoint3D& pivot, long double tau);

// "\x03PLINE O P1 P… \r": the first segment takes direction theta and the given length, the further vertices
// turn about vertex 0. A polyline of fewer than two vertices gives "\x03\r" (and its length is not used).
std::string PolylineCommand(const TPolylineRec& polyline, long double theta, double length);

// "\x03LINE Q1 Q2 \r" for a line turned about pivot by tau.
std::string LineCommand(const TLineRec& line, const TPoint3D& pivot, long double tau);

// Every command of one redraw to theta (radians), handed to send one by one: all polylines in store order, then
// all lines turned together about the start of line 0. readLength is asked anew for each polyline of two or more
// vertices; when it throws, what was sent stays sent and nothing more goes out.
void SendRedrawCommands(long double theta, const std::function<double()>& readLength,
                        const std::function<void(const std::string&)>& send);

}  // namespace swivex
