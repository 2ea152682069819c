// Finding AutoCAD's windows: the main frame, the text window, the floating command line and the two command-line
// windows "Headlands" and "MountTam". Handles are kept for the run and searched for again when they are dead.
#include <string>

#include "cadlink/AcadLink.h"
#include "cadlink/AcadText.h"
#include "win32/CodePage.h"

namespace swivex {

HWND AcadMainWindow = nullptr;
DWORD AcadProcessId = 0;
HWND AcadTextWindow = nullptr;
HWND AcadFloatingCommandLine = nullptr;
HWND AcadPromptLine = nullptr;
HWND AcadCommandLine = nullptr;

// Titles and class names are read with the ANSI functions into 256 bytes with a count of 255.
std::string AcadWindowTitle(HWND w) {
  char buffer[256] = {};
  const int n = GetWindowTextA(w, buffer, 255);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string AcadWindowClass(HWND w) {
  char buffer[256] = {};
  const int n = GetClassNameA(w, buffer, 255);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string AcadProcessImageName(DWORD processId) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return {};
  std::wstring path(MAX_PATH, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  const bool read = QueryFullProcessImageNameW(process, 0, path.data(), &size) != 0;
  CloseHandle(process);
  if (!read) return {};
  path.resize(size);
  return WideToUtf8(path.substr(path.find_last_of(L"\\/") + 1));
}

namespace {

// The user's locale decides, case-sensitively, as CompareStringA without flags does.
bool LocaleEqual(std::string_view a, std::string_view b) {
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool IsLeadByte(unsigned char b) { return IsDBCSLeadByte(b) != 0; }

BOOL CALLBACK MainWindowEnumProc(HWND w, LPARAM) noexcept {
  try {
    const std::string title = AcadWindowTitle(w);
    if (title.empty() || !IsMainFrameTitle(title) || !IsMainFrameClass(AcadWindowClass(w))) return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    // Another Autodesk program (Inventor, DWG TrueView) or one built on the same MFC frame: not AutoCAD.
    if (!IsAcadImageName(AcadProcessImageName(process))) return TRUE;
    AcadMainWindow = w;
    AcadProcessId = process;
    return FALSE;
  } catch (...) {
    return TRUE;
  }
}

BOOL CALLBACK TextWindowEnumProc(HWND w, LPARAM) noexcept {
  try {
    const std::string title = AcadWindowTitle(w);
    if (title.empty() || !IsTextWindow(title, AcadWindowClass(w), IsLeadByte, LocaleEqual)) return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process != AcadProcessId) return TRUE;
    AcadTextWindow = w;
    return FALSE;
  } catch (...) {
    return TRUE;
  }
}

BOOL CALLBACK FloatingCommandLineEnumProc(HWND w, LPARAM) noexcept {
  try {
    const std::string title = AcadWindowTitle(w);
    if (title.empty() || !IsFloatingCommandLine(title, AcadWindowClass(w), IsLeadByte, LocaleEqual)) return TRUE;
    AcadFloatingCommandLine = w;
    return FALSE;
  } catch (...) {
    return TRUE;
  }
}

BOOL CALLBACK CommandLineChildEnumProc(HWND w, LPARAM) noexcept {
  try {
    const std::string title = AcadWindowTitle(w);
    if (title.empty()) return TRUE;
    if (title == kPromptLineTitle) AcadPromptLine = w;
    if (title == kCommandLineTitle) AcadCommandLine = w;
    return AcadPromptLine && AcadCommandLine ? FALSE : TRUE;
  } catch (...) {
    return TRUE;
  }
}

// The search behind AcadFindCommandLine and AcadFindPromptLine; `wanted` is the handle the caller looks for.
// A stored handle of either window that is dead is cleared first, so that a restarted AutoCAD never leaves one of
// them dead because the child test stopped at the other.
void SearchCommandLineWindows(HWND& wanted) {
  AcadFindMainWindow();
  if (!IsWindow(AcadMainWindow) || IsWindow(wanted)) return;
  if (!IsWindow(AcadPromptLine)) AcadPromptLine = nullptr;
  if (!IsWindow(AcadCommandLine)) AcadCommandLine = nullptr;
  EnumChildWindows(AcadMainWindow, CommandLineChildEnumProc, 0);
  if (IsWindow(wanted)) return;
  EnumWindows(FloatingCommandLineEnumProc, 0);
  if (IsWindow(AcadFloatingCommandLine)) {
    EnumChildWindows(AcadFloatingCommandLine, CommandLineChildEnumProc, 0);
  } else if (const HWND text = AcadFindTextWindow()) {
    EnumChildWindows(text, CommandLineChildEnumProc, 0);
  } else {
    // A null parent stands for the top-level windows. Windows enumerates them for EnumChildWindows(NULL) but
    // Wine enumerates nothing, so they are asked for by name.
    EnumWindows(CommandLineChildEnumProc, 0);
  }
}

}  // namespace

HWND AcadFindMainWindow() {
  if (IsWindow(AcadMainWindow)) return AcadMainWindow;
  EnumWindows(MainWindowEnumProc, 0);
  return AcadMainWindow;
}

HWND AcadFindTextWindow() {
  AcadTextWindow = nullptr;
  EnumWindows(TextWindowEnumProc, 0);
  return AcadTextWindow;
}

HWND AcadFindCommandLine() {
  SearchCommandLineWindows(AcadCommandLine);
  return IsWindow(AcadCommandLine) ? AcadCommandLine : nullptr;
}

HWND AcadFindPromptLine() {
  SearchCommandLineWindows(AcadPromptLine);
  return IsWindow(AcadPromptLine) ? AcadPromptLine : nullptr;
}

}  // namespace swivex
