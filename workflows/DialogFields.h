// The dialog as the workflows see it: the form, its nine edit fields and the angle convention their directions
// are shown and typed in. The dialog owns the windows; the workflows only read and write their texts.
#pragma once

#include <windows.h>

#include "geometry/AngleConvention.h"

namespace swivex {

struct TDialogFields {
  HWND Form = nullptr;
  HWND eKakudo = nullptr;   // measured angle, decimal degrees
  HWND eKyori = nullptr;    // length of the first segment
  HWND eDo = nullptr;       // measured degrees, minutes, seconds
  HWND eFun = nullptr;
  HWND eByo = nullptr;
  HWND eDo2 = nullptr;      // new degrees, minutes, seconds
  HWND eFun2 = nullptr;
  HWND eByo2 = nullptr;
  HWND eKakudo2 = nullptr;  // new angle, decimal degrees
  TAngleConvention Convention = TAngleConvention::Math;
};

}  // namespace swivex
