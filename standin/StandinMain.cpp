// The stand-in CAD host: a Win32 program that looks and answers like a Japanese AutoCAD to the Swivex link.
// standin.exe SCENARIO [--ready FILE] [--log FILE] [--json FILE] [--dxf FILE]
// standin.exe --signal save|quit         (asks every running stand-in host to write its outputs, or to end)
// standin.exe --hold-clipboard MS [--ready FILE]   (only holds the clipboard open for MS milliseconds)
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <deque>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "standin/ClipboardPrograms.h"
#include "standin/Scenario.h"
#include "standin/StandinHost.h"
#include "standin/StandinText.h"
#include "standin/StandinView.h"

namespace swivex {
namespace {

THost Host;
HWND MainFrame, TextWindow, FloatingWindow, CommandBar, PromptLine, CommandLine, HistoryEdit;
UINT SaveMessage;
FILE* Log;
bool PickArmed;
bool ClipboardHeld;
int TypedCommands;
int TypedInputs;  // every typed command, for prompt-hidden-after
// The prompt as the prompt window shows it: each change of Host.Prompt with its time, the oldest still shown.
struct TPromptChange {
  ULONGLONG At;
  std::string Prompt;
};
std::deque<TPromptChange> PromptChanges;
ULONGLONG PromptHiddenUntil;

constexpr UINT_PTR kPickTimer = 1;
constexpr UINT_PTR kClipboardTimer = 2;
constexpr UINT_PTR kHistoryViewTimer = 3;  // the history window is redrawn once input pauses, not per message
constexpr int kBarHeight = 56;
constexpr WPARAM kCopyHistoryCommand = 32781;
constexpr UINT kHangMessage = WM_APP + 1;  // lParam: milliseconds, negative for ever
constexpr const wchar_t* kPropName = L"SwivexStandin";

void LogLine(const std::string& line) {
  if (!Log) return;
  std::fputs((line + "\n").c_str(), Log);
  std::fflush(Log);
}

bool WriteFileUtf8(const std::string& path, const std::string& content) {
  std::ofstream out(std::filesystem::path(Wide(path)), std::ios::binary);
  out << content;
  return static_cast<bool>(out);
}

void SaveOutputs() {
  if (!Host.Scenario.JsonPath.empty())
    LogLine("save json=" + Host.Scenario.JsonPath + " ok=" + (WriteFileUtf8(Host.Scenario.JsonPath, HostToJson(Host)) ? "1" : "0"));
  if (!Host.Scenario.DxfPath.empty()) {
    std::ostringstream dxf;
    std::vector<int> all;
    for (std::size_t i = 0; i < Host.Entities.size(); ++i) all.push_back(static_cast<int>(i));
    WriteDxf(dxf, Host.Entities, all, 16, Host.Encode, TablesOf(Host));
    LogLine("save dxf=" + Host.Scenario.DxfPath + " ok=" + (WriteFileUtf8(Host.Scenario.DxfPath, dxf.str()) ? "1" : "0"));
  }
}

LRESULT DefProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return IsWindowUnicode(w) ? DefWindowProcW(w, m, wp, lp) : DefWindowProcA(w, m, wp, lp);
}

void HoldClipboard(int ms) {
  if (ClipboardHeld || ms <= 0) return;
  ClipboardHeld = OpenClipboard(MainFrame) != 0;
  LogLine("clipboard held ms=" + std::to_string(ms) + " ok=" + (ClipboardHeld ? "1" : "0"));
  if (ClipboardHeld) SetTimer(MainFrame, kClipboardTimer, static_cast<UINT>(ms), nullptr);
}

// A busy or hung AutoCAD: the user-interface thread handles nothing for a while, or never again.
void Hang(int ms) {
  LogLine(ms < 0 ? "hang forever" : "hang ms=" + std::to_string(ms));
  Sleep(ms < 0 ? INFINITE : static_cast<DWORD>(ms));
  LogLine("hang over");
}

// What the prompt window shows: a busy host shows each prompt prompt-lag ms late, a hidden command line nothing.
std::string ShownPrompt() {
  const ULONGLONG now = GetTickCount64();
  if (now < PromptHiddenUntil) return {};
  const ULONGLONG lag = static_cast<ULONGLONG>(Host.Scenario.PromptLagMs);
  while (PromptChanges.size() > 1 && PromptChanges[1].At + lag <= now) PromptChanges.pop_front();
  return PromptChanges.empty() ? Host.Prompt : PromptChanges.front().Prompt;
}

// After every change: repaint, show the history, and arm or disarm the scenario's pick.
void Refresh() {
  if (PromptChanges.empty() || PromptChanges.back().Prompt != Host.Prompt)
    PromptChanges.push_back({GetTickCount64(), Host.Prompt});
  if (MainFrame) InvalidateRect(MainFrame, nullptr, FALSE);
  if (PromptLine) InvalidateRect(PromptLine, nullptr, TRUE);
  if (CommandLine) InvalidateRect(CommandLine, nullptr, TRUE);
  // Rewriting the whole history on every typed message made long command runs slow (it grows with each point).
  if (HistoryEdit && MainFrame) SetTimer(MainFrame, kHistoryViewTimer, 30, nullptr);
  const bool waiting = WaitingForPick(Host);
  const TPickPlan& plan = Host.Scenario.Pick;
  if (waiting && !PickArmed &&
      (plan.Mode == TPickMode::Entity || plan.Mode == TPickMode::Cancel || plan.Mode == TPickMode::Enter)) {
    SetTimer(MainFrame, kPickTimer, static_cast<UINT>(plan.DelayMs > 0 ? plan.DelayMs : 1), nullptr);
    PickArmed = true;
  } else if (!waiting && PickArmed) {
    KillTimer(MainFrame, kPickTimer);
    PickArmed = false;
  }
}

void CopyHistoryToClipboard() {
  const THistoryCopy mode = Host.Scenario.HistoryCopy;
  std::string bytes = mode == THistoryCopy::Raw ? Ansi(Wide(Host.Scenario.HistoryRaw)) : Ansi(Wide(HistoryText(Host)));
  if (!OpenClipboard(TextWindow)) {
    LogLine("history-copy failed: the clipboard is held");
    return;
  }
  EmptyClipboard();
  if (mode != THistoryCopy::None) {
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1)) {
      if (char* p = static_cast<char*>(GlobalLock(memory))) {
        std::memcpy(p, bytes.data(), bytes.size());
        p[bytes.size()] = '\0';
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
      } else {
        GlobalFree(memory);
      }
    }
  }
  CloseClipboard();
  LogLine("history-copy bytes=" + std::to_string(mode == THistoryCopy::None ? 0 : bytes.size()));
}

