// Typing commands into AutoCAD (WM_COPYDATA to its main frame), reading its prompt and the last line of its
// command history (copied through the clipboard), bringing it to the front, and the UCS query.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "cadlink/AcadEcho.h"
#include "cadlink/AcadLink.h"
#include "win32/CodePage.h"
#include "cadlink/SilentAbort.h"

namespace swivex {

namespace {

constexpr ULONG_PTR kCopyDataCommand = 1;
constexpr WPARAM kCopyHistoryCommand = 32781;  // 0x800D
constexpr std::size_t kMinimumBuffer = 256;    // units; a longer command gets a buffer sized to it

HWND ClipboardOwner = nullptr;

void SendCopyData(const void* data, std::size_t bytes) {
  COPYDATASTRUCT record{};
  record.dwData = kCopyDataCommand;
  record.cbData = static_cast<DWORD>(bytes);
  record.lpData = const_cast<void*>(data);
  SendMessageA(AcadMainWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
  PostMessageA(AcadMainWindow, WM_NULL, 0, 0);
}

// The clipboard, open for one step of the history copy and closed whatever happens.
class TClipboard {
 public:
  explicit TClipboard(HWND owner) : Open_(OpenClipboard(owner) != 0) {}
  ~TClipboard() {
    if (Open_) CloseClipboard();
  }
  TClipboard(const TClipboard&) = delete;
  TClipboard& operator=(const TClipboard&) = delete;
  bool IsOpen() const { return Open_; }

 private:
  bool Open_;
};

// Global memory given to the clipboard, freed unless the clipboard took it.
class TGlobalMemory {
 public:
  explicit TGlobalMemory(std::size_t bytes) : Handle_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes)) {}
  ~TGlobalMemory() {
    if (Handle_) GlobalFree(Handle_);
  }
  TGlobalMemory(const TGlobalMemory&) = delete;
  TGlobalMemory& operator=(const TGlobalMemory&) = delete;
  HGLOBAL Get() const { return Handle_; }
  HGLOBAL Release() {
    HGLOBAL h = Handle_;
    Handle_ = nullptr;
    return h;
  }

 private:
  HGLOBAL Handle_;
};

// The clipboard's owner: the dialog once the shell has named it, else a hidden window of the link's own.
HWND OwnerWindow() {
  if (ClipboardOwner && IsWindow(ClipboardOwner)) return ClipboardOwner;
  static HWND fallback = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  return fallback;
}

bool EmptyTheClipboard() {
  TClipboard clipboard(OwnerWindow());
  return clipboard.IsOpen() && EmptyClipboard();
}

// The clipboard's text up to its first zero byte, never past the memory block; "" when it holds no text.
bool ReadClipboardText(std::string& text) {
  TClipboard clipboard(OwnerWindow());
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
  TClipboard clipboard(OwnerWindow());
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  TGlobalMemory memory(1);
  if (!memory.Get() || !SetClipboardData(CF_TEXT, memory.Get())) return false;
  memory.Release();
  return true;
}

}  // namespace

void AcadSetClipboardOwner(HWND owner) { ClipboardOwner = owner; }

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

std::string AcadGetWindowText(HWND window) {
  const LRESULT n = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  if (n <= 0) return {};
  const std::size_t size = 2 * (static_cast<std::size_t>(n) + 1);
  std::vector<char> buffer(size, '\0');
  SendMessageA(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
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
  bool ok = EmptyTheClipboard();
  if (ok) {
    SendMessageA(AcadTextWindow, WM_COMMAND, kCopyHistoryCommand, 0);
    ok = ReadClipboardText(text) && StoreEmptyText();
  }
  // In every case the clipboard is left empty; a failure anywhere ends the user's action without a message.
  const bool emptied = EmptyTheClipboard();
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
