// The tool's own items in the dialog's window menu (the system menu: right click on the caption, Alt+Space):
// 「接続の診断...」 opens the connection report, 「バージョン情報」 shows the version.
#pragma once

#include <windows.h>

namespace swivex {

// WM_SYSCOMMAND codes of the items: below 0xF000 and with the low four bits clear, as the system's own.
inline constexpr UINT kSysCommandConnectionReport = 0x0010;
inline constexpr UINT kSysCommandAbout = 0x0020;

// The tool's version, as the version resource gives it.
const char* SwivexVersion();

void AddSystemMenuItems(HWND form);

// Runs the command when it is one of the tool's items; false for every other WM_SYSCOMMAND.
bool OnSystemMenuCommand(HWND form, WPARAM command);

}  // namespace swivex