bool HandleControl(const std::string& line) {
  std::string error;
  bool ok = true;
  if (line == "save") {
    SaveOutputs();
  } else if (line == "quit") {
    PostMessageW(MainFrame, WM_CLOSE, 0, 0);
  } else if (line == "cancel") {
    CancelCommand(Host);
  } else if (line.rfind("pick-now ", 0) == 0) {
    ok = PickEntity(Host, std::atoi(line.c_str() + 9));
    if (!ok) error = "nothing waits for a pick, or no such object";
  } else if (line.rfind("hold-clipboard ", 0) == 0) {
    HoldClipboard(std::atoi(line.c_str() + 15));
  } else if (line.rfind("hang ", 0) == 0) {
    // Posted, so that the control message itself is answered first.
    const std::string how = line.substr(5);
    const int ms = how == "forever" ? -1 : std::atoi(how.c_str());
    ok = how == "forever" || ms > 0;
    if (ok) PostMessageW(MainFrame, kHangMessage, 0, ms);
    else error = "hang needs milliseconds or forever";
  } else {
    ok = ApplyScenarioLine(Host, line, error);
    if (ok && line.rfind("prompt-hidden-after ", 0) == 0) TypedInputs = 0;  // counted from now on
  }
  LogLine(std::string("control ") + (ok ? "ok " : "error ") + Escaped(line) + (ok ? "" : " : " + error));
  Refresh();
  return ok;
}

