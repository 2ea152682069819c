// The entity store: what one DXF read leaves behind. Six growable arrays of fixed-layout records and five
// counters, module-level for the whole run. Entries 0 to count − 1 are the last read's records in file order;
// slots beyond are spare and may hold records of an earlier read. Arrays grow in steps of 100 slots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

struct TLineRec {
  TPoint3D StartPt;
  TPoint3D EndPt;
  TShortString<kLayerCapacity> Layer;
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

struct TPolylineRec {
  TPoint3D Vertices[kMaxVertices];
  std::int32_t VertexFlags[kMaxVertices] = {};
  std::int32_t VertexCount = 0;
  std::int32_t Flags = 0;
  TShortString<kLayerCapacity> Layer;
};

struct TStyleRec {
  TShortString<kStyleNameCapacity> Name;
  double Height = 0.0;
};

// Module state of the DXF-reading subsystem. Only the reader writes the arrays' sizes and the counters; the
// capture rewrites the x and y of line points and polyline vertices in place.
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

// Releases the six arrays at program end, in the order Styles, Polylines, Circles, Arcs, Texts, Lines.
void ReleaseEntityStore();

}  // namespace swivex
