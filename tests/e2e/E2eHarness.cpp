#include "E2eHarness.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "win32/CodePage.h"

namespace swivex::e2e {

namespace {

constexpr wchar_t kFormClass[] = L"TSwivexF";
constexpr wchar_t kActionsDone[] = L"SwivexActionsDone";
constexpr UINT kTimeoutMs = 10000;

struct TFind {
  DWORD Pid;
  const wchar_t* Class;
  std::vector<HWND> Found;
};

BOOL CALLBACK FindWindows(HWND w, LPARAM lp) {
  auto* find = reinterpret_cast<TFind*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  if (pid == find->Pid && (!find->Class || wcscmp(cls, find->Class) == 0)) find->Found.push_back(w);
  return TRUE;
}

std::vector<HWND> TopWindows(DWORD pid, const wchar_t* cls) {
  TFind find{pid, cls, {}};
  EnumWindows(FindWindows, reinterpret_cast<LPARAM>(&find));
  return find.Found;
}

PROCESS_INFORMATION Start(const std::wstring& exe, const std::wstring& args, const std::wstring& cwd) {
  std::wstring line = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi))
    throw std::runtime_error("cannot start " + Narrow(exe) + ": error " + std::to_string(GetLastError()));
  return pi;
}

void Stop(PROCESS_INFORMATION& pi, HWND window) {
  if (!pi.hProcess) return;
  if (window && IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  pi = {};
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() + 0 && s[i + 1] == 'x') {
      out += static_cast<char>(std::strtoul(s.substr(i + 2, 2).c_str(), nullptr, 16));
      i += 3;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string ValueAfter(const std::string& line, const std::string& key) {
  const auto at = line.find(key);
  if (at == std::string::npos) return {};
  const auto begin = at + key.size();
  return line.substr(begin, line.find(' ', begin) - begin);
}

// Numbers of a JSON array starting at line[at] ('['), nested arrays flattened into rows of the innermost level.
std::vector<std::vector<double>> NumberRows(const std::string& line, std::size_t at) {
  std::vector<std::vector<double>> rows;
  int depth = 0;
  std::vector<double> row;
  for (std::size_t i = at; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '[') {
      ++depth;
      row.clear();
    } else if (c == ']') {
      if (!row.empty()) rows.push_back(row);
      row.clear();
      if (--depth == 0) break;
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      char* end = nullptr;
      row.push_back(std::strtod(line.c_str() + i, &end));
      i = static_cast<std::size_t>(end - line.c_str()) - 1;
    }
  }
  return rows;
}

}  // namespace

std::wstring Widen(const std::string& utf8) { return Utf8ToWide(utf8); }

std::string Narrow(const std::wstring& text) { return WideToUtf8(text); }

std::string Utf16Le(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>((c >> 8) & 0xFF);
  }
  return bytes;
}

std::string AnsiBytes(const std::wstring& text) { return WideToAnsi(text); }

std::wstring WindowText(HWND w) {
  std::wstring text(4096, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, kTimeoutMs,
                      &got);
  text.resize(got);
  return text;
}