LRESULT OnCopyData(HWND w, const COPYDATASTRUCT* cds) {
  if (!cds) return FALSE;
  const auto* bytes = static_cast<const unsigned char*>(cds->lpData);
  const std::size_t size = bytes ? cds->cbData : 0;
  if (cds->dwData == 2) return HandleControl(std::string(reinterpret_cast<const char*>(bytes), size)) ? TRUE : FALSE;
  std::wstring text;
  if (IsWindowUnicode(w)) {
    for (std::size_t i = 0; i + 1 < size; i += 2) {
      const wchar_t c = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
      if (c == 0) break;
      text += c;
    }
  } else {
    std::size_t n = 0;
    while (n < size && bytes[n] != 0) ++n;
    text = WideFromAnsi(reinterpret_cast<const char*>(bytes), static_cast<int>(n));
  }
  LogLine("copydata dwData=" + std::to_string(cds->dwData) + " cbData=" + std::to_string(cds->cbData) +
          " bytes=" + HexBytes(bytes, size) + " text=" + Escaped(Utf8(text)));
  if (cds->dwData != 1) return FALSE;
  FeedText(Host, CodePoints(text));
  Refresh();
  if (Host.Scenario.PromptHiddenAfter > 0 && ++TypedInputs == Host.Scenario.PromptHiddenAfter) {
    PromptHiddenUntil = GetTickCount64() + static_cast<ULONGLONG>(Host.Scenario.PromptHiddenMs);
    LogLine("prompt hidden ms=" + std::to_string(Host.Scenario.PromptHiddenMs));
  }
  // The command has taken effect, but its message is not answered until the hang is over.
  if (Host.Scenario.HangAfter > 0 && ++TypedCommands == Host.Scenario.HangAfter) Hang(Host.Scenario.HangMs);
  return TRUE;
}

RECT DrawingArea(HWND w) {
  RECT r;
  GetClientRect(w, &r);
  if (!Host.Scenario.Floating) r.bottom -= kBarHeight;
  return r;
}

