// The stand-in host's drawing: the objects it shows, the current UCS, and its JSON form. Portable C++; texts are
// UTF-8 here and turned into the ANSI code page only where the host hands them to the outside (DXF, clipboard).
#pragma once

#include <string>
#include <vector>

#include "geometry/Point3D.h"
#include "text/JsonText.h"

namespace swivex {

enum class TEntityKind { Line, LwPolyline, Circle, Arc, Text, MText };

// One drawing object. Which fields count depends on Kind:
//   Line: Start, End. LwPolyline: Vertices (x, y; z of all is Elevation), Closed. Circle: Center, Radius.
//   Arc: Center, Radius, StartAngle, EndAngle (degrees). Text: Start (insertion point), Height, Text.
//   MText: Start, Height, Width, Text.
struct TEntity {
  TEntityKind Kind = TEntityKind::Line;
  std::string Layer = "0";
  TPoint3D Start;
  TPoint3D End;
  std::vector<TPoint3D> Vertices;
  double Elevation = 0.0;
  bool Closed = false;
  TPoint3D Center;
  double Radius = 0.0;
  double StartAngle = 0.0;
  double EndAngle = 0.0;
  double Height = 2.5;
  double Width = 0.0;
  std::string Text;
  bool New = false;  // drawn by a typed LINE or PLINE, shown in another colour
};

struct TUcs {
  TPoint3D Origin{0, 0, 0};
  TPoint3D XDir{1, 0, 0};
  TPoint3D YDir{0, 1, 0};
};

// A point typed in the UCS, in world coordinates: origin + x·XDir + y·YDir + z·(XDir × YDir).
TPoint3D UcsToWorld(const TUcs& ucs, const TPoint3D& p);

const char* EntityKindName(TEntityKind kind);  // "LINE", "LWPOLYLINE", ...

// JSON helpers: a number as the shortest text that reads back to the same double, a UTF-8 string quoted.
std::string JsonPoint(const TPoint3D& p);
std::string EntityToJson(const TEntity& e, int index);

}  // namespace swivex
