#include "standin/Drawing.h"

namespace swivex {

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
  }
  return "?";
}

std::string JsonPoint(const TPoint3D& p) {
  return "[" + JsonNumber(p.x) + "," + JsonNumber(p.y) + "," + JsonNumber(p.z) + "]";
}

std::string EntityToJson(const TEntity& e, int index) {
  std::string s = "{\"index\":" + std::to_string(index) + ",\"type\":\"" + EntityKindName(e.Kind) +
                  "\",\"new\":" + (e.New ? "true" : "false") + ",\"layer\":" + JsonQuoted(e.Layer);
  switch (e.Kind) {
    case TEntityKind::Line:
      s += ",\"start\":" + JsonPoint(e.Start) + ",\"end\":" + JsonPoint(e.End);
      break;
    case TEntityKind::LwPolyline: {
      s += ",\"closed\":" + std::string(e.Closed ? "true" : "false") + ",\"elevation\":" + JsonNumber(e.Elevation) +
           ",\"vertices\":[";
      for (std::size_t i = 0; i < e.Vertices.size(); ++i)
        s += (i ? ",[" : "[") + JsonNumber(e.Vertices[i].x) + "," + JsonNumber(e.Vertices[i].y) + "]";
      s += "]";
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