LRESULT HandleFrame(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == SaveMessage && SaveMessage) {
    SaveOutputs();
    return 1;
  }
  switch (m) {
    case WM_COPYDATA:
      return OnCopyData(w, reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case kHangMessage:
      Hang(static_cast<int>(lp));
      return 0;
    case WM_SIZE:
      if (CommandBar && !Host.Scenario.Floating)
        MoveWindow(CommandBar, 0, HIWORD(lp) - kBarHeight, LOWORD(lp), kBarHeight, TRUE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      PaintDrawing(dc, DrawingArea(w), Host);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      const int index = HitTest(DrawingArea(w), Host, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      if (index >= 0 && PickEntity(Host, index)) {
        LogLine("pick click object=" + std::to_string(index));
        Refresh();
      }
      return 0;
    }
    case WM_CHAR:
      if (IsWindowUnicode(w) || wp < 0x80) {
        FeedChar(Host, static_cast<char32_t>(wp));
        Refresh();
      }
      return 0;
    case WM_TIMER:
      if (wp == kHistoryViewTimer) {
        KillTimer(w, kHistoryViewTimer);
        if (HistoryEdit) {
          SetWindowTextW(HistoryEdit, Wide(HistoryText(Host) + Host.Prompt + Host.Input).c_str());
          SendMessageW(HistoryEdit, EM_LINESCROLL, 0, 100000);
        }
      } else if (wp == kPickTimer) {
        KillTimer(w, kPickTimer);
        if (WaitingForPick(Host)) {
          if (Host.Scenario.Pick.Mode == TPickMode::Cancel) {
            CancelCommand(Host);
            LogLine("pick cancel");
          } else if (Host.Scenario.Pick.Mode == TPickMode::Enter) {
            SubmitInput(Host);
            LogLine("pick enter");
          } else {
            const bool ok = PickEntity(Host, Host.Scenario.Pick.Entity);
            LogLine("pick object=" + std::to_string(Host.Scenario.Pick.Entity) + (ok ? "" : " failed: no such object"));
          }
        }
        PickArmed = false;
        Refresh();
      } else if (wp == kClipboardTimer) {
        KillTimer(w, kClipboardTimer);
        if (ClipboardHeld) CloseClipboard();
        ClipboardHeld = false;
        LogLine("clipboard released");
      }
      return 0;
    case WM_CLOSE:
      // Outputs first, then straight out: under Wine without a window manager every DestroyWindow of a
      // top-level window costs about two seconds, and the process end takes the windows with it anyway.
      SaveOutputs();
      LogLine("exit");
      if (Log) std::fclose(Log);
      ExitProcess(0);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefProc(w, m, wp, lp);
}

LRESULT CALLBACK FrameProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  try {
    return HandleFrame(w, m, wp, lp);
  } catch (const std::exception& e) {
    LogLine(std::string("error in the main frame: ") + e.what());
  } catch (...) {
    LogLine("error in the main frame");
  }
  return 0;
}

// "Headlands" shows the prompt and "MountTam" the typed input: their WM_GETTEXT answers with that text, while
// their window titles (what another process reads with GetWindowText) stay the two names.
LRESULT CALLBACK LineProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  try {
    const std::wstring text = Wide(w == PromptLine ? ShownPrompt() : Host.Input);
    switch (m) {
      case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(text.size());
      case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<wchar_t*>(lp);
        const std::size_t room = static_cast<std::size_t>(wp);
        if (!buffer || room == 0) return 0;
        const std::size_t n = text.size() < room - 1 ? text.size() : room - 1;
        text.copy(buffer, n);
        buffer[n] = L'\0';
        return static_cast<LRESULT>(n);
      }
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        RECT r;
        GetClientRect(w, &r);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        const std::wstring shown = w == PromptLine ? text : L"> " + text;
        TextOutW(dc, 4, 4, shown.c_str(), static_cast<int>(shown.size()));
        EndPaint(w, &ps);
        return 0;
      }
    }
  } catch (...) {
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

LRESULT CALLBACK TextWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  try {
    switch (m) {
      case WM_COMMAND:
        if (wp == kCopyHistoryCommand && lp == 0) {
          CopyHistoryToClipboard();
          return 0;
        }
        break;
      case WM_SIZE:
        if (HistoryEdit) MoveWindow(HistoryEdit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
      case WM_CLOSE:
        ShowWindow(w, SW_HIDE);  // as AutoCAD: closing the text window only hides it
        return 0;
    }
  } catch (...) {
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_SIZE && w == FloatingWindow && CommandBar) {
    MoveWindow(CommandBar, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
    return 0;
  }
  if (m == WM_SIZE && w == CommandBar) {
    MoveWindow(PromptLine, 0, 0, LOWORD(lp), kBarHeight / 2, TRUE);
    MoveWindow(CommandLine, 0, kBarHeight / 2, LOWORD(lp), kBarHeight / 2, TRUE);
    return 0;
  }
  if (m == WM_CLOSE && w == FloatingWindow) return 0;  // the floating command line stays while the host runs
  return DefWindowProcW(w, m, wp, lp);
}

bool RegisterW(const std::wstring& name, WNDPROC proc) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name.c_str();
  return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CreateWindows() {
  const TScenario& s = Host.Scenario;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (s.Unicode) {
    if (!RegisterW(Wide(s.FrameClass), FrameProc)) return false;
    MainFrame = CreateWindowExW(0, Wide(s.FrameClass).c_str(), Wide(s.Title).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                40, 40, 900, 640, nullptr, nullptr, instance, nullptr);
  } else {
    const std::string cls = Ansi(Wide(s.FrameClass)), title = Ansi(Wide(s.Title));
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
    wc.lpszClassName = cls.c_str();
    if (!RegisterClassA(&wc)) return false;
    MainFrame = CreateWindowExA(0, cls.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 900, 640,
                                nullptr, nullptr, instance, nullptr);
  }
  if (!MainFrame) return false;
  SetPropW(MainFrame, kPropName, reinterpret_cast<HANDLE>(1));

  if (!RegisterW(L"SwivexStandinPanel", PlainProc) || !RegisterW(L"SwivexStandinLine", LineProc) ||
      !RegisterW(Wide(s.TextClass), TextWindowProc))
    return false;
  HWND barParent = MainFrame;
  if (s.Floating) {
    if (!RegisterW(Wide(s.FloatingClass), PlainProc)) return false;
    FloatingWindow = CreateWindowExW(WS_EX_TOOLWINDOW, Wide(s.FloatingClass).c_str(), Wide(s.FloatingTitle).c_str(),
                                     WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 700, 700, kBarHeight + 40, nullptr, nullptr,
                                     instance, nullptr);
    if (!FloatingWindow) return false;
    barParent = FloatingWindow;
  }
  // The two lines sit one level down, inside a panel, as AutoCAD's sit inside its command-line bar.
  CommandBar = CreateWindowExW(0, L"SwivexStandinPanel", L"", WS_CHILD | WS_VISIBLE, 0, 0, 600, kBarHeight, barParent,
                               nullptr, instance, nullptr);
  PromptLine = CreateWindowExW(0, L"SwivexStandinLine", L"Headlands", WS_CHILD | WS_VISIBLE, 0, 0, 600, kBarHeight / 2,
                               CommandBar, nullptr, instance, nullptr);
  CommandLine = CreateWindowExW(0, L"SwivexStandinLine", L"MountTam", WS_CHILD | WS_VISIBLE, 0, kBarHeight / 2, 600,
                                kBarHeight / 2, CommandBar, nullptr, instance, nullptr);
  TextWindow = CreateWindowExW(0, Wide(s.TextClass).c_str(), Wide(s.TextTitle).c_str(), WS_OVERLAPPEDWINDOW, 960, 40, 520,
                               420, nullptr, nullptr, instance, nullptr);
  if (!CommandBar || !PromptLine || !CommandLine || !TextWindow) return false;
  HistoryEdit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
                                0, 0, 520, 420, TextWindow, nullptr, instance, nullptr);
  RECT r;
  GetClientRect(barParent, &r);
  if (s.Floating) MoveWindow(CommandBar, 0, 0, r.right, r.bottom, TRUE);
  else MoveWindow(CommandBar, 0, r.bottom - kBarHeight, r.right, kBarHeight, TRUE);
  SendMessageW(CommandBar, WM_SIZE, 0, MAKELPARAM(r.right, kBarHeight));
  GetClientRect(TextWindow, &r);
  MoveWindow(HistoryEdit, 0, 0, r.right, r.bottom, TRUE);
  ShowWindow(MainFrame, SW_SHOWNORMAL);
  ShowWindow(TextWindow, SW_SHOWNOACTIVATE);
  UpdateWindow(MainFrame);
  return true;
}

std::string HandleText(HWND w) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%llu", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(w)));
  return buf;
}

