// Where the dialog was left: its top-left corner, saved per user under HKEY_CURRENT_USER\Software\Swivex (DWORD
// values WindowLeft and WindowTop) when it closes, and read again at the next start. A place that lies on no
// monitor any more is pulled into the nearest monitor's work area.
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

// The frame moved so that it lies on a monitor: unchanged when it touches one, else moved into the work area of
// the nearest monitor (its top-left corner kept inside when the frame is larger than that area).
RECT OntoVisibleMonitor(const RECT& frame);

}  // namespace swivex
