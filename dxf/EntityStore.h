// The entity store: what one DXF read leaves behind. Six growable arrays of records and five counters, and the
// current-object settings of the file's HEADER section, module-level for the whole run. Entries 0 to count − 1
// are the last read's records in file order; slots beyond are spare and may hold records of an earlier read.
// Arrays grow in steps of 100 slots. A polyline keeps only the vertices it has, at most kMaxVertices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/AngleConvention.h"
#include "geometry/Point3D.h"

namespace swivex {

// A string of fixed capacity in bytes of the system code page; a longer value keeps its first Capacity bytes
// (the cut may fall inside a two-byte character).
template <std::size_t Capacity>
struct TShortString {
  std::uint8_t Length = 0;
  char Bytes[Capacity] = {};

  std::string_view View() const { return {Bytes, Length}; }
  std::string Str() const { return std::string(View()); }
  void Assign(std::string_view value) {
    Length = static_cast<std::uint8_t>(value.size() < Capacity ? value.size() : Capacity);
    for (std::size_t i = 0; i < Length; ++i) Bytes[i] = value[i];
  }
  void Clear() { Length = 0; }
  bool operator==(std::string_view other) const { return View() == other; }
};

inline constexpr std::size_t kLayerCapacity = 60;
inline constexpr std::size_t kStyleNameCapacity = 40;
inline constexpr std::size_t kTextCapacity = 255;
inline constexpr std::int32_t kMaxVertices = 1000;
inline constexpr std::size_t kSlotStep = 100;

inline constexpr std::size_t kLinetypeCapacity = 60;
inline constexpr std::int32_t kColorByLayer = 256;
inline constexpr std::int32_t kColorByBlock = 0;

// The properties of a line or polyline that its copy must keep besides its layer. The defaults are what the
// file means when it gives no group: BYLAYER colour, linetype and lineweight, scale 1, no thickness.
struct TEntityProps {
  std::int32_t Color = kColorByLayer;          // 62: 1..255, 256 BYLAYER, 0 BYBLOCK
  TShortString<kLinetypeCapacity> Linetype;    // 6: empty when not given (BYLAYER)
  std::int32_t Lineweight = -1;                // 370: hundredths of a mm; -1 BYLAYER, -2 BYBLOCK, -3 default
  double LinetypeScale = 1.0;                  // 48
  double Thickness = 0.0;                      // 39
};

struct TLineRec {
  TPoint3D StartPt;
  TPoint3D EndPt;
  TShortString<kLayerCapacity> Layer;
  TEntityProps Props;
};

struct TTextRec {
  TPoint3D InsertPt;
  TPoint3D AlignPt;
  TShortString<kTextCapacity> Text;
  std::int32_t HJust = 0;
  std::int32_t VJust = 0;
  double Height = 0.0;
};

struct TArcRec {
  TPoint3D Center;
  double Radius = 0.0;
  double StartAngle = 0.0;  // degrees, as the file gives them
  double EndAngle = 0.0;
  TShortString<kLayerCapacity> Layer;
};

struct TCircleRec {
  TPoint3D Center;
  double Radius = 0.0;
  TShortString<kLayerCapacity> Layer;
};

// One POLYLINE with its VERTEX entities, or one LWPOLYLINE. The per-vertex vectors all hold VertexCount
// entries; a value the file does not give is 0 (a POLYLINE's widths default to its header's 40 and 41).
struct TPolylineRec {
  std::vector<TPoint3D> Vertices;          // x 10, y 20, z 30 (a VERTEX's; 0 for an LWPOLYLINE); in the object's
                                           // coordinate system (OCS) but for a 3D polyline's, which are world
  std::vector<std::int32_t> VertexFlags;   // 70 of each VERTEX; 0 for an LWPOLYLINE
  std::vector<double> Bulges;              // 42: tan of a quarter of the segment's arc angle, + counter-clockwise
  std::vector<double> StartWidths;         // 40
  std::vector<double> EndWidths;           // 41
  std::int32_t VertexCount = 0;
  std::int32_t Flags = 0;                  // 70 of the POLYLINE header or the LWPOLYLINE; flag 1 closed
  TShortString<kLayerCapacity> Layer;
  double ConstantWidth = 0.0;              // 43 of an LWPOLYLINE
  double Elevation = 0.0;                  // 38 of an LWPOLYLINE, 30 of a POLYLINE header
  TEntityProps Props;                      // of the LWPOLYLINE or the POLYLINE header
  TPoint3D Normal{0.0, 0.0, 1.0};          // 210, 220, 230: the z axis of the OCS; bulges turn about it
};

inline constexpr std::int32_t kPolylineClosed = 1;
inline constexpr std::int32_t kPolyline3D = 8;            // a 3D polyline: world vertices, no arcs
inline constexpr std::int32_t kPolygonMesh = 16;          // POLYLINE flags of the meshes, which draw no path
inline constexpr std::int32_t kPolyfaceMesh = 64;
inline constexpr std::int32_t kVertexSplineFrame = 16;    // a VERTEX of the spline frame, which is not drawn

// Adds a vertex with its per-vertex values, keeping the vectors and VertexCount in step. The caller keeps to
// kMaxVertices (the reader fails a read that would pass it).
inline void AppendVertex(TPolylineRec& rec, const TPoint3D& vertex, double bulge = 0.0, double startWidth = 0.0,
                         double endWidth = 0.0, std::int32_t vertexFlags = 0) {
  rec.Vertices.push_back(vertex);
  rec.VertexFlags.push_back(vertexFlags);
  rec.Bulges.push_back(bulge);
  rec.StartWidths.push_back(startWidth);
  rec.EndWidths.push_back(endWidth);
  ++rec.VertexCount;
}

struct TStyleRec {
  TShortString<kStyleNameCapacity> Name;
  double Height = 0.0;
};

// Module state of the DXF-reading subsystem. Only the reader writes the arrays' sizes and fills them; the capture
// then leaves in place what the polylines draw, in world coordinates (meshes out of PolylineCount, spline frames
// out of their polylines).
extern std::vector<TLineRec> Lines;
extern std::vector<TTextRec> Texts;
extern std::vector<TArcRec> Arcs;
extern std::vector<TCircleRec> Circles;
extern std::vector<TPolylineRec> Polylines;
extern std::int32_t LineCount;
extern std::int32_t TextCount;
extern std::int32_t ArcCount;
extern std::int32_t CircleCount;
extern std::int32_t PolylineCount;
extern std::vector<TStyleRec> Styles;

inline constexpr std::size_t kHeaderStringCapacity = 255;

// What a new object gets in the drawing the file came from: the HEADER section's current layer, colour,
// linetype, lineweight, linetype scale, thickness, polyline width and elevation, and the UCS it was written in. Reset at the start of
// every read; a variable the file does not give, or gives in a form that does not convert, keeps its default.
struct TDxfHeader {
  TShortString<kHeaderStringCapacity> CLayer;  // $CLAYER 8
  bool HasCLayer = false;
  std::int32_t CeColor = kColorByLayer;             // $CECOLOR 62
  TShortString<kLinetypeCapacity> CeLtype;          // $CELTYPE 6, "ByLayer" when given so
  std::int32_t CeLweight = -1;                      // $CELWEIGHT 370
  double CeLtScale = 1.0;                           // $CELTSCALE 40
  double Thickness = 0.0;                           // $THICKNESS 40
  double PlineWid = 0.0;                            // $PLINEWID 40: the width a PLINE starts with
  double Elevation = 0.0;                           // $ELEVATION 40: the z a point typed as x,y gets
  bool HasUcsOrg = false, HasUcsXDir = false, HasUcsYDir = false;  // true only when 10, 20 and 30 converted
  TPoint3D UcsOrg, UcsXDir, UcsYDir;                // $UCSORG, $UCSXDIR, $UCSYDIR
  TDrawingAngles Angles;                            // $ANGBASE 50 (radians), $ANGDIR 70
};

extern TDxfHeader DxfHeader;

// Releases the six arrays at program end, in the order Styles, Polylines, Circles, Arcs, Texts, Lines.
void ReleaseEntityStore();

}  // namespace swivex
