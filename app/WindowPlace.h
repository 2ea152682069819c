// Where the dialog was left: its top-left corner, saved per user under HKEY_CURRENT_USER\Software\Swivex (DWORD
// values WindowLeft and WindowTop) when it closes, and read again at the next start. A place whose caption lies on
// no monitor's work area any more (a monitor gone, the task bar moved over it) is pulled into the nearest one.
#pragma once

#include <windows.h>

#include <optional>

namespace swivex {

inline constexpr wchar_t kSettingsKey[] = L"Software\\Swivex";

// The saved top-left corner; none at the first start or when a value is missing or not a DWORD. A value beyond
// any desktop reads as far away (so that the place lands on the nearest monitor).
std::optional<POINT> LoadWindowPlace();

// Saves the window's top-left corner; a failing registry leaves the next start at the designed place.
void SaveWindowPlace(HWND window);

// The frame moved so that it can be dragged: unchanged when a piece of its caption (the strip captionHeight high
// at its top, over its full height and at least a grip wide) lies in a monitor's work area, else moved into the
// work area of the nearest monitor (its top-left corner kept inside when the frame is larger than that area).
RECT OntoVisibleMonitor(const RECT& frame, int captionHeight);

}  // namespace swivex
