// Typing commands into AutoCAD (WM_COPYDATA to its main frame), reading its prompt and the last line of its
// command history (copied through the clipboard), bringing it to the front, and the UCS query.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "cadlink/AcadEcho.h"
#include "cadlink/AcadLink.h"
#include "cadlink/AcadStatus.h"
#include "cadlink/ClipboardKeeper.h"
#include "cadlink/SilentAbort.h"
#include "win32/CodePage.h"

namespace swivex {

namespace {

constexpr ULONG_PTR kCopyDataCommand = 1;
constexpr WPARAM kCopyHistoryCommand = 32781;  // 0x800D
constexpr std::size_t kMinimumBuffer = 256;    // units; a longer command gets a buffer sized to it
constexpr int kHistoryCopyTries = 10;
constexpr DWORD kHistoryCopyRetryMs = 20;

HWND ClipboardOwner = nullptr;

// One message to AutoCAD, carried by the sender thread.
struct TSendJob {
  HWND Window;
  UINT Message;
  WPARAM WParam;
  LPARAM LParam;
  UINT TimeoutMs = kAcadAnswerTimeoutMs;
  DWORD_PTR Result = 0;
  BOOL Answered = FALSE;
};

// Sends with the time-out. Without SMTO_BLOCK the sending thread still answers what is sent to it meanwhile (the
// WM_DESTROYCLIPBOARD AutoCAD's history copy sends the dialog, say); with SMTO_ABORTIFHUNG a window the system
// already counts as hung (nothing read from its queue for five seconds) fails at once. The wide form: for an ANSI
// WM_GETTEXTLENGTH Wine sends a WM_GETTEXT of its own, without any time-out.
void SendWithTimeout(TSendJob& job) {
  job.Answered = SendMessageTimeoutW(job.Window, job.Message, job.WParam, job.LParam,
                                     SMTO_NORMAL | SMTO_ABORTIFHUNG, job.TimeoutMs, &job.Result);
}

// A thread that carries the messages, one at a time, so that the dialog's thread can paint while AutoCAD takes
// its time. It lives as long as the process (ended with it, never joined: a join at exit could wait for ever).
class TSenderThread {
 public:
  TSenderThread()
      : Start_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), Done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    if (Start_ && Done_) Thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }

  // Sends the job and meanwhile paints the calling thread's windows and answers what is sent to them; nothing
  // else of the dialog runs (no clicks, no closing) until the answer or the time-out.
  void Send(TSendJob& job) {
    if (!Thread_) return SendWithTimeout(job);
    Job_ = &job;
    SetEvent(Start_);
    while (MsgWaitForMultipleObjects(1, &Done_, FALSE, INFINITE, QS_PAINT | QS_SENDMESSAGE) != WAIT_OBJECT_0) {
      MSG msg;
      for (int n = 0; n < 100 && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++n)
        DispatchMessageW(&msg);
    }
  }

 private:
  static DWORD WINAPI Run(void* self) {
    auto* sender = static_cast<TSenderThread*>(self);
    while (WaitForSingleObject(sender->Start_, INFINITE) == WAIT_OBJECT_0) {
      SendWithTimeout(*sender->Job_);
      SetEvent(sender->Done_);
    }
    return 0;
  }

  HANDLE Start_, Done_;
  HANDLE Thread_ = nullptr;
  TSendJob* Job_ = nullptr;
};

// One message to AutoCAD's windows, carried by the sender thread; false when it was not answered in timeoutMs.
bool SendToAcadWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs, LRESULT& result) {
  static TSenderThread& sender = *new TSenderThread;  // for the process's life, see above
  TSendJob job{window, message, wParam, lParam, timeoutMs};
  sender.Send(job);
  result = static_cast<LRESULT>(job.Result);
  return job.Answered != FALSE;
}

// Every message to AutoCAD's windows: answered within the time-out, else AutoCAD is not answering. A window
// that is gone (or null) answers 0, as SendMessage's does.
LRESULT SendToAcad(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (SendToAcadWithin(window, message, wParam, lParam, kAcadAnswerTimeoutMs, result)) return result;
  if (window && IsWindow(window)) throw TAcadUnavailable(TAcadFailure::NotAnswering, "AutoCAD is not answering");
  return 0;
}

void SendCopyData(const void* data, std::size_t bytes) {
  COPYDATASTRUCT record{};
  record.dwData = kCopyDataCommand;
  record.cbData = static_cast<DWORD>(bytes);
  record.lpData = const_cast<void*>(data);
  SendToAcad(AcadMainWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
  PostMessageA(AcadMainWindow, WM_NULL, 0, 0);
}

bool EmptyTheClipboard() {
  TClipboard clipboard(AcadClipboardOwner());
  return clipboard.IsOpen() && EmptyClipboard();
}

// The clipboard's text up to its first zero byte, never past the memory block; "" when it holds no text.
bool ReadClipboardText(std::string& text) {
  TClipboard clipboard(AcadClipboardOwner());
  if (!clipboard.IsOpen()) return false;
  text.clear();
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data) return true;
  const char* bytes = static_cast<const char*>(GlobalLock(data));
  if (!bytes) return true;
  const std::size_t size = GlobalSize(data);
  std::size_t n = 0;
  while (n < size && bytes[n] != '\0') ++n;
  text.assign(bytes, n);
  GlobalUnlock(data);
  return true;
}

bool StoreEmptyText() {
  TClipboard clipboard(AcadClipboardOwner());
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  TGlobalMemory memory(1);
  if (!memory.Get() || !SetClipboardData(CF_TEXT, memory.Get())) return false;
  memory.Release();
  return true;
}

}  // namespace

