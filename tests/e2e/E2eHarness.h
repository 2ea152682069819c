// Drives the real swivex.exe beside the stand-in CAD host: a fresh folder with a copy of the exe, the host
// started from a scenario, button presses and field edits by window messages, message boxes caught and closed,
// and the host's log of every WM_COPYDATA and its drawing read back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace swivex::e2e {

// One WM_COPYDATA the host received: its size, raw bytes and the text the host decoded (UTF-8).
struct TCopyData {
  unsigned long DwData = 0;
  unsigned long CbData = 0;
  std::string Bytes;
  std::string TextUtf8;
};

// A message box of the tool: caption and text.
struct TMessageBox {
  std::wstring Caption;
  std::wstring Text;
};

// One object of the host's drawing (world coordinates): a LINE or an LWPOLYLINE.
struct TDrawnObject {
  std::string Type;
  bool New = false;
  std::vector<std::vector<double>> Points;  // LINE: start, end; LWPOLYLINE: the vertices (x, y)
};

class TSession {
 public:
  // scenarioUtf8: the stand-in's scenario lines; withHost false runs the tool alone. keepFolder: the folder to
  // run in and to leave behind (the demonstration); empty for a fresh temporary folder removed at the end.
  // withTool false starts the host alone (the benchmark runs the workflows in its own process). toolFolder: a
  // folder that already holds swivex.exe to start it from (one that cannot be written); empty: the session's.
  explicit TSession(const std::string& scenarioUtf8, bool withHost = true, const std::wstring& keepFolder = L"",
                    bool withTool = true, const std::wstring& toolFolder = L"");
  ~TSession();
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;

  HWND Form() const { return Form_; }
  const std::wstring& Folder() const { return Folder_; }
  DWORD ToolProcessId() const { return ToolProcess_.dwProcessId; }
  HANDLE ToolProcess() const { return ToolProcess_.hProcess; }

  std::wstring Field(int id) const;
  std::wstring Caption() const;
  void SetField(int id, const std::wstring& text) const;

  // Presses a button (posted, so a capture that waits does not block the driver) and waits until the action
  // has run to its end, closing every message box of the tool on the way; returns those boxes.
  std::vector<TMessageBox> Press(int buttonId, DWORD timeoutMs = 30000);
  // Presses a button without waiting.
  void PressNoWait(int buttonId) const;
  int ActionsDone() const;
  // Waits until more than `before` actions have run to their end, closing the tool's message boxes on the way.
  std::vector<TMessageBox> WaitForActions(int before, DWORD timeoutMs = 30000);
  // A key pressed in a control as the keyboard delivers it (posted key down, `repeats` auto-repeated downs while
  // held, key up); does not wait.
  void PostKey(int controlId, UINT virtualKey, int repeats = 0) const;

  // Closes the tool as the user does (its close box) and waits for it to end; starts it again in the same folder.
  void StopTool();
  void StartTool();

  // Message boxes now open, read and closed.
  std::vector<TMessageBox> TakeMessageBoxes() const;

  // The host's log: its WM_COPYDATA entries in order, and all lines.
  std::vector<TCopyData> CopyData() const;
  std::vector<std::string> LogLines() const;
  // The commands the tool typed (dwData 1), as decoded text, from the index'th WM_COPYDATA on.
  std::vector<std::string> Commands(std::size_t from = 0) const;

  // Types text into the host as a person would at its command line (dwData 1).
  void TypeIntoHost(const std::wstring& text) const;
  // Sends a scenario line to the host at run time (dwData 2).
  void HostControl(const std::string& lineUtf8) const;
  // The host's drawing, saved on request.
  std::vector<TDrawnObject> Drawing() const;
  HWND HostFrame() const { return HostFrame_; }
  // The tool's top-level windows of a window class (its balloon, its report window).
  std::vector<HWND> ToolWindows(const wchar_t* className) const;

  // The DXF files in the tool's folder.
  std::vector<std::wstring> DxfFiles() const;

 private:
  void StartHost(const std::string& scenarioUtf8);

  std::wstring Folder_;
  std::wstring ToolFolder_;  // empty: Folder_
  bool Keep_ = false;
  PROCESS_INFORMATION HostProcess_{};
  PROCESS_INFORMATION ToolProcess_{};
  HWND HostFrame_ = nullptr;
  HWND Form_ = nullptr;
};

// Bytes as UTF-16LE and as the ANSI code page.
std::string Utf16Le(const std::wstring& text);
std::string AnsiBytes(const std::wstring& text);
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);

// Polls `done` every 20 ms until it holds (true) or `timeoutMs` have passed (false).
bool WaitFor(DWORD timeoutMs, const auto& done) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(20);
  }
  return true;
}

// A window's text, asked for with a time-out (a hung window gives an empty text).
std::wstring WindowText(HWND w);

// A whole file's bytes; empty when it cannot be read.
std::string ReadWhole(const std::wstring& path);

// Removes the place the dialog saved when it closed (HKEY_CURRENT_USER\Software\Swivex of the Wine prefix): every
// session starts and ends as a first start.
void ForgetWindowPlace();

// The path of a file of the build (a Linux path under Wine's Z: drive).
std::wstring BuildPath(const char* linuxPath);

}  // namespace swivex::e2e
