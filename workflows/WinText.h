// Text between the dialog's UTF-16 windows and the tool's byte strings: ANSI code page (Shift-JIS on the target)
// for what is compared with AutoCAD and converted to numbers, UTF-8 for the tool's own Japanese texts.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "win32/CodePage.h"

namespace swivex {

// A window's text as ANSI bytes, and a window's text set from ANSI bytes or from UTF-8.
std::string GetWindowAnsi(HWND window);
void SetWindowAnsi(HWND window, std::string_view ansi);
void SetWindowUtf8(HWND window, std::string_view utf8);

}  // namespace swivex
