#include "standin/ClipboardPrograms.h"

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "win32/CodePage.h"

namespace swivex {

namespace {

constexpr char kDelayedBytes[] = "rendered on request";

void WriteReadyFile(const std::string& path) {
  if (path.empty()) return;
  const std::filesystem::path target(Utf8ToWide(path)), temp(Utf8ToWide(path + ".tmp"));
  std::ofstream(temp, std::ios::binary) << "pid " << GetCurrentProcessId() << "\n";
  MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
}

HGLOBAL Memory(const void* bytes, std::size_t n) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, n);
  if (void* p = memory ? GlobalLock(memory) : nullptr) {
    std::memcpy(p, bytes, n);
    GlobalUnlock(memory);
  }
  return memory;
}

UINT DelayedFormat() { return RegisterClipboardFormatW(L"Swivex Delayed"); }

LRESULT CALLBACK OwnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_RENDERFORMAT && wp == DelayedFormat()) {
    Sleep(100);  // a render that takes a moment
    if (HGLOBAL memory = Memory(kDelayedBytes, sizeof kDelayedBytes))
      if (!SetClipboardData(DelayedFormat(), memory)) GlobalFree(memory);
    return 0;
  }
  if (m == WM_RENDERALLFORMATS) return 0;  // on exit the delayed format goes
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(w, m, wp, lp);
}

// The manager's window: a listener of clipboard changes.
struct TManager {
  int HoldMs = 0;
};

LRESULT CALLBACK ManagerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CLIPBOARDUPDATE) {
    const auto* manager = reinterpret_cast<const TManager*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (OpenClipboard(w)) {
      if (HANDLE text = GetClipboardData(CF_UNICODETEXT)) {
        GlobalLock(text);  // as a history would take a copy
        GlobalUnlock(text);
      }
      Sleep(static_cast<DWORD>(manager ? manager->HoldMs : 0));
      CloseClipboard();
    }
    return 0;
  }
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(w, m, wp, lp);
}

HWND MakeWindow(const wchar_t* className, WNDPROC proc) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  return CreateWindowExW(0, className, className, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

int RunMessages() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

}  // namespace

int OwnClipboard(bool hung, const std::wstring& text, const std::string& ready) {
  const HWND owner = MakeWindow(L"SwivexClipboardOwner", OwnerProc);
  bool open = false;
  for (int tries = 0; owner && !open && tries < 100; ++tries) {
    open = OpenClipboard(owner) != 0;  // a clipboard manager may hold it for a moment
    if (!open) Sleep(10);
  }
  if (!open) return 3;
  EmptyClipboard();
  const std::string ansi = WideToAnsi(text);
  if (HGLOBAL memory = Memory(ansi.c_str(), ansi.size() + 1))
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  SetClipboardData(DelayedFormat(), nullptr);
  CloseClipboard();
  WriteReadyFile(ready);
  if (hung) Sleep(INFINITE);
  return RunMessages();
}

int ManageClipboard(int holdMs, const std::string& ready) {
  static TManager manager;
  manager.HoldMs = holdMs;
  const HWND w = MakeWindow(L"SwivexClipboardManager", ManagerProc);
  if (!w) return 3;
  SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&manager));
  if (!AddClipboardFormatListener(w)) return 3;
  WriteReadyFile(ready);
  return RunMessages();
}

}  // namespace swivex
