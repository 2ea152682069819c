// The point every subsystem passes around: world or UCS coordinates, x, y, z in this order.
#pragma once

namespace swivex {

struct TPoint3D {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

}  // namespace swivex
