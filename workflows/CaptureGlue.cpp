#include "workflows/CaptureGlue.h"

#include "cadlink/AcadLink.h"
#include "cadlink/AcadStatus.h"
#include "cadlink/ClipboardKeeper.h"
#include "cadlink/ExportFolder.h"
#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "workflows/LeftOut.h"
#include "workflows/NewAngle.h"
#include "workflows/WinText.h"

namespace swivex {

namespace {

std::wstring AsciiToWide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

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

// Two balloon texts, one per line.
std::string JoinNotices(const std::string& first, const std::string& second) {
  if (first.empty() || second.empty()) return first + second;
  return first + "\n" + second;
}

}  // namespace

std::string ExportFolder() { return ChooseExportFolder().Ansi; }

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

TPickWaitEnd PickOneObject(HWND form, long long waitLimitMs) {
  AcadSendCommand(AsciiToWide(kSelectSingleCommand));
  const ULONGLONG sent = GetTickCount64();
  TPickWait wait;
  for (;;) {
    const auto elapsed = static_cast<long long>(GetTickCount64() - sent);
    if (!WaitRunningMessages(form, static_cast<DWORD>(PickPollIntervalMs(elapsed)))) return TPickWaitEnd::DialogClosed;
    // AutoCAD closed meanwhile: its prompt reads empty for good.
    if (!IsWindow(AcadMainWindow)) throw TAcadUnavailable(TAcadFailure::NotFound, "AutoCAD has gone");
    if (PickWaitEnds(wait, AcadPromptText(), static_cast<long long>(GetTickCount64() - sent))) return TPickWaitEnd::Idle;
    if (static_cast<long long>(GetTickCount64() - sent) >= waitLimitMs) return TPickWaitEnd::TimedOut;
  }
}

std::optional<TUcs> ExportedUcs() {
  if (!DxfHeader.HasUcsOrg || !DxfHeader.HasUcsXDir || !DxfHeader.HasUcsYDir) return std::nullopt;
  return TUcs{DxfHeader.UcsOrg, DxfHeader.UcsXDir, DxfHeader.UcsYDir};
}

TPickStatus ExportPick(TPickWaitEnd waitEnd, const std::string& tempFileName) {
  if (waitEnd == TPickWaitEnd::DialogClosed) return TPickStatus::DialogClosed;
  const TPickOutcome outcome = PickOutcomeOf(AcadLastHistoryLine());
  if (outcome == TPickOutcome::Cancelled) return TPickStatus::Cancelled;
  if (waitEnd == TPickWaitEnd::TimedOut || outcome != TPickOutcome::Picked) {
    // A selection still running would otherwise take the user's next click; DXFOUT … PREV would export the
    // selection set of some earlier command.
    AcadSendCommand(L"\x0003");
    return waitEnd == TPickWaitEnd::TimedOut ? TPickStatus::TimedOut : TPickStatus::NotPicked;
  }
  AcadSendCommand(AsciiToWide(kFileDiaOffCommand));
  AcadSendCommand(AnsiToWide(DxfOutCommand(tempFileName)));
  AcadSendCommand(AsciiToWide(kFileDiaOnCommand));
  return TPickStatus::Exported;
}

TPickStatus PickAndExport(HWND form, const std::string& tempFileName, long long waitLimitMs) {
  return ExportPick(PickOneObject(form, waitLimitMs), tempFileName);
}

std::string ReadAndShow(const TDialogFields& dialog, const std::string& tempFileName, const TEchoedUcs& ucs) {
  TKeptCapture previous;  // put back when the export holds nothing to measure (a circle, a text)
  std::int32_t meshes = 0;
  TSegmentSource source = TSegmentSource::None;
  try {
    source = ReadAndProject(tempFileName, ucs, &meshes);
  } catch (...) {
    previous.Release();  // the failed read's store stays, emptied of what a redraw would draw
    throw;
  }
  if (source == TSegmentSource::None)
    return meshes > 0 ? LeftOutText(TLeftOut::Mesh) : std::string(kNotLineNotice);
  previous.Release();
  ShowMeasurement(dialog, source == TSegmentSource::Polyline, RefSegment.First, RefSegment.Second);
  return meshes > 0 ? LeftOutText(TLeftOut::MeshBesideOthers) : std::string();
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

std::string PickExportAndUse(
    const TDialogFields& dialog,
    const std::function<std::string(const std::string& tempFileName, const TEchoedUcs& ucs)>& useExport) {
  const std::string tempFileName = PrepareTempDxfName();
  RequireAcadReady();
  // The user's clipboard comes back when the pick ends, however it ends; another program's clipboard is read by a
  // child of this exe, so that an owner that does not answer cannot freeze the dialog.
  const TClipboardKeeper keeper(RunningExePath());
  const TEchoedUcs ucs = QueryUcs();
  const TPickStatus status = PickAndExport(dialog.Form, tempFileName);
  if (status == TPickStatus::DialogClosed) return {};  // nothing more to show it in
  std::string notice = PickNoticeText(status);
  if (status == TPickStatus::Exported) notice = useExport(tempFileName, ucs);
  return JoinNotices(notice, keeper.NotKeptNotice());
}

std::string Button4Click(const TDialogFields& dialog) {
  return PickExportAndUse(dialog, [&](const std::string& tempFileName, const TEchoedUcs& ucs) {
    return ReadAndShow(dialog, tempFileName, ucs);
  });
}

}  // namespace swivex
