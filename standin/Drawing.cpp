#include "standin/Drawing.h"

#include <algorithm>
#include <cmath>

namespace swivex {

namespace {

double At(const std::vector<double>& v, std::size_t i) { return i < v.size() ? v[i] : 0.0; }

std::string JsonNumbers(const std::vector<double>& v, std::size_t count) {
  std::string s = "[";
  for (std::size_t i = 0; i < count; ++i) s += (i ? "," : "") + JsonNumber(At(v, i));
  return s + "]";
}

}  // namespace

TPoint3D UcsToWorld(const TUcs& u, const TPoint3D& p) {
  const TPoint3D zDir{u.XDir.y * u.YDir.z - u.XDir.z * u.YDir.y, u.XDir.z * u.YDir.x - u.XDir.x * u.YDir.z,
                      u.XDir.x * u.YDir.y - u.XDir.y * u.YDir.x};
  return {u.Origin.x + p.x * u.XDir.x + p.y * u.YDir.x + p.z * zDir.x,
          u.Origin.y + p.x * u.XDir.y + p.y * u.YDir.y + p.z * zDir.y,
          u.Origin.z + p.x * u.XDir.z + p.y * u.YDir.z + p.z * zDir.z};
}

const char* EntityKindName(TEntityKind kind) {
  switch (kind) {
    case TEntityKind::Line: return "LINE";
    case TEntityKind::LwPolyline: return "LWPOLYLINE";
    case TEntityKind::Circle: return "CIRCLE";
    case TEntityKind::Arc: return "ARC";
    case TEntityKind::Text: return "TEXT";
    case TEntityKind::MText: return "MTEXT";
    case TEntityKind::Polyline: return "POLYLINE";
  }
  return "?";
}

void SetProps(TEntity& e, const TProps& p) {
  e.Layer = p.Layer;
  e.Color = p.Color;
  e.Linetype = p.Linetype;
  e.Lineweight = p.Lineweight;
  e.LinetypeScale = p.LinetypeScale;
  e.Thickness = p.Thickness;
}

double BulgeAt(const TEntity& e, std::size_t i) { return At(e.Bulges, i); }
double StartWidthAt(const TEntity& e, std::size_t i) { return At(e.StartWidths, i); }
double EndWidthAt(const TEntity& e, std::size_t i) { return At(e.EndWidths, i); }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

bool ThreePointBulge(const TPoint3D& s, const TPoint3D& m, const TPoint3D& e, double& bulge) {
  // With u = s - m and v = e - m the angle at m is the inscribed angle α; the arc's included angle is 2(π - α),
  // so |bulge| = tan((π - α)/2) = cot(α/2) = (|u||v| + u·v) / |u × v|. The arc turns left (positive) when
  // s, m, e turn left, that is when u × v is negative.
  const double ux = s.x - m.x, uy = s.y - m.y, vx = e.x - m.x, vy = e.y - m.y;
  const double cross = ux * vy - uy * vx;
  const double lengths = std::hypot(ux, uy) * std::hypot(vx, vy);
  if (lengths == 0 || std::fabs(cross) <= 1e-12 * lengths) return false;
  bulge = -(lengths + ux * vx + uy * vy) / cross;
  return std::isfinite(bulge);
}

bool TangentBulge(const TPoint3D& s, double dx, double dy, const TPoint3D& e, double& bulge) {
  // The chord makes the angle φ with the tangent; the included angle is 2φ, so the bulge is tan(φ/2).
  const double cx = e.x - s.x, cy = e.y - s.y;
  if ((cx == 0 && cy == 0) || (dx == 0 && dy == 0)) return false;
  const double phi = std::atan2(dx * cy - dy * cx, dx * cx + dy * cy);
  if (std::fabs(std::fabs(phi) - 3.14159265358979323846) < 1e-12) return false;
  bulge = std::tan(phi / 2);
  return std::isfinite(bulge);
}

void ArrivalDirection(const TPoint3D& a, const TPoint3D& b, double bulge, double& dx, double& dy) {
  // An arc arrives turned by half its included angle (2·atan(bulge)) from its chord.
  const double cx = b.x - a.x, cy = b.y - a.y, turn = 2 * std::atan(bulge);
  dx = cx * std::cos(turn) - cy * std::sin(turn);
  dy = cx * std::sin(turn) + cy * std::cos(turn);
}

std::string LinetypeName(const std::string& typed) {
  if (SameName(typed, "ByLayer")) return "ByLayer";
  if (SameName(typed, "ByBlock")) return "ByBlock";
  return typed;
}

namespace {

double DotOf(const TPoint3D& a, const TPoint3D& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
TPoint3D CrossOf(const TPoint3D& a, const TPoint3D& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
TPoint3D Normalized(const TPoint3D& a) {
  const double l = std::sqrt(DotOf(a, a));
  return l > 0 ? TPoint3D{a.x / l, a.y / l, a.z / l} : a;
}

}  // namespace

void OcsAxesOf(const TPoint3D& normal, TPoint3D& x, TPoint3D& y, TPoint3D& z) {
  z = Normalized(normal);
  const bool nearZ = std::fabs(z.x) < 1.0 / 64 && std::fabs(z.y) < 1.0 / 64;
  x = Normalized(CrossOf(nearZ ? TPoint3D{0, 1, 0} : TPoint3D{0, 0, 1}, z));
  y = Normalized(CrossOf(z, x));
}

TPoint3D WorldToOcs(const TPoint3D& p, const TPoint3D& normal) {
  TPoint3D x, y, z;
  OcsAxesOf(normal, x, y, z);
  return {DotOf(p, x), DotOf(p, y), DotOf(p, z)};
}

TPoint3D UcsZ(const TUcs& u) { return Normalized(CrossOf(u.XDir, u.YDir)); }

std::vector<TPoint3D> PolylinePath(const TEntity& source) {
  TEntity drawn;  // a POLYLINE without its spline frame
  const TEntity* pe = &source;
  if (source.Kind == TEntityKind::Polyline) {
    drawn = source;
    drawn.Vertices.clear();
    drawn.Bulges.clear();
    for (std::size_t i = 0; i < source.Vertices.size(); ++i) {
      if (i < source.VertexFlags.size() && (source.VertexFlags[i] & kVertexFrameFlag)) continue;
      drawn.Vertices.push_back(source.Vertices[i]);
      drawn.Bulges.push_back(BulgeAt(source, i));
    }
    pe = &drawn;
  }
  const TEntity& e = *pe;
  // Bulges turn about the normal: seen from above, a polyline seen from below turns the other way.
  const double sense = e.Normal.z < 0 ? -1.0 : 1.0;
  std::vector<TPoint3D> path;
  const std::size_t n = e.Vertices.size();
  const std::size_t segments = e.Closed ? n : (n ? n - 1 : 0);
  if (n) path.push_back(e.Vertices[0]);
  for (std::size_t i = 0; i < segments; ++i) {
    const TPoint3D& a = e.Vertices[i];
    const TPoint3D& b = e.Vertices[(i + 1) % n];
    const double bulge = sense * BulgeAt(e, i);
    if (bulge != 0 && std::isfinite(bulge)) {
      // The arc's included angle is 4·atan(bulge), counter-clockwise when the bulge is positive.
      const double theta = 4 * std::atan(bulge);
      const double dx = b.x - a.x, dy = b.y - a.y, chord = std::hypot(dx, dy);
      if (chord > 0) {
        const double radius = chord / (2 * std::sin(theta / 2));
        const double toCenter = radius * std::cos(theta / 2);  // from the chord's middle, to its left
        const double cx = (a.x + b.x) / 2 - dy / chord * toCenter, cy = (a.y + b.y) / 2 + dx / chord * toCenter;
        const double start = std::atan2(a.y - cy, a.x - cx);
        const int steps = std::max(2, static_cast<int>(std::fabs(theta) / (5 * 3.14159265358979323846 / 180)));
        for (int k = 1; k < steps; ++k) {
          const double t = start + theta * k / steps;
          path.push_back({cx + std::fabs(radius) * std::cos(t), cy + std::fabs(radius) * std::sin(t), a.z});
        }
      }
    }
    path.push_back(b);
  }
  return path;
}

std::string JsonPoint(const TPoint3D& p) {
  return "[" + JsonNumber(p.x) + "," + JsonNumber(p.y) + "," + JsonNumber(p.z) + "]";
}

namespace {

std::string JsonPoints(const std::vector<TPoint3D>& points) {
  std::string s = "[";
  for (std::size_t i = 0; i < points.size(); ++i) s += (i ? "," : "") + JsonPoint(points[i]);
  return s + "]";
}

}  // namespace

std::string EntityToJson(const TEntity& e, int index) {
  std::string s = "{\"index\":" + std::to_string(index) + ",\"type\":\"" + EntityKindName(e.Kind) +
                  "\",\"new\":" + (e.New ? "true" : "false") + ",\"layer\":" + JsonQuoted(e.Layer) +
                  ",\"color\":" + std::to_string(e.Color) + ",\"linetype\":" + JsonQuoted(e.Linetype) +
                  ",\"lineweight\":" + std::to_string(e.Lineweight) + ",\"ltscale\":" + JsonNumber(e.LinetypeScale) +
                  ",\"thickness\":" + JsonNumber(e.Thickness);
  switch (e.Kind) {
    case TEntityKind::Line:
      s += ",\"start\":" + JsonPoint(e.Start) + ",\"end\":" + JsonPoint(e.End);
      break;
    case TEntityKind::LwPolyline: {
      s += ",\"closed\":" + std::string(e.Closed ? "true" : "false") + ",\"elevation\":" + JsonNumber(e.Elevation) +
           ",\"vertices\":[";
      for (std::size_t i = 0; i < e.Vertices.size(); ++i)
        s += (i ? ",[" : "[") + JsonNumber(e.Vertices[i].x) + "," + JsonNumber(e.Vertices[i].y) + "]";
      const std::size_t n = e.Vertices.size();
      s += "],\"constant_width\":" + JsonNumber(e.ConstantWidth) + ",\"bulges\":" + JsonNumbers(e.Bulges, n) +
           ",\"start_widths\":" + JsonNumbers(e.StartWidths, n) + ",\"end_widths\":" + JsonNumbers(e.EndWidths, n) +
           ",\"normal\":" + JsonPoint(e.Normal) + ",\"points\":" + JsonPoints(e.Vertices);
      break;
    }
    case TEntityKind::Polyline: {
      std::string flags = "[";
      for (std::size_t i = 0; i < e.Vertices.size(); ++i)
        flags += (i ? "," : "") + std::to_string(i < e.VertexFlags.size() ? e.VertexFlags[i] : 0);
      s += ",\"closed\":" + std::string(e.Flags & 1 ? "true" : "false") + ",\"flags\":" + std::to_string(e.Flags) +
           ",\"elevation\":" + JsonNumber(e.Elevation) + ",\"normal\":" + JsonPoint(e.Normal) +
           ",\"points\":" + JsonPoints(e.Vertices) + ",\"vertex_flags\":" + flags +
           "],\"bulges\":" + JsonNumbers(e.Bulges, e.Vertices.size());
      break;
    }
    case TEntityKind::Circle:
      s += ",\"center\":" + JsonPoint(e.Center) + ",\"radius\":" + JsonNumber(e.Radius);
      break;
    case TEntityKind::Arc:
      s += ",\"center\":" + JsonPoint(e.Center) + ",\"radius\":" + JsonNumber(e.Radius) +
           ",\"start_angle\":" + JsonNumber(e.StartAngle) + ",\"end_angle\":" + JsonNumber(e.EndAngle);
      break;
    case TEntityKind::Text:
      s += ",\"insert\":" + JsonPoint(e.Start) + ",\"height\":" + JsonNumber(e.Height) + ",\"text\":" + JsonQuoted(e.Text);
      break;
    case TEntityKind::MText:
      s += ",\"insert\":" + JsonPoint(e.Start) + ",\"height\":" + JsonNumber(e.Height) +
           ",\"width\":" + JsonNumber(e.Width) + ",\"text\":" + JsonQuoted(e.Text);
      break;
  }
  return s + "}";
}

}  // namespace swivex
