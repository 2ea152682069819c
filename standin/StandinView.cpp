#include "standin/StandinView.h"

#include "standin/StandinText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace swivex {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPickTolerance = 6.0;  // pixels

struct TView {
  double Scale = 1, MinX = 0, MinY = 0;
  int Left = 0, Bottom = 0;
  POINT Map(double x, double y) const {
    return {static_cast<LONG>(std::lround(Left + (x - MinX) * Scale)),
            static_cast<LONG>(std::lround(Bottom - (y - MinY) * Scale))};
  }
};

// Points that describe an object on screen: the polyline through them (arcs and circles sampled).
std::vector<POINT> Outline(const TView& v, const TEntity& e) {
  std::vector<POINT> pts;
  switch (e.Kind) {
    case TEntityKind::Line:
      pts = {v.Map(e.Start.x, e.Start.y), v.Map(e.End.x, e.End.y)};
      break;
    case TEntityKind::LwPolyline:
    case TEntityKind::Polyline:
      for (const auto& p : PolylinePath(e)) pts.push_back(v.Map(p.x, p.y));
      break;
    case TEntityKind::Circle:
    case TEntityKind::Arc: {
      double a0 = 0, a1 = 360;
      if (e.Kind == TEntityKind::Arc) {
        a0 = e.StartAngle;
        a1 = e.EndAngle;
        while (a1 <= a0) a1 += 360;
      }
      const int steps = std::max(8, static_cast<int>((a1 - a0) / 5));
      for (int i = 0; i <= steps; ++i) {
        const double a = (a0 + (a1 - a0) * i / steps) * kPi / 180;
        pts.push_back(v.Map(e.Center.x + e.Radius * std::cos(a), e.Center.y + e.Radius * std::sin(a)));
      }
      break;
    }
    case TEntityKind::Text:
    case TEntityKind::MText:
      pts = {v.Map(e.Start.x, e.Start.y)};
      break;
  }
  return pts;
}

void Extend(double& minX, double& minY, double& maxX, double& maxY, double x, double y) {
  minX = std::min(minX, x);
  minY = std::min(minY, y);
  maxX = std::max(maxX, x);
  maxY = std::max(maxY, y);
}

TView FitView(const RECT& area, const THost& host) {
  double minX = std::numeric_limits<double>::max(), minY = minX, maxX = -minX, maxY = -minX;
  for (const auto& e : host.Entities) {
    switch (e.Kind) {
      case TEntityKind::Line:
        Extend(minX, minY, maxX, maxY, e.Start.x, e.Start.y);
        Extend(minX, minY, maxX, maxY, e.End.x, e.End.y);
        break;
      case TEntityKind::LwPolyline:
      case TEntityKind::Polyline:
        for (const auto& p : PolylinePath(e)) Extend(minX, minY, maxX, maxY, p.x, p.y);
        break;
      case TEntityKind::Circle:
      case TEntityKind::Arc:
        Extend(minX, minY, maxX, maxY, e.Center.x - e.Radius, e.Center.y - e.Radius);
        Extend(minX, minY, maxX, maxY, e.Center.x + e.Radius, e.Center.y + e.Radius);
        break;
      case TEntityKind::Text:
      case TEntityKind::MText:
        Extend(minX, minY, maxX, maxY, e.Start.x, e.Start.y);
        Extend(minX, minY, maxX, maxY, e.Start.x + e.Height * 4, e.Start.y + e.Height);
        break;
    }
  }
  if (minX > maxX) minX = minY = 0, maxX = maxY = 100;
  const double margin = 30;
  const double w = std::max(1.0, static_cast<double>(area.right - area.left) - 2 * margin);
  const double h = std::max(1.0, static_cast<double>(area.bottom - area.top) - 2 * margin);
  TView v;
  v.Scale = std::min(w / std::max(maxX - minX, 1e-9), h / std::max(maxY - minY, 1e-9));
  if (!std::isfinite(v.Scale) || v.Scale <= 0) v.Scale = 1;
  v.MinX = minX;
  v.MinY = minY;
  v.Left = area.left + static_cast<int>(margin);
  v.Bottom = area.bottom - static_cast<int>(margin);
  return v;
}

