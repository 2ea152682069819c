// The redraw's computations, free of Win32: the new direction from the typed degrees, minutes and seconds, the
// turning of points, and the commands that draw the turned copies in AutoCAD in the order they go out: PLINE with
// its arcs, widths and closing, LINE, and (RedrawSettings.h) the system variables that give each copy the
// original's properties and the UNDO group that makes one 作成 one undo step. Command texts are bytes in the
// system code page.
#pragma once

#include <functional>
#include <string>
#include <string_view>

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

// "\x03PLINE _non O _non P1 …": the first segment's chord takes direction theta and the given length (an arc
// keeps its bulge), the further vertices turn about vertex 0. Arcs go as "_A _S _non M _non E " (M the arc's
// midpoint; further arcs stay in arc mode, "_L " goes back to straight segments), widths as "_W s e " where they
// change, a straight closing segment as "_C ", a closing arc tangent to the segment before it as "_CL " in arc
// mode (both end PLINE themselves); any other ending is "\r". The elevation rides on the first point
// as x,y,z when the UCS level allows. Fewer than two vertices give "\x03\r". plineWidth is the width PLINE
// starts with (PLINEWID; NaN when not known, and the first segment types its widths); AutoCAD keeps the last
// typed end width for the next PLINE, and so does plineWidth on return.
std::string PolylineCommand(const TPolylineRec& polyline, long double theta, double length, const TUcsLevel& level,
                            double& plineWidth);
std::string PolylineCommand(const TPolylineRec& polyline, long double theta, double length,
                            const TUcsLevel& level = {});

// "\x03LINE _non Q1 _non Q2 \r" for a line turned about pivot by tau; each end keeps its z (as x,y,z) when the UCS
// level allows and it is not 0.
std::string LineCommand(const TLineRec& line, const TPoint3D& pivot, long double tau, const TUcsLevel& level = {});

// Every command of one redraw to theta (radians), handed to send one by one: each polyline in store order, then
// the lines turned together about the start of line 0; before an object's command, in the same send, the system
// variables that give the copy the original's layer and properties (RedrawSettings.h); at the end the user's
// values back, and the UNDO group around it all when there is more than one send. readPrompt reads AutoCAD's
// prompt (the user's values are then those current at 作成); without it they are the export header's.
// readLength is asked anew for each polyline of two or more vertices; when it, a send or readPrompt throws, what
// was sent stays sent, the variables set are given back, the UNDO group is still ended, and the error goes on.
// Heights follow CapturedUcsLevel.
void SendRedrawCommands(long double theta, const std::function<double()>& readLength,
                        const std::function<void(const std::string&)>& send,
                        const std::function<std::string()>& readPrompt = {});

}  // namespace swivex
