// Fills the entity store by hand, as a DXF read would, and empties it again after each test.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "dxf/EntityStore.h"
#include "workflows/Capture.h"

namespace swivex::testing {

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }

  static void Clear() {
    Lines.clear();
    Polylines.clear();
    LineCount = 0;
    PolylineCount = 0;
    DxfHeader = TDxfHeader{};
    CapturedUcs = kWorldUcs;
  }
  static void AddLine(TPoint3D start, TPoint3D end) {
    Lines.resize(static_cast<std::size_t>(LineCount) + 1);
    Lines[static_cast<std::size_t>(LineCount)].StartPt = start;
    Lines[static_cast<std::size_t>(LineCount)].EndPt = end;
    ++LineCount;
  }
  static void AddPolyline(std::initializer_list<TPoint3D> vertices) {
    Polylines.resize(static_cast<std::size_t>(PolylineCount) + 1);
    TPolylineRec& p = Polylines[static_cast<std::size_t>(PolylineCount)];
    for (const TPoint3D& v : vertices) AppendVertex(p, v);
    ++PolylineCount;
  }
  static void AddVertex(std::size_t polyline, TPoint3D vertex, double bulge = 0, double startWidth = 0,
                        double endWidth = 0) {
    AppendVertex(Polylines[polyline], vertex, bulge, startWidth, endWidth);
  }
};

}  // namespace swivex::testing
