// The stand-in host's drawing view: paints the objects into the main frame and finds the object under a click.
#pragma once

#include <windows.h>

#include "standin/StandinHost.h"

namespace swivex {

// Paints the drawing into `area` of the device context: objects of the scenario in white, objects drawn by LINE
// and PLINE in yellow, the previous selection set in cyan.
void PaintDrawing(HDC dc, const RECT& area, const THost& host);

// The object within a few pixels of the client point (x, y) of a view painted into `area`, or -1.
int HitTest(const RECT& area, const THost& host, int x, int y);

}  // namespace swivex
