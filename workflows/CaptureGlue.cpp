#include "workflows/CaptureGlue.h"

#include "cadlink/AcadLink.h"
#include "cadlink/AcadStatus.h"
#include "cadlink/ClipboardKeeper.h"
#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "workflows/LeftOut.h"
#include "workflows/WinText.h"

namespace swivex {

namespace {

std::wstring AsciiToWide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The exe's folder with its trailing separator, cut in UTF-16: in Shift-JIS a 0x5C byte can be the second half
// of a character, so the separator must not be searched for in the bytes.
std::wstring ExeFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
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

// A file, not a folder of that name.
bool FileExists(const std::string& ansiName) {
  const DWORD attributes = GetFileAttributesW(AnsiToWide(ansiName).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Runs what is pending for the application so the dialog repaints and reacts during the wait. A quit request
// is put back for the main loop.
bool ProcessPendingMessages(HWND form) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (!IsWindow(form) || !IsDialogMessageW(form, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return IsWindow(form) != FALSE;
}

// Waits up to `ms` while running the dialog's messages as they come. False when the dialog is gone.
bool WaitRunningMessages(HWND form, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    if (!ProcessPendingMessages(form)) return false;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return true;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

}  // namespace

std::string ExportFolder() {
  const std::wstring exeFolder = ExeFolder();
  if (FolderWritable(exeFolder)) return WideToAnsi(exeFolder);
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  if (n == 0 || n > MAX_PATH) return WideToAnsi(exeFolder);  // nowhere better: the export will tell
  const std::wstring folder = std::wstring(temp, n) + L"Swivex\\";
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return WideToAnsi(std::wstring(temp, n));
  return WideToAnsi(folder);
}

std::string PrepareTempDxfName() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::string name =
      TempDxfName(ExportFolder(), {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
  DeleteFileW(AnsiToWide(name).c_str());  // a failure is of no concern: the file test comes later
  return name;
}

void RequireAcadReady() {
  if (!AcadActivate()) throw TAcadUnavailable(TAcadFailure::NotFound, "AutoCAD not found");
  if (AcadPromptText().empty()) throw TAcadUnavailable(TAcadFailure::NoPrompt, "AutoCAD shows no prompt");
}

TEchoedUcs QueryUcs() {
  TEchoedUcs echoed;
  TPoint3D rounding[3];
  AcadQueryUcs(echoed.Ucs.Origin, echoed.Ucs.XDir, echoed.Ucs.YDir, rounding);
  echoed.Rounding = {rounding[0], rounding[1], rounding[2]};
  return echoed;
}

bool PickOneObject(HWND form) {
  AcadSendCommand(AsciiToWide(kSelectSingleCommand));
  const ULONGLONG sent = GetTickCount64();
  for (;;) {
    const auto elapsed = static_cast<long long>(GetTickCount64() - sent);
    if (!WaitRunningMessages(form, static_cast<DWORD>(PickPollIntervalMs(elapsed)))) return false;
    const std::string prompt = AcadPromptText();
    if (prompt.empty() || IsIdlePrompt(prompt)) return true;
    if (static_cast<long long>(GetTickCount64() - sent) >= kPickWaitLimitMs) return true;
  }
}

std::optional<TUcs> ExportedUcs() {
  if (!DxfHeader.HasUcsOrg || !DxfHeader.HasUcsXDir || !DxfHeader.HasUcsYDir) return std::nullopt;
  return TUcs{DxfHeader.UcsOrg, DxfHeader.UcsXDir, DxfHeader.UcsYDir};
}

void ExportPick(const std::string& tempFileName) {
  if (!ShouldExport(AcadLastHistoryLine())) return;
  AcadSendCommand(AsciiToWide(kFileDiaOffCommand));
  AcadSendCommand(AnsiToWide(DxfOutCommand(tempFileName)));
  AcadSendCommand(AsciiToWide(kFileDiaOnCommand));
}

bool ReadAndShow(const TDialogFields& dialog, const std::string& tempFileName, const TEchoedUcs& ucs) {
  std::int32_t meshes = 0;
  const TSegmentSource source = ReadAndProject(tempFileName, ucs, &meshes);
  if (source != TSegmentSource::None)
    ShowMeasurement(dialog, source == TSegmentSource::Polyline, RefSegment.First, RefSegment.Second);
  if (meshes > 0) throw TObjectsLeftOut(TLeftOut::Mesh);
  return source != TSegmentSource::None;
}

TSegmentSource ReadAndProject(const std::string& tempFileName, const TEchoedUcs& ucs, std::int32_t* meshes) {
  if (!FileExists(tempFileName)) return TSegmentSource::None;
  try {
    ReadDxfEntities(tempFileName);
  } catch (...) {
    // What a failed read left in the store is in world coordinates and partial: a redraw must not draw it.
    LineCount = 0;
    PolylineCount = 0;
    throw;
  }
  return ProjectEntityStore(ChooseUcs(ucs, ExportedUcs()), meshes);
}

void ShowMeasurement(const TDialogFields& dialog, bool polyline, TPoint3D first, TPoint3D second) {
  const TMeasurementTexts texts =
      MeasurementTexts(polyline, first, second, FrameOf(dialog.Convention, DxfHeader.Angles));
  SetWindowUtf8(dialog.Form, texts.CaptionUtf8);
  SetWindowAnsi(dialog.eKyori, texts.Kyori);
  SetWindowAnsi(dialog.eKakudo, texts.Kakudo);
  SetWindowAnsi(dialog.eDo, texts.Do);
  SetWindowAnsi(dialog.eFun, texts.Fun);
  SetWindowAnsi(dialog.eByo, texts.Byo);
  SetWindowAnsi(dialog.eDo2, texts.Do);
  SetWindowAnsi(dialog.eFun2, texts.Fun);
  SetWindowAnsi(dialog.eByo2, texts.Byo);
}

void PickAndExport(const TDialogFields& dialog,
                   const std::function<void(const std::string& tempFileName, const TEchoedUcs& ucs)>& useExport) {
  const std::string tempFileName = PrepareTempDxfName();
  RequireAcadReady();
  const TClipboardKeeper keeper;  // the user's clipboard comes back when the capture ends, however it ends
  const TEchoedUcs ucs = QueryUcs();
  if (!PickOneObject(dialog.Form)) return;  // the dialog is gone: nothing more to show it in
  ExportPick(tempFileName);
  useExport(tempFileName, ucs);
}

void Button4Click(const TDialogFields& dialog) {
  PickAndExport(dialog, [&](const std::string& tempFileName, const TEchoedUcs& ucs) {
    ReadAndShow(dialog, tempFileName, ucs);
  });
}

}  // namespace swivex
