// The CAD host link (Win32): finds AutoCAD's windows by title and class, types commands into its main frame by
// WM_COPYDATA, reads its prompt and the last line of its command history, and queries the current UCS.
// Texts read back are bytes in the ANSI code page (Shift-JIS on the target).
#pragma once

#include <windows.h>

#include <string>

#include "geometry/Point3D.h"

namespace swivex {

// Module state: the handles found, kept for the run and searched for again when they are no longer windows.
extern HWND AcadMainWindow;
extern DWORD AcadProcessId;
extern HWND AcadTextWindow;
extern HWND AcadFloatingCommandLine;
extern HWND AcadPromptLine;
extern HWND AcadCommandLine;

// A window's title and class name as the search reads them: ANSI, 256 bytes with a count of 255.
std::string AcadWindowTitle(HWND w);
std::string AcadWindowClass(HWND w);

// The image file name of a process ("acad.exe"), as UTF-8; empty when it cannot be read.
std::string AcadProcessImageName(DWORD processId);

// Window discovery. A main frame must pass the title and class tests and belong to acad.exe or acadlt.exe.
HWND AcadFindMainWindow();
HWND AcadFindTextWindow();
HWND AcadFindCommandLine();
HWND AcadFindPromptLine();

// The window that owns the clipboard while the history is copied (the dialog); null until the shell sets it.
void AcadSetClipboardOwner(HWND owner);
HWND AcadClipboardOwner();  // that window, or a hidden one of the link's own before the shell has named one

// How long a message to AutoCAD's windows may wait for its answer. A window that does not answer in that time
// (or that the system already counts as hung) raises TAcadUnavailable(NotAnswering).
inline constexpr UINT kAcadAnswerTimeoutMs = 5000;

// A window's text as UTF-16, asked for with timeoutMs for each of its two messages; false when the window did not
// answer in time or is gone. Raises nothing.
bool AcadReadWindowText(HWND window, std::wstring& text, UINT timeoutMs);

// Command channel and echo reading. Every message sent may raise TAcadUnavailable(NotAnswering).
void AcadSendCommand(const std::wstring& command);
bool AcadPostCommand(const std::wstring& command, bool unicode);
bool AcadPostCommandW(const std::wstring& command);
bool AcadPostCommandA(const std::wstring& command);
std::string AcadGetWindowText(HWND window);
std::string AcadPromptText();
std::string AcadCopyHistory();       // raises TSilentAbort when the clipboard fails
std::string AcadLastHistoryLine();   // likewise
bool AcadActivate();

// UCS query: three commands and their echoes; raises TConvertError when an echo does not give three numbers.
void AcadQueryUcs(TPoint3D& origin, TPoint3D& xDir, TPoint3D& yDir);
// The same, also giving per component half a unit of the last decimal each echo showed (the echo's rounding).
void AcadQueryUcs(TPoint3D& origin, TPoint3D& xDir, TPoint3D& yDir, TPoint3D (&rounding)[3]);

}  // namespace swivex
