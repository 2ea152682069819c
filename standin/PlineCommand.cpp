// PLINE as a Japanese AutoCAD runs it: straight segments, arc mode (three-point arcs with 2 点目, tangent arcs to
// a bare end point, a tangent closing arc), widths and half widths, Length, Undo and Close. The polyline becomes
// one LWPOLYLINE of world points with per-vertex bulges and widths.
#include <algorithm>
#include <cmath>
#include <string>

#include "standin/HostCommands.h"

namespace swivex {

namespace {

constexpr const char* kArcsLeftOut = "** この円弧の指定方法 (角度/中心/方向/半径) はこのホストにはありません **";

void AskLineMode(THost& h) {
  h.PlineArcMode = false;
  Ask(h, THostState::PlineNext,
      h.Points.size() >= 3 ? "次の点を指定 または [円弧(A)/閉じる(C)/2 分の 1 幅(H)/長さ(L)/元に戻す(U)/線幅(W)]: "
                           : "次の点を指定 または [円弧(A)/2 分の 1 幅(H)/長さ(L)/元に戻す(U)/線幅(W)]: ");
}

void AskArcMode(THost& h) {
  h.PlineArcMode = true;
  Ask(h, THostState::PlineArc,
      h.Points.size() >= 2
          ? "円弧の端点を指定 または [角度(A)/中心(CE)/閉じる(CL)/方向(D)/2 分の 1 幅(H)/線分(L)/半径(R)/2 点目(S)/元に戻す(U)/幅(W)]: "
          : "円弧の端点を指定 または [角度(A)/中心(CE)/方向(D)/2 分の 1 幅(H)/線分(L)/半径(R)/2 点目(S)/元に戻す(U)/幅(W)]: ");
}

void AskMode(THost& h) {
  if (h.PlineArcMode) AskArcMode(h);
  else AskLineMode(h);
}

// The segment from the last point to `p` with that bulge takes the current widths; the end width then holds for
// the segments after it, as in AutoCAD.
void AddSegment(THost& h, const TPoint3D& p, double bulge) {
  h.Bulges.back() = bulge;
  h.StartWidths.back() = h.WidthStart;
  h.EndWidths.back() = h.WidthEnd;
  h.WidthStart = h.WidthEnd;
  h.Points.push_back(p);
  h.Bulges.push_back(0);
  h.StartWidths.push_back(0);
  h.EndWidths.push_back(0);
}

// The direction the next segment continues in: how the last segment arrives, else the UCS x axis.
void Heading(const THost& h, double& dx, double& dy) {
  if (h.Points.size() >= 2) {
    const std::size_t n = h.Points.size();
    ArrivalDirection(h.Points[n - 2], h.Points[n - 1], h.Bulges[n - 2], dx, dy);
  } else {
    dx = h.Ucs.XDir.x;
    dy = h.Ucs.XDir.y;
  }
  if (dx == 0 && dy == 0) dx = 1;
}

bool ReadWidth(THost& h, const std::string& typed, double fallback, double& width) {
  if (typed.empty()) {
    width = fallback;
    return true;
  }
  if (ParseNumber(typed, width) && width >= 0 && std::isfinite(width)) return true;
  Say(h, "値は 0 以上の数値である必要があります。");
  return false;
}

void TakeBackSegment(THost& h) {
  if (h.Points.size() < 2) {
    Say(h, "すべてのセグメントが既に元に戻されています。");
    return;
  }
  h.Points.pop_back();
  h.Bulges.pop_back();
  h.StartWidths.pop_back();
  h.EndWidths.pop_back();
  h.WidthStart = h.StartWidths.back();
  h.Bulges.back() = h.StartWidths.back() = h.EndWidths.back() = 0;
}

bool OptionCommon(THost& h, const std::string& typed) {
  if (IsKeyword(typed, "Width")) {
    Ask(h, THostState::PlineWidthStart, "始点の幅を指定 <" + Fixed4(h.WidthStart) + ">: ");
  } else if (IsKeyword(typed, "Halfwidth")) {
    Ask(h, THostState::PlineHalfStart, "始点の 2 分の 1 幅を指定 <" + Fixed4(h.WidthStart / 2) + ">: ");
  } else if (IsKeyword(typed, "Undo")) {
    TakeBackSegment(h);
    AskMode(h);
  } else {
    return false;
  }
  return true;
}

void LineModeInput(THost& h, const std::string& typed) {
  if (typed.empty()) return FinishPline(h, false);
  if (IsKeyword(typed, "Arc")) return AskArcMode(h);
  if (IsKeyword(typed, "Close") && h.Points.size() >= 2) {
    AddSegment(h, h.Points.front(), 0);
    h.Points.pop_back();  // the closing segment ends at the first vertex, which is there already
    h.Bulges.pop_back();
    h.StartWidths.pop_back();
    h.EndWidths.pop_back();
    return FinishPline(h, true);
  }
  if (IsKeyword(typed, "Length")) return Ask(h, THostState::PlineLength, "線分の長さを指定: ");
  if (OptionCommon(h, typed)) return;
  TPoint3D p;
  switch (ReadTypedPoint(h, typed, p)) {
    case TPointInput::Point: AddSegment(h, p, 0); return AskLineMode(h);
    case TPointInput::NoSnap: return;
    case TPointInput::Invalid: Say(h, kInvalidPoint); return;
  }
}

// A closing arc or an arc to a bare end point leaves the last point along the heading.
bool TangentArcTo(THost& h, const TPoint3D& p) {
  double dx = 0, dy = 0, bulge = 0;
  Heading(h, dx, dy);
  if (!TangentBulge(h.Points.back(), dx, dy, p, bulge)) {
    Say(h, "** この点へは接線方向の円弧を描けません **");
    return false;
  }
  AddSegment(h, p, bulge);
  return true;
}

void ArcModeInput(THost& h, const std::string& typed) {
  if (typed.empty()) return FinishPline(h, false);
  if (IsKeyword(typed, "Line")) return AskLineMode(h);
  if (IsKeyword(typed, "Second")) return Ask(h, THostState::PlineArcSecond, "円弧の 2 点目を指定: ");
  if (IsKeyword(typed, "CLose") && h.Points.size() >= 2) {
    const TPoint3D first = h.Points.front();
    if (!TangentArcTo(h, first)) return;
    h.Points.pop_back();
    h.Bulges.pop_back();
    h.StartWidths.pop_back();
    h.EndWidths.pop_back();
    return FinishPline(h, true);
  }
  if (IsKeyword(typed, "Angle") || IsKeyword(typed, "CEnter") || IsKeyword(typed, "Direction") ||
      IsKeyword(typed, "Radius")) {
    Say(h, kArcsLeftOut);
    return;
  }
  if (OptionCommon(h, typed)) return;
  TPoint3D p;
  switch (ReadTypedPoint(h, typed, p)) {
    case TPointInput::Point:
      if (TangentArcTo(h, p)) AskArcMode(h);
      return;
    case TPointInput::NoSnap: return;
    case TPointInput::Invalid: Say(h, kInvalidPoint); return;
  }
}

}  // namespace

bool InPline(const THost& h) {
  switch (h.State) {
    case THostState::PlineFirst: case THostState::PlineNext: case THostState::PlineArc:
    case THostState::PlineArcSecond: case THostState::PlineArcEnd: case THostState::PlineWidthStart:
    case THostState::PlineWidthEnd: case THostState::PlineHalfStart: case THostState::PlineHalfEnd:
    case THostState::PlineLength:
      return true;
    default:
      return false;
  }
}

void StartPline(THost& h) {
  h.Points.clear();
  h.Bulges.clear();
  h.StartWidths.clear();
  h.EndWidths.clear();
  h.WidthStart = h.WidthEnd = h.Plinewid;
  h.PlineArcMode = false;
  Ask(h, THostState::PlineFirst, "始点を指定: ");
}

void FinishPline(THost& h, bool closed) {
  if (h.Points.size() >= 2) {
    TEntity e;
    e.Kind = TEntityKind::LwPolyline;
    SetProps(e, h.Current);
    // The polyline lies in the plane of its first point across the UCS z axis, its extrusion direction, and keeps
    // its points in that OCS. The bulges so far turn counter-clockwise seen from the world z axis; they are kept
    // as seen along the normal.
    e.Normal = UcsZ(h.Ucs);
    e.Elevation = WorldToOcs(h.Points.front(), e.Normal).z;
    e.Vertices = h.Points;
    for (auto& v : e.Vertices) {
      const double off = e.Elevation - WorldToOcs(v, e.Normal).z;
      v = {v.x + off * e.Normal.x, v.y + off * e.Normal.y, v.z + off * e.Normal.z};
    }
    e.Closed = closed;
    e.Bulges = h.Bulges;
    if (e.Normal.z < 0)
      for (auto& b : e.Bulges) b = -b;
    e.StartWidths = h.StartWidths;
    e.EndWidths = h.EndWidths;
    // One width on every segment is the polyline's constant width (group 43), as AutoCAD keeps it.
    const std::size_t segments = closed ? e.Vertices.size() : e.Vertices.size() - 1;
    bool uniform = true;
    for (std::size_t i = 0; i < segments; ++i)
      uniform = uniform && e.StartWidths[i] == e.StartWidths[0] && e.EndWidths[i] == e.StartWidths[0];
    if (uniform) {
      e.ConstantWidth = e.StartWidths[0];
      std::fill(e.StartWidths.begin(), e.StartWidths.end(), 0.0);
      std::fill(e.EndWidths.begin(), e.EndWidths.end(), 0.0);
    }
    e.New = true;
    h.Entities.push_back(e);
  }
  ToIdle(h);
}

void PlineInput(THost& h, const std::string& typed) {
  Echo(h, typed);
  double v = 0;
  TPoint3D p;
  switch (h.State) {
    case THostState::PlineFirst:
      if (typed.empty()) return ToIdle(h);
      switch (ReadTypedPoint(h, typed, p)) {
        case TPointInput::Point:
          h.Points = {p};
          h.Bulges = h.StartWidths = h.EndWidths = {0};
          Say(h, "現在の線幅は " + Fixed4(h.Plinewid));
          return AskLineMode(h);
        case TPointInput::NoSnap: return;
        case TPointInput::Invalid: Say(h, kInvalidPoint); return;
      }
      return;
    case THostState::PlineNext:
      return LineModeInput(h, typed);
    case THostState::PlineArc:
      return ArcModeInput(h, typed);
    case THostState::PlineArcSecond:
      switch (ReadTypedPoint(h, typed, p)) {
        case TPointInput::Point:
          h.ArcSecond = p;
          return Ask(h, THostState::PlineArcEnd, "円弧の端点を指定: ");
        case TPointInput::NoSnap: return;
        case TPointInput::Invalid: Say(h, kInvalidPoint); return;
      }
      return;
    case THostState::PlineArcEnd:
      switch (ReadTypedPoint(h, typed, p)) {
        case TPointInput::Point: {
          double bulge = 0;
          if (!ThreePointBulge(h.Points.back(), h.ArcSecond, p, bulge)) {
            Say(h, "** 3 点が円弧になりません **");
            return AskArcMode(h);
          }
          AddSegment(h, p, bulge);
          return AskArcMode(h);
        }
        case TPointInput::NoSnap: return;
        case TPointInput::Invalid: Say(h, kInvalidPoint); return;
      }
      return;
    case THostState::PlineWidthStart:
    case THostState::PlineHalfStart: {
      const bool half = h.State == THostState::PlineHalfStart;
      if (!ReadWidth(h, typed, half ? h.WidthStart / 2 : h.WidthStart, v)) return;
      h.WidthStart = half ? 2 * v : v;
      return Ask(h, half ? THostState::PlineHalfEnd : THostState::PlineWidthEnd,
                 std::string(half ? "終点の 2 分の 1 幅を指定 <" : "終点の幅を指定 <") + Fixed4(v) + ">: ");
    }
    case THostState::PlineWidthEnd:
    case THostState::PlineHalfEnd: {
      const bool half = h.State == THostState::PlineHalfEnd;
      if (!ReadWidth(h, typed, half ? h.WidthStart / 2 : h.WidthStart, v)) return;
      h.WidthEnd = half ? 2 * v : v;
      h.Plinewid = h.WidthEnd;  // PLINEWID: the next polyline starts with this width
      return AskMode(h);
    }
    case THostState::PlineLength: {
      if (!ParseNumber(typed, v) || !std::isfinite(v)) {
        Say(h, "距離 または 点が必要です。");
        return;
      }
      double dx = 0, dy = 0;
      Heading(h, dx, dy);
      const double norm = std::hypot(dx, dy);
      const TPoint3D& last = h.Points.back();
      AddSegment(h, {last.x + dx / norm * v, last.y + dy / norm * v, last.z}, 0);
      return AskLineMode(h);
    }
    default:
      return;
  }
}

}  // namespace swivex
