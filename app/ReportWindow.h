// A window that shows a text the user can select and copy (the connection report): a read-only edit, a copy
// button and a close button. One per dialog; showing it again replaces its text.
#pragma once

#include <windows.h>

#include <string>

namespace swivex {

// The window's class, for automation that reads the report.
inline constexpr wchar_t kReportWindowClass[] = L"SwivexReport";
inline constexpr int kReportTextId = 201;
inline constexpr int kReportCopyId = 202;
inline constexpr int kReportCloseId = 203;

// Shows textUtf8 (lines ending in CR LF) in the report window owned by owner.
void ShowReportWindow(HWND owner, const std::string& textUtf8);

}  // namespace swivex
