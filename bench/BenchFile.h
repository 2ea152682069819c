// The benchmark's input: a DXF of the shape AutoCAD's R2000 DXFOUT writes with 16 decimals, made of many LINEs
// and LWPOLYLINEs.
#pragma once

#include <string>

namespace swivex::bench {

// Writes the file unless one of that name is there already; returns its size in bytes.
long long MakeBenchFile(const std::string& path, int lineCount, int polylineCount, int verticesPerPolyline);

}  // namespace swivex::bench
