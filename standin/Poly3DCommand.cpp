// 3DPOLY as a Japanese AutoCAD runs it: straight segments through points that each keep their own z, Undo, and
// Close from the third point on. The polyline becomes one POLYLINE of world points with flag 8 (3D).
#include "standin/HostCommands.h"

namespace swivex {

namespace {

void AskNext(THost& h) {
  Ask(h, THostState::Poly3DNext, h.Points.size() >= 3 ? "線分の端点を指定 または [閉じる(C)/元に戻す(U)]: "
                                                       : "線分の端点を指定 または [元に戻す(U)]: ");
}

}  // namespace

bool In3DPoly(const THost& h) { return h.State == THostState::Poly3DFirst || h.State == THostState::Poly3DNext; }

void Start3DPoly(THost& h) {
  h.Points.clear();
  Ask(h, THostState::Poly3DFirst, "ポリラインの始点を指定: ");
}

void Finish3DPoly(THost& h, bool closed) {
  if (h.Points.size() >= 2) {
    TEntity e;
    e.Kind = TEntityKind::Polyline;
    SetProps(e, h.Current);
    e.Flags = kPolyline3DFlag | (closed ? 1 : 0);
    e.Closed = closed;
    e.Vertices = h.Points;
    e.VertexFlags.assign(h.Points.size(), 32);  // a 3D polyline's vertices
    e.New = true;
    h.Entities.push_back(e);
  }
  ToIdle(h);
}

void Poly3DInput(THost& h, const std::string& typed) {
  Echo(h, typed);
  if (h.State == THostState::Poly3DNext) {
    if (typed.empty()) return Finish3DPoly(h, false);
    if (IsKeyword(typed, "Close") && h.Points.size() >= 3) return Finish3DPoly(h, true);
    if (IsKeyword(typed, "Undo")) {
      if (h.Points.size() > 1) h.Points.pop_back();
      else Say(h, "すべてのセグメントが既に元に戻されています。");
      return AskNext(h);
    }
  } else if (typed.empty()) {
    return ToIdle(h);
  }
  TPoint3D p;
  switch (ReadTypedPoint(h, typed, p)) {
    case TPointInput::Point:
      h.Points.push_back(p);
      return AskNext(h);
    case TPointInput::NoSnap: return;
    case TPointInput::Invalid: Say(h, kInvalidPoint); return;
  }
}

}  // namespace swivex
