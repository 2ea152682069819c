// The redraw's computations, free of Win32: the new direction from the typed degrees, minutes and seconds, the
// turning of points, and the commands that draw the turned copies in AutoCAD in the order they go out: PLINE with
// its arcs, widths and closing, LINE, CHPROP for the properties a new object would not get, and the UNDO group
// that makes one 作成 one undo step. Command texts are bytes in the system code page.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "dxf/EntityStore.h"
#include "geometry/Point3D.h"
#include "workflows/Capture.h"

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
// starts with (PLINEWID, 0 in a fresh drawing); AutoCAD keeps the last typed end width for the next PLINE, and so
// does plineWidth on return.
std::string PolylineCommand(const TPolylineRec& polyline, long double theta, double length, const TUcsLevel& level,
                            double& plineWidth);
std::string PolylineCommand(const TPolylineRec& polyline, long double theta, double length,
                            const TUcsLevel& level = {});

// "\x03LINE _non Q1 _non Q2 \r" for a line turned about pivot by tau; each end keeps its z (as x,y,z) when the UCS
// level allows and it is not 0.
std::string LineCommand(const TLineRec& line, const TPoint3D& pivot, long double tau, const TUcsLevel& level = {});

// Whether a layer or linetype name can be typed at a prompt: not empty, no blank, control character, double
// quote or backslash (a DXF \U+ escape), whole Shift-JIS characters, and shorter than the store's capacity (a
// name that fills it may have been cut).
bool IsTypableName(std::string_view name, std::size_t capacity);

// "\x03_.CHPROP _L  _LA … _C … _LT … _LW … _S … _T … \r" with only what differs from what a new object gets
// (the header's current values); empty when nothing differs. A name that cannot be typed is left out.
std::string PropertiesCommand(std::string_view layer, const TEntityProps& props, const TDxfHeader& header);

inline constexpr std::string_view kUndoBeginCommand = "\x03_.UNDO _BE ";
inline constexpr std::string_view kUndoEndCommand = "\x03_.UNDO _E ";

// Every command of one redraw to theta (radians), handed to send one by one: each polyline in store order with
// its CHPROP (in the same send), then the lines turned together about the start of line 0, each with its CHPROP;
// the UNDO group around them when there is more than one command. readLength is asked anew for each polyline of two or more
// vertices; when it or a send throws, what was sent stays sent, the UNDO group is still ended, and the error
// goes on. Heights follow CapturedUcsLevel, properties DxfHeader.
void SendRedrawCommands(long double theta, const std::function<double()>& readLength,
                        const std::function<void(const std::string&)>& send);

}  // namespace swivex
