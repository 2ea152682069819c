// The dialog at any DPI: the DPI a window is shown at (per monitor where the system tells it) and the 96-dpi
// layout's lengths scaled to it.
#pragma once

#include <windows.h>

namespace swivex {

inline constexpr int kDesignDpi = 96;

// GetDpiForWindow where user32 has it (Windows 10 1607 and later), else GetDpiForSystem, else the screen's
// LOGPIXELSY.
int DpiOfWindow(HWND window);

// A length or coordinate of the 96-dpi layout at dpi, rounded to the nearest pixel.
int ScaleToDpi(int length96, int dpi);

// A rectangle of the 96-dpi layout (left, top, width, height) at dpi: its edges are scaled, not its size, so that
// neighbours that touch at 96 dpi still touch.
RECT ScaleRectToDpi(int left, int top, int width, int height, int dpi);

}  // namespace swivex