std::string ReadWhole(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void ForgetWindowPlace() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Swivex"); }

std::wstring BuildPath(const char* linuxPath) {
  std::wstring path = L"Z:" + Widen(linuxPath);
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

TSession::TSession(const std::string& scenarioUtf8, bool withHost, const std::wstring& keepFolder, bool withTool,
                   const std::wstring& toolFolder)
    : ToolFolder_(toolFolder), Keep_(!keepFolder.empty()) {
  static int sessions = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  // A Japanese folder name: the exports' file names go through Shift-JIS.
  Folder_ = Keep_ ? keepFolder
                  : std::wstring(temp) + L"swivex-e2e-テスト-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++sessions) + L"\\";
  std::filesystem::remove_all(std::filesystem::path(Folder_));
  ForgetWindowPlace();  // a first start
  std::filesystem::create_directories(std::filesystem::path(Folder_ + L"host"));
  if (!CopyFileW(BuildPath(SWIVEX_EXE).c_str(), (Folder_ + L"swivex.exe").c_str(), FALSE))
    throw std::runtime_error("cannot copy swivex.exe");
  if (withHost) StartHost(scenarioUtf8);
  if (withTool) StartTool();
}

TSession::~TSession() {
  TakeMessageBoxes();
  Stop(ToolProcess_, Form_);
  Stop(HostProcess_, HostFrame_);
  ForgetWindowPlace();
  std::error_code ignored;
  if (!Keep_) std::filesystem::remove_all(std::filesystem::path(Folder_), ignored);
}

void TSession::StartHost(const std::string& scenarioUtf8) {
  const std::wstring host = Folder_ + L"host\\";
  std::ofstream(std::filesystem::path(host + L"scenario.txt"), std::ios::binary) << scenarioUtf8;
  // Under AutoCAD's image name: the tool takes only acad.exe's or acadlt.exe's windows.
  const std::wstring acad = host + L"acad.exe";
  if (!CopyFileW(BuildPath(SWIVEX_STANDIN_EXE).c_str(), acad.c_str(), FALSE))
    throw std::runtime_error("cannot copy standin.exe");
  HostProcess_ = Start(acad,
                       L"\"" + host + L"scenario.txt\" --ready \"" + host + L"ready.txt\" --log \"" + host +
                           L"host.log\" --json \"" + host + L"drawing.json\" --dxf \"" + host + L"drawing.dxf\"",
                       host);
  if (!WaitFor(30000, [&] { return std::filesystem::exists(std::filesystem::path(host + L"ready.txt")); }))
    throw std::runtime_error("the stand-in host did not get ready");
  const std::string ready = ReadWhole(host + L"ready.txt");
  HostFrame_ = reinterpret_cast<HWND>(
      static_cast<UINT_PTR>(std::strtoull(ready.c_str() + ready.find("main ") + 5, nullptr, 10)));
}

void TSession::StopTool() {
  Stop(ToolProcess_, Form_);
  Form_ = nullptr;
}

void TSession::StartTool() {
  const std::wstring& folder = ToolFolder_.empty() ? Folder_ : ToolFolder_;
  ToolProcess_ = Start(folder + L"swivex.exe", L"", folder);
  WaitForInputIdle(ToolProcess_.hProcess, 10000);
  if (!WaitFor(20000, [&] {
        const auto found = TopWindows(ToolProcess_.dwProcessId, kFormClass);
        if (!found.empty()) Form_ = found.front();
        return Form_ != nullptr;
      }))
    throw std::runtime_error("swivex.exe showed no dialog");
}

std::wstring TSession::Field(int id) const { return WindowText(GetDlgItem(Form_, id)); }

std::wstring TSession::Caption() const {
  wchar_t buf[256] = {};
  GetWindowTextW(Form_, buf, 256);
  return buf;
}

void TSession::SetField(int id, const std::wstring& text) const {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(GetDlgItem(Form_, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, kTimeoutMs, &ignored);
}

int TSession::ActionsDone() const { return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(Form_, kActionsDone))); }

void TSession::PressNoWait(int buttonId) const {
  PostMessageW(Form_, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Form_, buttonId)));
}

std::vector<TMessageBox> TSession::Press(int buttonId, DWORD timeoutMs) {
  const int before = ActionsDone();
  PressNoWait(buttonId);
  return WaitForActions(before, timeoutMs);
}

void TSession::PostKey(int controlId, UINT virtualKey, int repeats) const {
  const HWND control = GetDlgItem(Form_, controlId);
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(control, WM_KEYDOWN, virtualKey, scan | 1);
  for (int i = 0; i < repeats; ++i) PostMessageW(control, WM_KEYDOWN, virtualKey, scan | 1 | (1L << 30));
  PostMessageW(control, WM_KEYUP, virtualKey, scan | 1 | (1L << 30) | (1L << 31));
}

std::vector<TMessageBox> TSession::WaitForActions(int before, DWORD timeoutMs) {
  std::vector<TMessageBox> boxes;
  const bool done = WaitFor(timeoutMs, [&] {
    for (auto& box : TakeMessageBoxes()) boxes.push_back(box);
    return ActionsDone() > before || !IsWindow(Form_);
  });
  if (!done) throw std::runtime_error("the button's action did not end in time");
  return boxes;
}