// The object's colour on the dark screen: its own colour index, else its layer's (1 to 7 only; 7 and the rest
// show white), or -1 when that is white.
int ShownColorIndex(const THost& host, const TEntity& e) {
  int color = e.Color;
  if (color == kColorByLayer) {
    color = 7;
    for (const auto& l : host.Layers)
      if (SameName(l.Name, e.Layer)) color = l.Color;
  }
  return color >= 1 && color <= 6 ? color : -1;
}

COLORREF IndexColor(int index) {
  static const COLORREF colours[] = {RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 0), RGB(0, 255, 255),
                                     RGB(0, 0, 255), RGB(255, 0, 255)};
  return colours[index - 1];
}

double SegmentDistance(POINT a, POINT b, double x, double y) {
  const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(a.x + t * dx - x, a.y + t * dy - y);
}

}  // namespace

void PaintDrawing(HDC dc, const RECT& area, const THost& host) {
  HBRUSH background = CreateSolidBrush(RGB(33, 40, 48));
  FillRect(dc, &area, background);
  DeleteObject(background);
  const TView view = FitView(area, host);
  SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = 0; i < host.Entities.size(); ++i) {
    const TEntity& e = host.Entities[i];
    if (!IsVisible(host, e)) continue;
    const bool picked = std::find(host.PreviousSelection.begin(), host.PreviousSelection.end(), static_cast<int>(i)) !=
                        host.PreviousSelection.end();
    // An object with a colour of its own (or its layer's) in that colour, so a copy shows the colour it kept; else
    // the previous selection in light blue, other new objects in amber, the rest white. The previous selection,
    // wide polylines and heavy lineweights draw thicker; a geometric pen keeps a thick line's dashes.
    const int index = ShownColorIndex(host, e);
    const COLORREF colour = index > 0 ? IndexColor(index) : picked ? RGB(0, 200, 255) : e.New ? RGB(255, 210, 0) : RGB(240, 240, 240);
    const bool heavy = e.ConstantWidth > 0 || e.Lineweight >= 50 ||
                       std::any_of(e.StartWidths.begin(), e.StartWidths.end(), [](double w) { return w > 0; });
    const bool dashed = !(e.Linetype == "ByLayer" || e.Linetype == "Continuous");
    const LOGBRUSH brush{BS_SOLID, colour, 0};
    HPEN pen = picked || heavy ? ExtCreatePen(PS_GEOMETRIC | (dashed ? PS_DASH : PS_SOLID) | PS_ENDCAP_FLAT, 2, &brush, 0, nullptr)
                               : CreatePen(dashed ? PS_DASH : PS_SOLID, 1, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    const auto pts = Outline(view, e);
    if (e.Kind == TEntityKind::Text || e.Kind == TEntityKind::MText) {
      SetTextColor(dc, colour);
      const std::wstring text = Wide(e.Text);
      TextOutW(dc, pts[0].x, pts[0].y - 14, text.c_str(), static_cast<int>(text.size()));
    } else if (pts.size() >= 2) {
      Polyline(dc, pts.data(), static_cast<int>(pts.size()));
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
}

int HitTest(const RECT& area, const THost& host, int x, int y) {
  const TView view = FitView(area, host);
  int best = -1;
  double bestDistance = kPickTolerance;
  for (std::size_t i = 0; i < host.Entities.size(); ++i) {
    if (!IsVisible(host, host.Entities[i])) continue;
    const auto pts = Outline(view, host.Entities[i]);
    double d = std::numeric_limits<double>::max();
    if (pts.size() == 1) {
      // A text: anywhere in a box right of and above its insertion point.
      const bool inside = x >= pts[0].x - 4 && x <= pts[0].x + 120 && y <= pts[0].y + 4 && y >= pts[0].y - 18;
      d = inside ? 0 : d;
    }
    for (std::size_t k = 1; k < pts.size(); ++k) d = std::min(d, SegmentDistance(pts[k - 1], pts[k], x, y));
    if (d <= bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

}  // namespace swivex
