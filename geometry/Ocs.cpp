#include "geometry/Ocs.h"

#include <cmath>

namespace swivex {

namespace {

// Below this in both x and y, a normal counts as the world z axis (DXF's arbitrary-axis algorithm: 1/64).
constexpr double kArbitraryAxisLimit = 1.0 / 64.0;
constexpr double kParallelSlack = 1e-9;

}  // namespace

double Dot(const TPoint3D& a, const TPoint3D& b) {
  const long double sum = static_cast<long double>(a.x) * b.x + static_cast<long double>(a.y) * b.y +
                          static_cast<long double>(a.z) * b.z;
  return static_cast<double>(sum);
}

TPoint3D Cross(const TPoint3D& a, const TPoint3D& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

TPoint3D Unit(const TPoint3D& a) {
  const double length = std::sqrt(Dot(a, a));
  if (!(length > 0) || !std::isfinite(length)) return a;
  if (length == 1.0) return a;
  return {a.x / length, a.y / length, a.z / length};
}

TOcsAxes OcsAxes(const TPoint3D& normal) {
  const TPoint3D z = Unit(normal);
  const bool nearWorldZ = std::fabs(z.x) < kArbitraryAxisLimit && std::fabs(z.y) < kArbitraryAxisLimit;
  const TPoint3D x = Unit(Cross(nearWorldZ ? TPoint3D{0, 1, 0} : TPoint3D{0, 0, 1}, z));
  return {x, Unit(Cross(z, x)), z};
}

TPoint3D OcsToWorld(const TPoint3D& p, const TOcsAxes& a) {
  const auto along = [&](double TPoint3D::*c) {
    return static_cast<double>(static_cast<long double>(p.x) * (a.X.*c) + static_cast<long double>(p.y) * (a.Y.*c) +
                               static_cast<long double>(p.z) * (a.Z.*c));
  };
  return {along(&TPoint3D::x), along(&TPoint3D::y), along(&TPoint3D::z)};
}

int PlaneSense(const TPoint3D& normal, const TPoint3D& zAxis) {
  const TPoint3D n = Unit(normal), z = Unit(zAxis);
  if (std::fabs(Dot(n, n) - 1) > kParallelSlack || std::fabs(Dot(z, z) - 1) > kParallelSlack) return 0;
  const double cosine = Dot(n, z);
  if (cosine >= 1 - kParallelSlack) return 1;
  if (cosine <= -1 + kParallelSlack) return -1;
  return 0;
}

}  // namespace swivex