std::vector<HWND> TSession::ToolWindows(const wchar_t* className) const {
  return TopWindows(ToolProcess_.dwProcessId, className);
}

std::vector<TMessageBox> TSession::TakeMessageBoxes() const {
  std::vector<TMessageBox> boxes;
  for (HWND box : TopWindows(ToolProcess_.dwProcessId, L"#32770")) {
    if (!IsWindowVisible(box)) continue;
    TMessageBox seen;
    wchar_t caption[256] = {};
    GetWindowTextW(box, caption, 256);
    seen.Caption = caption;
    seen.Text = WindowText(GetDlgItem(box, 0xFFFF));
    boxes.push_back(seen);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor(5000, [&] { return !IsWindow(box); });
  }
  return boxes;
}

std::vector<std::string> TSession::LogLines() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadWhole(Folder_ + L"host\\host.log"));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<TCopyData> TSession::CopyData() const {
  std::vector<TCopyData> entries;
  for (const std::string& line : LogLines()) {
    if (line.rfind("copydata ", 0) != 0) continue;
    TCopyData e;
    e.DwData = std::strtoul(ValueAfter(line, "dwData=").c_str(), nullptr, 10);
    e.CbData = std::strtoul(ValueAfter(line, "cbData=").c_str(), nullptr, 10);
    const auto bytesAt = line.find("bytes=") + 6;
    const auto textAt = line.find(" text=", bytesAt);
    std::istringstream hex(line.substr(bytesAt, textAt - bytesAt));
    std::string pair;
    while (hex >> pair) e.Bytes += static_cast<char>(std::strtoul(pair.c_str(), nullptr, 16));
    e.TextUtf8 = Unescape(line.substr(textAt + 6));
    entries.push_back(e);
  }
  return entries;
}

std::vector<std::string> TSession::Commands(std::size_t from) const {
  std::vector<std::string> texts;
  const auto entries = CopyData();
  for (std::size_t i = from; i < entries.size(); ++i)
    if (entries[i].DwData == 1) texts.push_back(entries[i].TextUtf8);
  return texts;
}

void TSession::TypeIntoHost(const std::wstring& text) const {
  std::wstring buffer = text + L'\0';
  COPYDATASTRUCT cds{1, static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), buffer.data()};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(HostFrame_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, kTimeoutMs, &ignored);
}

void TSession::HostControl(const std::string& lineUtf8) const {
  std::string buffer = lineUtf8;
  COPYDATASTRUCT cds{2, static_cast<DWORD>(buffer.size()), buffer.data()};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(HostFrame_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, kTimeoutMs, &ignored);
}

std::vector<TDrawnObject> TSession::Drawing() const {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(HostFrame_, RegisterWindowMessageW(L"SwivexStandinSave"), 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs,
                      &ignored);
  std::vector<TDrawnObject> objects;
  std::istringstream in(ReadWhole(Folder_ + L"host\\drawing.json"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("{\"index\":", 0) != 0) continue;
    TDrawnObject o;
    o.Type = ValueAfter(line, "\"type\":\"");
    o.Type = o.Type.substr(0, o.Type.find('"'));
    o.New = line.find("\"new\":true") != std::string::npos;
    if (o.Type == "LINE") {
      o.Points = NumberRows(line, line.find('[', line.find("\"start\":")));
      const auto end = NumberRows(line, line.find('[', line.find("\"end\":")));
      o.Points.insert(o.Points.end(), end.begin(), end.end());
    } else if (o.Type == "LWPOLYLINE") {
      o.Points = NumberRows(line, line.find('[', line.find("\"vertices\":")));
    }
    objects.push_back(o);
  }
  return objects;
}

std::vector<std::wstring> TSession::DxfFiles() const {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(Folder_))) {
    const std::wstring name = entry.path().filename().wstring();
    if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".DXF") == 0) names.push_back(name);
  }
  return names;
}

}  // namespace swivex::e2e
