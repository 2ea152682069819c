#include "workflows/CaptureGlue.h"

#include "cadlink/AcadLink.h"
#include "cadlink/ClipboardKeeper.h"
#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "workflows/WinText.h"

namespace swivex {

namespace {

constexpr DWORD kPollIntervalMs = 200;
constexpr int kMaxPolls = 600;

std::wstring AsciiToWide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The exe's folder with its trailing separator, cut in UTF-16: in Shift-JIS a 0x5C byte can be the second half
// of a character, so the separator must not be searched for in the bytes.
std::string ExeFolder() {
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
  return WideToAnsi(path);
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

}  // namespace

std::string PrepareTempDxfName() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::string name =
      TempDxfName(ExeFolder(), {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
  DeleteFileW(AnsiToWide(name).c_str());  // a failure is of no concern: the file test comes later
  return name;
}

bool AcadReady() { return AcadActivate() && !AcadPromptText().empty(); }

TUcs QueryUcs() {
  TUcs ucs;
  AcadQueryUcs(ucs.Origin, ucs.XDir, ucs.YDir);
  return ucs;
}

bool PickOneObject(HWND form) {
  AcadSendCommand(AsciiToWide(kSelectSingleCommand));
  for (int polls = 0;;) {
    Sleep(kPollIntervalMs);
    if (!ProcessPendingMessages(form)) return false;
    const std::string prompt = AcadPromptText();
    if (prompt.empty() || IsIdlePrompt(prompt)) return true;
    if (++polls >= kMaxPolls) return true;
  }
}

void ExportPick(const std::string& tempFileName) {
  if (!ShouldExport(AcadLastHistoryLine())) return;
  AcadSendCommand(AsciiToWide(kFileDiaOffCommand));
  AcadSendCommand(AnsiToWide(DxfOutCommand(tempFileName)));
  AcadSendCommand(AsciiToWide(kFileDiaOnCommand));
}

bool ReadAndShow(const TDialogFields& dialog, const std::string& tempFileName, const TUcs& ucs) {
  if (!FileExists(tempFileName)) return false;
  try {
    ReadDxfEntities(tempFileName);
  } catch (...) {
    // What a failed read left in the store is in world coordinates and partial: a redraw must not draw it.
    LineCount = 0;
    PolylineCount = 0;
    throw;
  }
  const TSegmentSource source = ProjectEntityStore(ucs);
  if (source == TSegmentSource::None) return false;
  ShowMeasurement(dialog, source == TSegmentSource::Polyline, RefSegment.First, RefSegment.Second);
  return true;
}

void ShowMeasurement(const TDialogFields& dialog, bool polyline, TPoint3D first, TPoint3D second) {
  const TMeasurementTexts texts = MeasurementTexts(polyline, first, second);
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

void Button4Click(const TDialogFields& dialog) {
  const std::string tempFileName = PrepareTempDxfName();
  if (!AcadReady()) return;
  const TClipboardKeeper keeper;  // the user's clipboard comes back when the capture ends, however it ends
  const TUcs ucs = QueryUcs();
  if (!PickOneObject(dialog.Form)) return;  // the dialog is gone: nothing more to show it in
  ExportPick(tempFileName);
  ReadAndShow(dialog, tempFileName, ucs);
}

}  // namespace swivex