void WriteReady(const std::string& path) {
  if (path.empty()) return;
  const std::string text = "pid " + std::to_string(GetCurrentProcessId()) + "\nmain " + HandleText(MainFrame) +
                           "\ntext " + HandleText(TextWindow) + "\nfloating " + HandleText(FloatingWindow) +
                           "\nprompt " + HandleText(PromptLine) + "\ncommand " + HandleText(CommandLine) + "\n";
  const std::string temp = path + ".tmp";
  if (WriteFileUtf8(temp, text)) MoveFileExW(Wide(temp).c_str(), Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING);
}

BOOL CALLBACK SignalProc(HWND w, LPARAM message) {
  if (GetPropW(w, kPropName)) {
    if (message == WM_CLOSE) PostMessageW(w, WM_CLOSE, 0, 0);
    else SendMessageTimeoutW(w, static_cast<UINT>(message), 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  }
  return TRUE;
}

int Signal(const std::wstring& what) {
  if (what == L"save") EnumWindows(SignalProc, static_cast<LPARAM>(SaveMessage));
  else if (what == L"quit") EnumWindows(SignalProc, WM_CLOSE);
  else return 2;
  return 0;
}

// Holds the clipboard open, as another program that keeps it would, then lets it go.
int HoldClipboardOnly(int ms, const std::string& ready) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"clipboard holder", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (!OpenClipboard(owner)) return 3;
  if (!ready.empty()) WriteFileUtf8(ready, "pid " + std::to_string(GetCurrentProcessId()) + "\n");
  Sleep(static_cast<DWORD>(ms));
  CloseClipboard();
  DestroyWindow(owner);
  return 0;
}

