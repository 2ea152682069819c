// The stand-in host's drawing: the objects it shows, the current UCS, and its JSON form. Portable C++; texts are
// UTF-8 here and turned into the ANSI code page only where the host hands them to the outside (DXF, clipboard).
#pragma once

#include <string>
#include <vector>

#include "geometry/Point3D.h"
#include "text/JsonText.h"

namespace swivex {

enum class TEntityKind { Line, LwPolyline, Circle, Arc, Text, MText, Polyline };

// Lineweights as group 370 holds them: hundredths of a millimetre, or one of these.
inline constexpr int kLineweightByLayer = -1;
inline constexpr int kLineweightByBlock = -2;
inline constexpr int kLineweightDefault = -3;
// Colour indices with a meaning of their own (group 62).
inline constexpr int kColorByBlock = 0;
inline constexpr int kColorByLayer = 256;

// The properties every object has, and the drawing's current ones that a new object gets.
struct TProps {
  std::string Layer = "0";
  int Color = kColorByLayer;
  std::string Linetype = "ByLayer";  // a linetype name, "ByLayer" or "ByBlock"
  int Lineweight = kLineweightByLayer;
  double LinetypeScale = 1.0;
  double Thickness = 0.0;
};

// One drawing object. Which fields count depends on Kind:
//   Line: Start, End. LwPolyline: Vertices (world points of its plane), Closed, ConstantWidth and per vertex
//   Bulges, StartWidths, EndWidths (of the segment that starts there; empty or sized like Vertices); Normal, its
//   extrusion direction: the file holds its points in the object coordinate system (OCS) of that normal, with
//   Elevation the plane's OCS z, and its bulges turn about it. Polyline (a POLYLINE with VERTEX entities): Flags
//   (70: 1 closed, 4 spline-fit, 8 3D, 16 polygon mesh, 64 polyface mesh), Vertices (world), VertexFlags (8 spline
//   fit, 16 spline frame, 32 3D vertex), Bulges; a 2D one has Normal and Elevation as an LwPolyline.
//   Circle: Center, Radius. Arc: Center, Radius, StartAngle, EndAngle (degrees).
//   Text: Start (insertion point), Height, Text. MText: Start, Height, Width, Text.
struct TEntity {
  TEntityKind Kind = TEntityKind::Line;
  std::string Layer = "0";
  int Color = kColorByLayer;
  std::string Linetype = "ByLayer";
  int Lineweight = kLineweightByLayer;
  double LinetypeScale = 1.0;
  double Thickness = 0.0;
  TPoint3D Start;
  TPoint3D End;
  std::vector<TPoint3D> Vertices;
  std::vector<double> Bulges, StartWidths, EndWidths;
  double ConstantWidth = 0.0;
  double Elevation = 0.0;
  bool Closed = false;
  TPoint3D Normal{0, 0, 1};
  int Flags = 0;
  std::vector<int> VertexFlags;
  TPoint3D Center;
  double Radius = 0.0;
  double StartAngle = 0.0;
  double EndAngle = 0.0;
  double Height = 2.5;
  double Width = 0.0;
  std::string Text;
  bool New = false;  // drawn by a typed LINE or PLINE, shown in another colour
};

// A layer of the drawing (the LAYER table's record).
struct TLayer {
  std::string Name;
  int Color = 7;
  std::string Linetype = "Continuous";
  bool On = true;  // an object on a layer that is off is not shown, picked or taken as "Last"
};

struct TUcs {
  TPoint3D Origin{0, 0, 0};
  TPoint3D XDir{1, 0, 0};
  TPoint3D YDir{0, 1, 0};
};

// A point typed in the UCS, in world coordinates: origin + x·XDir + y·YDir + z·(XDir × YDir).
TPoint3D UcsToWorld(const TUcs& ucs, const TPoint3D& p);

const char* EntityKindName(TEntityKind kind);  // "LINE", "LWPOLYLINE", ...

void SetProps(TEntity& e, const TProps& p);
// Bulge, start and end width of vertex i of a polyline (0 where the vectors do not reach).
double BulgeAt(const TEntity& e, std::size_t i);
double StartWidthAt(const TEntity& e, std::size_t i);
double EndWidthAt(const TEntity& e, std::size_t i);

// Names compared as AutoCAD compares layer and linetype names: ASCII letters without regard to case.
bool SameName(const std::string& a, const std::string& b);
// A linetype name as the drawing keeps it: "ByLayer" and "ByBlock" spelt so, any other name as given.
std::string LinetypeName(const std::string& typed);

// The bulge (tan of a quarter of the included angle, positive counter-clockwise) of the arc from s through m to
// e, in the x-y plane; false when the three points do not make an arc (two of them equal, or all on one line).
bool ThreePointBulge(const TPoint3D& s, const TPoint3D& m, const TPoint3D& e, double& bulge);
// The bulge of the arc from s to e that leaves s in the direction (dx, dy); false when e is s or lies straight
// behind.
bool TangentBulge(const TPoint3D& s, double dx, double dy, const TPoint3D& e, double& bulge);
// The direction in which a segment from a to b with that bulge arrives at b (not normalised).
void ArrivalDirection(const TPoint3D& a, const TPoint3D& b, double bulge, double& dx, double& dy);

// The object coordinate system of an extrusion direction (DXF's arbitrary-axis algorithm) and a world point in it.
void OcsAxesOf(const TPoint3D& normal, TPoint3D& x, TPoint3D& y, TPoint3D& z);
TPoint3D WorldToOcs(const TPoint3D& p, const TPoint3D& normal);
// The z axis of a UCS, XDir × YDir.
TPoint3D UcsZ(const TUcs& ucs);

inline constexpr int kPolyline3DFlag = 8;
inline constexpr int kVertexFrameFlag = 16;

// A polyline's path with its arc segments sampled (about every 5 degrees), in world x, y; a POLYLINE's spline frame
// is not part of it.
std::vector<TPoint3D> PolylinePath(const TEntity& e);

// JSON helpers: a number as the shortest text that reads back to the same double, a UTF-8 string quoted.
std::string JsonPoint(const TPoint3D& p);
std::string EntityToJson(const TEntity& e, int index);

}  // namespace swivex
