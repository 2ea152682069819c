// The benchmark's input: a DXF of the shape AutoCAD's R2000 DXFOUT writes with 16 decimals, made of many LINEs
// and LWPOLYLINEs.
#pragma once

#include <string>

namespace swivex::bench {

// Writes the file unless one of that name is there already; returns its size in bytes.
long long MakeBenchFile(const std::string& path, int lineCount, int polylineCount, int verticesPerPolyline);

// A small file of many two-vertex LWPOLYLINEs, as compact as an export gets (no handles or subclass markers,
// coordinates with one decimal): about 73 bytes per polyline, the most records a megabyte can hold. Same rule:
// written unless there; returns its size.
long long MakeTwoVertexPolylineFile(const std::string& path, int polylineCount);

}  // namespace swivex::bench
