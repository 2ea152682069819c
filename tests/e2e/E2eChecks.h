// Checks shared by the end-to-end tests: the command bytes a Unicode host received, world geometry, scenarios.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "E2eHarness.h"
#include "app/ControlIds.h"
#include "app/ReportWindow.h"
#include "app/SystemMenu.h"

namespace swivex::e2e {

// The default host: Unicode frame, world UCS, the scenario's pick after a short delay.
inline std::string Scenario(const std::string& objects, const std::string& pick = "pick 0 150") {
  return objects + "\n" + pick + "\n";
}

// 作成 asks AutoCAD for the UCS (UCSORG, UCSXDIR, UCSYDIR) before it draws anything.
inline constexpr std::size_t kUcsQueries = 3;

// The index of the first WM_COPYDATA from `from` on whose text equals command, or -1.
inline int FindCommand(const std::vector<TCopyData>& entries, const std::string& commandUtf8, std::size_t from = 0) {
  for (std::size_t i = from; i < entries.size(); ++i)
    if (entries[i].DwData == 1 && entries[i].TextUtf8 == commandUtf8) return static_cast<int>(i);
  return -1;
}

// What the sends from `from` on drew: each drawing command from its \x03PLINE, \x03_.3DPOLY or \x03LINE on (the
// same send first sets the drawing variables its copy needs).
inline std::vector<std::string> DrawingCommands(const TSession& s, std::size_t from) {
  std::vector<std::string> drawing;
  for (const std::string& c : s.Commands(from))
    for (const char* start : {"\x03PLINE ", "\x03_.3DPOLY ", "\x03LINE "})
      if (const auto at = c.find(start); at != std::string::npos) {
        drawing.push_back(c.substr(at));
        break;
      }
  return drawing;
}

// A command as a Unicode frame receives it: UTF-16LE with the terminator, nothing but zeros after it.
inline void ExpectUnicodeBytes(const TCopyData& entry, const std::wstring& command) {
  const std::string expected = Utf16Le(command) + std::string(2, '\0');
  ASSERT_GE(entry.Bytes.size(), expected.size()) << Narrow(command);
  EXPECT_EQ(entry.Bytes.substr(0, expected.size()), expected) << Narrow(command);
  EXPECT_EQ(entry.Bytes.find_first_not_of('\0', expected.size()), std::string::npos);
  EXPECT_EQ(entry.CbData, entry.Bytes.size());
}

inline void ExpectPoint(const std::vector<double>& got, double x, double y, double tolerance = 1e-6) {
  ASSERT_GE(got.size(), 2u);
  EXPECT_NEAR(got[0], x, tolerance);
  EXPECT_NEAR(got[1], y, tolerance);
}

inline std::vector<TDrawnObject> NewObjects(const TSession& s) {
  std::vector<TDrawnObject> drawn;
  for (const auto& o : s.Drawing())
    if (o.New) drawn.push_back(o);
  return drawn;
}

struct TFields {
  std::wstring Kyori, Kakudo, Do, Fun, Byo, Do2, Fun2, Byo2, Kakudo2;
};

inline TFields ReadFields(const TSession& s) {
  return {s.Field(IdKyori), s.Field(IdKakudo), s.Field(IdDo),  s.Field(IdFun),    s.Field(IdByo),
          s.Field(IdDo2),   s.Field(IdFun2),   s.Field(IdByo2), s.Field(IdKakudo2)};
}

inline void ExpectMeasurement(const TSession& s, const std::wstring& caption, const std::wstring& kyori,
                              const std::wstring& kakudo, const std::wstring& d, const std::wstring& m,
                              const std::wstring& sec) {
  const TFields f = ReadFields(s);
  EXPECT_EQ(s.Caption(), caption);
  EXPECT_EQ(f.Kyori, kyori);
  EXPECT_EQ(f.Kakudo, kakudo);
  EXPECT_EQ(f.Do, d);
  EXPECT_EQ(f.Fun, m);
  EXPECT_EQ(f.Byo, sec);
  EXPECT_EQ(f.Do2, d);
  EXPECT_EQ(f.Fun2, m);
  EXPECT_EQ(f.Byo2, sec);
}

// The text of the balloon the dialog shows when AutoCAD cannot be used; empty when none is shown.
inline std::wstring VisibleNotice(const TSession& s) {
  for (HWND tip : s.ToolWindows(L"tooltips_class32"))
    if (IsWindowVisible(tip)) return WindowText(tip);
  return {};
}

// Captures everything: the person types ALL at the selection prompt.
inline void CaptureAll(TSession& s) {
  s.PressNoWait(IdButton2);
  const ULONGLONG end = GetTickCount64() + 20000;
  while (FindCommand(s.CopyData(), "\x03SELECT SINGLE ") < 0 && GetTickCount64() < end) Sleep(50);
  const auto received = [&] {
    for (const auto& line : s.LogLines())
      if (line.find(" text=ALL") != std::string::npos) return true;
    return false;
  };
  // A host busy for a moment may refuse what is typed (its window then counts as hung): a person types it again.
  for (int attempt = 0; attempt < 3 && !received(); ++attempt) {
    s.TypeIntoHost(L"ALL ");
    WaitFor(2000, received);
  }
  const ULONGLONG done = GetTickCount64() + 20000;
  while (s.Field(IdKyori).empty() && GetTickCount64() < done) Sleep(50);
  if (s.Field(IdKyori).empty()) {
    const auto log = s.LogLines();
    std::string tail;
    for (std::size_t i = log.size() > 12 ? log.size() - 12 : 0; i < log.size(); ++i) tail += log[i] + "\n";
    ADD_FAILURE() << "the capture showed nothing; the host's log ends:\n" << tail;
  }
  Sleep(300);
}

inline void SetNewAngle(const TSession& s, const std::wstring& d, const std::wstring& m, const std::wstring& sec) {
  s.SetField(IdDo2, d);
  s.SetField(IdFun2, m);
  s.SetField(IdByo2, sec);
}

// Opens the connection report from the window menu and returns its text once it differs from `shown` (the text
// of a report window already open, which the new report replaces).
inline std::wstring ReportText(const TSession& s, const std::wstring& shown = L"") {
  PostMessageW(s.Form(), WM_SYSCOMMAND, kSysCommandConnectionReport, 0);
  for (int i = 0; i < 250; ++i) {
    for (HWND w : s.ToolWindows(kReportWindowClass)) {
      const std::wstring text = IsWindowVisible(w) ? WindowText(GetDlgItem(w, kReportTextId)) : L"";
      if (!text.empty() && text != shown) return text;
    }
    Sleep(20);
  }
  ADD_FAILURE() << "no report window";
  return {};
}


// Another program of the desktop: standin.exe copied into the session's folder as exeName and started with args
// and a ready file, which it writes once it is up (returned with its process; hProcess null when it did not start).
inline PROCESS_INFORMATION StartOtherProgram(const TSession& s, const std::wstring& exeName, const std::wstring& args) {
  const std::wstring exe = s.Folder() + exeName, ready = s.Folder() + exeName + L".ready";
  PROCESS_INFORMATION pi{};
  DeleteFileW(ready.c_str());
  if (!CopyFileW(BuildPath(SWIVEX_STANDIN_EXE).c_str(), exe.c_str(), FALSE)) return pi;
  std::wstring line = L"\"" + exe + L"\" " + args + L" --ready \"" + ready + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, s.Folder().c_str(), &si, &pi)) return {};
  WaitFor(20000, [&] { return GetFileAttributesW(ready.c_str()) != INVALID_FILE_ATTRIBUTES; });
  return pi;
}

inline void EndOtherProgram(PROCESS_INFORMATION& pi) {
  if (!pi.hProcess) return;
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  pi = {};
}

}  // namespace swivex::e2e
