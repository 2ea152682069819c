#include "cadlink/ExportFolder.h"

#include <windows.h>

#include "win32/CodePage.h"

namespace swivex {

namespace {

// The exe's folder with its trailing separator, cut in UTF-16: in Shift-JIS a 0x5C byte can be the second half
// of a character, so the separator must not be searched for in the bytes.
std::wstring ExeFolder() {
  std::wstring path = RunningExePath();
  path.resize(path.find_last_of(L"\\/") + 1);
  return path;
}

// Whether a file can be made in the folder: a file of a name no one else uses, made and deleted at once.
bool FolderWritable(const std::wstring& folder) {
  const std::wstring probe = folder + L"swivex-probe-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(GetTickCount64()) + L".tmp";
  const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  DeleteFileW(probe.c_str());  // already gone on close; kept for a file system that ignores the flag
  return true;
}

// The folder as it is when it can be typed, else its short name when that can; empty when neither.
std::wstring TypableForm(const std::wstring& folder) {
  if (SurvivesAnsiCodePage(folder)) return folder;
  const DWORD n = GetShortPathNameW(folder.c_str(), nullptr, 0);
  if (n == 0) return {};
  std::wstring shortName(n, L'\0');
  const DWORD got = GetShortPathNameW(folder.c_str(), shortName.data(), n);
  if (got == 0 || got >= n) return {};
  shortName.resize(got);
  if (!shortName.empty() && shortName.back() != L'\\') shortName += L'\\';
  return SurvivesAnsiCodePage(shortName) ? shortName : std::wstring();
}

TExportFolder Make(const std::wstring& wide, TExportFolderKind kind) { return {WideToAnsi(wide), wide, kind}; }

}  // namespace

std::wstring RunningExePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool SurvivesAnsiCodePage(const std::wstring& text) {
  if (text.empty()) return true;
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  // And back: a code page without a default-character report (UTF-8 as ANSI) is checked by the round trip.
  return AnsiToWide(WideToAnsi(text)) == text;
}

TExportFolder ChooseExportFolder() {
  const std::wstring exeFolder = ExeFolder();
  const bool writable = FolderWritable(exeFolder);
  if (writable) {
    const std::wstring typable = TypableForm(exeFolder);
    if (typable == exeFolder) return Make(exeFolder, TExportFolderKind::ExeFolder);
    if (!typable.empty()) return Make(typable, TExportFolderKind::ExeFolderShortName);
  }
  const TExportFolderKind fallback = writable ? TExportFolderKind::TempNotTypable : TExportFolderKind::TempNotWritable;
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  if (n == 0 || n > MAX_PATH) return Make(exeFolder, TExportFolderKind::Untypable);  // nowhere better
  std::wstring folder = std::wstring(temp, n) + L"Swivex\\";
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    folder = std::wstring(temp, n);
  const std::wstring typable = TypableForm(folder);
  if (!typable.empty()) return Make(typable, fallback);
  return Make(folder, TExportFolderKind::Untypable);
}

std::string ExportFolderReportLine(const TExportFolder& folder) {
  std::string why;
  switch (folder.Kind) {
    case TExportFolderKind::ExeFolder: why = "swivex.exe のフォルダ"; break;
    case TExportFolderKind::ExeFolderShortName:
      why = "swivex.exe のフォルダの短い名前 (8.3): フォルダ名が ANSI コード ページで表せないため";
      break;
    case TExportFolderKind::TempNotWritable: why = "%TEMP%\\Swivex: swivex.exe のフォルダに書き込めないため"; break;
    case TExportFolderKind::TempNotTypable:
      why = "%TEMP%\\Swivex: swivex.exe のフォルダ名が ANSI コード ページで表せず、短い名前もないため";
      break;
    case TExportFolderKind::Untypable:
      why = "ANSI コード ページで表せないパスです。AutoCAD は書き出せません";
      break;
  }
  return "書き出し先: \"" + WideToUtf8(folder.Wide) + "\" (" + why + ")";
}

}  // namespace swivex
