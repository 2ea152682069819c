// The tool's own items in the dialog's window menu (the system menu: right click on the caption, Alt+Space):
// 「接続の診断...」 opens the connection report, 「バージョン情報」 shows the version; 「角度の基準」 chooses the angle
// convention and 「角度を図形から取得...」 fills 変更後 from a second pick (both run by the dialog).
#pragma once

#include <windows.h>

#include <optional>

#include "geometry/AngleConvention.h"

namespace swivex {

// WM_SYSCOMMAND codes of the items: below 0xF000 and with the low four bits clear, as the system's own.
inline constexpr UINT kSysCommandConnectionReport = 0x0010;
inline constexpr UINT kSysCommandAbout = 0x0020;
inline constexpr UINT kSysCommandMathAngle = 0x0030;
inline constexpr UINT kSysCommandBearing = 0x0040;
inline constexpr UINT kSysCommandDrawingAngles = 0x0050;
inline constexpr UINT kSysCommandAngleFromObject = 0x0060;

// The tool's version, as the version resource gives it.
const char* SwivexVersion();

void AddSystemMenuItems(HWND form);

// The 角度の基準 submenu and 角度を図形から取得..., with the convention in use checked.
void AddAngleMenuItems(HWND form, TAngleConvention convention);
void CheckConventionItem(HWND form, TAngleConvention convention);
// The convention a 角度の基準 item chooses; nothing for any other command.
std::optional<TAngleConvention> ConventionOfCommand(WPARAM command);

// Runs the command when it is one of the tool's items; false for every other WM_SYSCOMMAND. The connection
// report also names the angle convention in use and says when the drawing's is not known.
bool OnSystemMenuCommand(HWND form, WPARAM command, TAngleConvention convention = TAngleConvention::Math);

}  // namespace swivex
