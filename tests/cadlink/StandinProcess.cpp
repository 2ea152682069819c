#include "StandinProcess.h"

#include "win32/CodePage.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace swivex {

namespace {

std::wstring Wide(const std::string& utf8) { return Utf8ToWide(utf8); }
std::string Utf8(const std::wstring& w) { return WideToUtf8(w); }

// The build gives the exe's path as the build machine sees it; under Wine that is drive Z:.
std::wstring StandinExe() {
  std::wstring path = Wide(SWIVEX_STANDIN_EXE);
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

std::wstring NewFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"swivex-cadlink-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool Launch(const std::wstring& arguments, PROCESS_INFORMATION& process, const std::wstring& exe = StandinExe()) {
  std::wstring line = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process) != 0;
}

std::string ReadWhole(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Waits for a file to appear; false when the process ends or the time is up first.
bool WaitForFile(const std::wstring& path, HANDLE process, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 20) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0) return false;
  }
  return false;
}

HWND HandleFrom(const std::string& ready, const std::string& key) {
  std::istringstream in(ready);
  std::string k;
  unsigned long long v = 0;
  while (in >> k >> v)
    if (k == key) return reinterpret_cast<HWND>(static_cast<UINT_PTR>(v));
  return nullptr;
}

}  // namespace

std::string AnsiFromUtf8(const std::string& utf8) { return WideToAnsi(Utf8ToWide(utf8)); }

bool StartStandin(TStandin& s, const std::string& scenario, std::string& error) {
  s = TStandin{};
  s.Folder = NewFolder();
  const std::wstring scenarioPath = s.Folder + L"\\scenario.txt", ready = s.Folder + L"\\ready";
  DeleteFileW(ready.c_str());
  {
    std::ofstream out(scenarioPath.c_str(), std::ios::binary);
    out << scenario << "\nlog " << Utf8(s.Folder) << "\\standin.log\njson-out " << Utf8(s.Folder)
        << "\\drawing.json\nready-file " << Utf8(ready) << "\n";
  }
  // Run under AutoCAD's image name: the link takes only acad.exe's or acadlt.exe's windows.
  const std::wstring acad = s.Folder + L"\\acad.exe";
  if (!CopyFileW(StandinExe().c_str(), acad.c_str(), FALSE) || !Launch(L"\"" + scenarioPath + L"\"", s.Process, acad)) {
    error = "standin.exe did not start: " + Utf8(StandinExe());
    return false;
  }
  if (!WaitForFile(ready, s.Process.hProcess, 20000)) {
    error = "standin.exe was not ready; its log: " + StandinLog(s);
    StopStandin(s);
    return false;
  }
  const std::string text = ReadWhole(ready);
  s.Main = HandleFrom(text, "main");
  s.Text = HandleFrom(text, "text");
  s.Floating = HandleFrom(text, "floating");
  s.Prompt = HandleFrom(text, "prompt");
  s.Command = HandleFrom(text, "command");
  return true;
}

void StopStandin(TStandin& s) {
  if (!s.Process.hProcess) return;
  if (IsWindow(s.Main)) PostMessageW(s.Main, WM_CLOSE, 0, 0);
  WaitAndClose(s.Process, 10000);
}

void WaitAndClose(PROCESS_INFORMATION& process, DWORD ms) {
  if (!process.hProcess) return;
  if (WaitForSingleObject(process.hProcess, ms) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  process = PROCESS_INFORMATION{};
}

std::string StandinLog(const TStandin& s) { return ReadWhole(s.Folder + L"\\standin.log"); }

bool StandinControl(const TStandin& s, const std::string& line) {
  COPYDATASTRUCT record{2, static_cast<DWORD>(line.size()), const_cast<char*>(line.data())};
  return SendMessageW(s.Main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record)) != 0;
}

bool StartClipboardHolder(PROCESS_INFORMATION& process, int ms, std::string& error) {
  const std::wstring ready = NewFolder() + L"\\holding";
  if (!Launch(L"--hold-clipboard " + std::to_wstring(ms) + L" --ready \"" + ready + L"\"", process)) {
    error = "standin.exe --hold-clipboard did not start";
    return false;
  }
  if (!WaitForFile(ready, process.hProcess, 20000)) {
    error = "the clipboard holder did not report holding the clipboard";
    return false;
  }
  return true;
}

}  // namespace swivex