void AcadSetClipboardOwner(HWND owner) { ClipboardOwner = owner; }

// The dialog once the shell has named it, else a hidden window of the link's own.
HWND AcadClipboardOwner() {
  if (ClipboardOwner && IsWindow(ClipboardOwner)) return ClipboardOwner;
  static HWND fallback = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  return fallback;
}

void AcadSendCommand(const std::wstring& command) {
  AcadFindMainWindow();
  AcadPostCommand(command, IsWindowUnicode(AcadMainWindow) != 0);
}

bool AcadPostCommand(const std::wstring& command, bool unicode) {
  AcadFindMainWindow();
  if (!IsWindow(AcadMainWindow)) return false;
  return unicode ? AcadPostCommandW(command) : AcadPostCommandA(command);
}

bool AcadPostCommandW(const std::wstring& command) {
  if (!IsWindow(AcadMainWindow)) return false;
  // Through the ANSI code page and back, so that what the code page lacks arrives as its default character.
  const std::wstring converted = AnsiToWide(WideToAnsi(command));
  std::vector<wchar_t> buffer(std::max(kMinimumBuffer, converted.size() + 1), L'\0');
  converted.copy(buffer.data(), converted.size());
  // cbData counts what is sent: the converted text and its terminator.
  SendCopyData(buffer.data(), 2 * (converted.size() + 1));
  return true;
}

bool AcadPostCommandA(const std::wstring& command) {
  AcadFindMainWindow();
  if (!IsWindow(AcadMainWindow)) return false;
  const std::string bytes = WideToAnsi(command);
  std::vector<char> buffer(std::max(kMinimumBuffer, bytes.size() + 1), '\0');
  bytes.copy(buffer.data(), bytes.size());
  std::size_t n = 0;
  while (buffer[n] != '\0') ++n;
  SendCopyData(buffer.data(), n + 1);
  return true;
}

// Read as UTF-16 (see SendWithTimeout).
bool AcadReadWindowText(HWND window, std::wstring& text, UINT timeoutMs) {
  text.clear();
  LRESULT n = 0;
  if (!SendToAcadWithin(window, WM_GETTEXTLENGTH, 0, 0, timeoutMs, n)) return false;
  if (n <= 0) return true;
  const std::size_t size = static_cast<std::size_t>(n) + 1;
  std::vector<wchar_t> buffer(size, L'\0');
  LRESULT copied = 0;
  if (!SendToAcadWithin(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(buffer.data()), timeoutMs, copied))
    return false;
  text.assign(buffer.begin(), std::find(buffer.begin(), buffer.end(), L'\0'));
  return true;
}

// Given back in the ANSI code page.
std::string AcadGetWindowText(HWND window) {
  std::wstring text;
  if (!AcadReadWindowText(window, text, kAcadAnswerTimeoutMs) && window && IsWindow(window))
    throw TAcadUnavailable(TAcadFailure::NotAnswering, "AutoCAD is not answering");
  return WideToAnsi(text);
}

std::string AcadPromptText() { return AcadGetWindowText(AcadFindPromptLine()); }

bool AcadActivate() {
  AcadFindMainWindow();
  if (!IsWindow(AcadMainWindow)) return false;
  SetForegroundWindow(AcadMainWindow);
  return true;
}

std::string AcadCopyHistory() {
  std::string text;
  if (!IsWindow(AcadFindTextWindow())) return text;
  // What the user has on the clipboard is kept first, when a capture keeps it.
  TClipboardKeeper* keeper = ActiveClipboardKeeper();
  if (keeper) keeper->BeforeOwnWrite();
  bool ok = EmptyTheClipboard();
  bool answered = true;
  if (ok) {
    try {
      // A clipboard manager opens the clipboard right after each change (our emptying, say) for a moment, and
      // AutoCAD's copy then finds it held and writes nothing: asked again after a pause.
      const DWORD emptied = GetClipboardSequenceNumber();
      for (int tries = 0; tries < kHistoryCopyTries; ++tries) {
        if (tries > 0) Sleep(kHistoryCopyRetryMs);
        SendToAcad(AcadTextWindow, WM_COMMAND, kCopyHistoryCommand, 0);
        if (GetClipboardSequenceNumber() != emptied) break;
      }
    } catch (const TAcadUnavailable&) {
      answered = false;
    }
    ok = answered && ReadClipboardText(text) && StoreEmptyText();
  }
  // In every case the clipboard is left empty; a failure anywhere ends the user's action without a message.
  const bool emptied = EmptyTheClipboard();
  if (keeper) keeper->AfterOwnWrite();
  if (!answered) throw TAcadUnavailable(TAcadFailure::NotAnswering, "AutoCAD is not answering");
  if (!ok || !emptied) throw TSilentAbort();
  return text;
}

std::string AcadLastHistoryLine() { return LastNonEmptyLine(AcadCopyHistory()); }

void AcadQueryUcs(TPoint3D& origin, TPoint3D& xDir, TPoint3D& yDir) {
  TPoint3D rounding[3];
  AcadQueryUcs(origin, xDir, yDir, rounding);
}

void AcadQueryUcs(TPoint3D& origin, TPoint3D& xDir, TPoint3D& yDir, TPoint3D (&rounding)[3]) {
  const std::pair<const wchar_t*, TPoint3D*> queries[] = {
      {L"\x0003UCSORG ", &origin}, {L"\x0003UCSXDIR ", &xDir}, {L"\x0003UCSYDIR ", &yDir}};
  for (std::size_t i = 0; i < 3; ++i) {
    AcadSendCommand(queries[i].first);
    ReadUcsEcho(AcadLastHistoryLine(), *queries[i].second, rounding[i]);
  }
}

}  // namespace swivex
