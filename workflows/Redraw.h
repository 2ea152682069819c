// The redraw's computations, free of Win32: the new direction from the typed degrees, minutes and seconds, the
// turning of points, and the commands that draw the turned copies in AutoCAD in the order they go out: PLINE with
// its arcs, widths and closing, LINE, and (RedrawSettings.h) the system variables that give each copy the
// original's properties and the UNDO group that makes one 作成 one undo step. Command texts are bytes in the
// system code page.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/EntityStore.h"
#include "geometry/Point3D.h"
#include "workflows/Capture.h"
#include "workflows/RedrawSettings.h"

namespace swivex {

// DmsToDeg of the three new-angle texts, read in the order degrees, minutes, seconds (full-width digits, signs,
// full stop and blanks read as ASCII); raises TConvertError on the first that does not convert. With the minutes
// and seconds empty or zero, the degrees may be a decimal angle, taken as it is.
double NewDirectionDegrees(std::string_view degrees, std::string_view minutes, std::string_view seconds);

// p turned about pivot by tau: same distance from the pivot, direction DirAngle + tau (z is 0).
TPoint3D TurnAbout(const TPoint3D& p, const TPoint3D& pivot, long double tau);

// The point halfway along the arc from a to b whose bulge is given (+ counter-clockwise).
TPoint3D ArcMidpoint(const TPoint3D& a, const TPoint3D& b, double bulge);

// "\x03PLINE _non O _non P1 …" through the copy's vertices as TurnedVertices places them (the typed points;
// bulges times bulgeSense, the sense of the polyline's plane in the typing UCS). Arcs go as "_A _S _non M _non E "
// (M the arc's midpoint; further arcs stay in arc mode, "_L " goes back to straight segments), widths as "_W s e "
// where they change, a straight closing segment as "_C ", a closing arc tangent to the segment before it as "_CL "
// in arc mode (both end PLINE themselves); any other ending is "\r". The first point carries the plane's height
// as x,y,z unless it is 0. Fewer than two points give "\x03\r". plineWidth is the width PLINE starts with
// (PLINEWID; NaN when not known, and the first segment types its widths); AutoCAD keeps the last typed end width
// for the next PLINE, and so does plineWidth on return.
std::string PolylineCommand(const TPolylineRec& polyline, const std::vector<TPoint3D>& points, int bulgeSense,
                            double& plineWidth);

// "\x03_.3DPOLY _non x,y,z … \r" (or "_C " for a closed one of three points or more): a 3D polyline keeps every
// vertex's height. Fewer than two points give "\x03\r".
std::string Polyline3DCommand(const std::vector<TPoint3D>& points, bool closed);

// "\x03LINE _non Q1 _non Q2 \r" through two typed points; each keeps its z (as x,y,z) when it is not 0.
std::string LineCommand(const TPoint3D& start, const TPoint3D& end);

// Every command of one redraw to theta (radians, in the UCS of the capture), handed to send one by one: each
// polyline in store order, then the lines turned together about the start of line 0; before an object's command,
// in the same send, the system variables that give the copy the original's layer and properties
// (RedrawSettings.h); at the end the user's values back, and the UNDO group around it all when there is more than
// one send. readPrompt reads AutoCAD's prompt (the user's values are then those current at 作成); without it they
// are the export header's. readLength is asked anew for each polyline of two or more vertices; when it, a send or
// readPrompt throws, what was sent stays sent, the variables set are given back, the UNDO group is still ended,
// and the error goes on. The copies turn in CapturedUcs and are typed in typingUcs (none: CapturedUcs). Returns
// how many polylines were left out because their plane is not the typing UCS's x-y plane.
std::int32_t SendRedrawCommands(long double theta, const std::function<double()>& readLength,
                                const std::function<void(const std::string&)>& send,
                                const std::function<std::string()>& readPrompt = {},
                                const std::optional<TUcs>& typingUcs = std::nullopt);

}  // namespace swivex