int Run() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args(argv + 1, argv + argc);
  LocalFree(argv);
  SaveMessage = RegisterWindowMessageW(L"SwivexStandinSave");
  std::wstring scenarioPath;
  std::string ready, log, json, dxf;
  int holdMs = -1;
  std::wstring ownClipboard, ownText;
  int managerMs = -1;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == L"--signal" && hasValue) return Signal(args[++i]);
    if (args[i] == L"--own-clipboard" && i + 2 < args.size()) {
      ownClipboard = args[++i];
      ownText = args[++i];
      continue;
    }
    if (args[i] == L"--clipboard-manager" && hasValue) {
      managerMs = _wtoi(args[++i].c_str());
      continue;
    }
    if (args[i] == L"--ready" && hasValue) ready = Utf8(args[++i]);
    else if (args[i] == L"--log" && hasValue) log = Utf8(args[++i]);
    else if (args[i] == L"--json" && hasValue) json = Utf8(args[++i]);
    else if (args[i] == L"--dxf" && hasValue) dxf = Utf8(args[++i]);
    else if (args[i] == L"--hold-clipboard" && hasValue) holdMs = _wtoi(args[++i].c_str());
    else scenarioPath = args[i];
  }
  if (holdMs >= 0) return HoldClipboardOnly(holdMs, ready);
  if (!ownClipboard.empty()) return OwnClipboard(ownClipboard == L"hung", ownText, ready);
  if (managerMs >= 0) return ManageClipboard(managerMs, ready);

  Host.Encode = [](std::string_view utf8) { return Ansi(Wide(std::string(utf8))); };
  std::string error;
  if (!scenarioPath.empty()) {
    std::ifstream in(std::filesystem::path(scenarioPath), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) error = "cannot read the scenario " + Utf8(scenarioPath);
    else ApplyScenarioText(Host, text.str(), error);
  }
  TScenario& s = Host.Scenario;
  if (!ready.empty()) s.ReadyPath = ready;
  if (!log.empty()) s.LogPath = log;
  if (!json.empty()) s.JsonPath = json;
  if (!dxf.empty()) s.DxfPath = dxf;
  if (!s.LogPath.empty()) Log = _wfopen(Wide(s.LogPath).c_str(), L"wb");
  if (!error.empty()) {
    LogLine("scenario error: " + error);
    std::fprintf(stderr, "standin: %s\n", error.c_str());
    if (!Log) MessageBoxW(nullptr, Wide(error).c_str(), L"standin", MB_OK | MB_ICONERROR);
    return 2;
  }
  if (!CreateWindows()) {
    LogLine("error: the windows could not be made");
    return 3;
  }
  LogLine("start pid=" + std::to_string(GetCurrentProcessId()) + " charset=" + (s.Unicode ? "unicode" : "ansi") +
          " frame-class=" + s.FrameClass + " command-line=" + (s.Floating ? "floating" : "docked"));
  HoldClipboard(s.HoldClipboardMs);
  Refresh();
  WriteReady(s.ReadyPath);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    if (IsWindowUnicode(msg.hwnd)) DispatchMessageW(&msg);
    else DispatchMessageA(&msg);
  }
  if (Log) std::fclose(Log);
  return 0;
}

}  // namespace
}  // namespace swivex

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return swivex::Run(); }
