// The class of the tool's own top-level windows that hold controls: the arrow cursor and the dialog's face colour.
#pragma once

#include <windows.h>

namespace swivex {

// Registers the class once; true when it is registered now or already was.
inline bool RegisterFormClass(HINSTANCE instance, WNDPROC procedure, const wchar_t* className) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace swivex
