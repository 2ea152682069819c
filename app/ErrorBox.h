// The application's default error handler: what the user sees when a button's action ends with an exception.
#pragma once

#include <windows.h>

namespace swivex {

// The application title, the caption of every message box.
inline constexpr wchar_t kApplicationTitle[] = L"角度を変更する";

// Call from inside a catch block. A conversion error shows its message with "." in an error box, the silent
// abort shows nothing, a DXF read error and anything else show their message. Never throws.
void ShowActionError(HWND owner) noexcept;

}  // namespace swivex
