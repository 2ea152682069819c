// Gathering the connection report: the top-level windows that pass the main frame's title test, the windows the
// link finds, and the prompt. Titles are read as the link reads them (ANSI, 255 bytes), which for another
// process's window sends it no message; the prompt is asked for with a short timeout, so a hung AutoCAD cannot
// freeze the report.
#include <windows.h>

#include <vector>

#include "cadlink/AcadDiagnostics.h"
#include "cadlink/AcadLink.h"
#include "cadlink/AcadText.h"
#include "cadlink/ExportFolder.h"
#include "win32/CodePage.h"

namespace swivex {

namespace {

constexpr UINT kPromptTimeoutMs = 1000;

std::string Utf8OfAnsi(const std::string& ansi) { return WideToUtf8(AnsiToWide(ansi)); }

TReportWindow Describe(HWND w) {
  DWORD process = 0;
  GetWindowThreadProcessId(w, &process);
  return {Utf8OfAnsi(AcadWindowTitle(w)), Utf8OfAnsi(AcadWindowClass(w)), process, AcadProcessImageName(process)};
}

TFoundWindow Found(HWND w) {
  if (!w || !IsWindow(w)) return {};
  return {true, Describe(w)};
}

struct TScan {
  std::vector<TMainFrameCandidate> Candidates;
  std::vector<HWND> CandidateWindows;
  HWND Floating = nullptr;
};

BOOL CALLBACK ScanTopLevel(HWND w, LPARAM lp) noexcept {
  try {
    auto& scan = *reinterpret_cast<TScan*>(lp);
    // The tool's own windows are never AutoCAD (its balloon's text begins with "AutoCAD ").
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process == GetCurrentProcessId()) return TRUE;
    const std::string title = AcadWindowTitle(w);
    if (title.empty()) return TRUE;
    const std::string cls = AcadWindowClass(w);
    if (IsMainFrameTitle(title)) {
      TMainFrameCandidate c;
      c.Window = Describe(w);
      c.WhyNotUtf8 = WhyNotMainFrame(title, cls);
      if (c.WhyNotUtf8.empty()) c.WhyNotUtf8 = WhyNotAcadProcess(c.Window.ProcessNameUtf8);
      scan.Candidates.push_back(c);
      scan.CandidateWindows.push_back(w);
    }
    if (!scan.Floating && IsFloatingCommandLine(title, cls, [](unsigned char b) { return IsDBCSLeadByte(b) != 0; }))
      scan.Floating = w;
  } catch (...) {
    // a window that cannot be described is left out
  }
  return TRUE;
}

// The prompt's text (UTF-8), or false when the window did not answer within the timeout.
bool ReadPrompt(HWND prompt, std::string& utf8) {
  std::wstring text;
  if (!AcadReadWindowText(prompt, text, kPromptTimeoutMs)) return false;
  utf8 = WideToUtf8(text);
  return true;
}

}  // namespace

TConnectionReport GatherConnectionReport(const std::string& version) {
  TConnectionReport report;
  report.Version = version;
  report.AnsiCodePage = GetACP();
  TScan scan;
  EnumWindows(ScanTopLevel, reinterpret_cast<LPARAM>(&scan));
  report.Candidates = std::move(scan.Candidates);
  // The link's own searches, so the report shows what a capture would find, and marks the window it uses.
  const HWND used = AcadFindMainWindow();
  for (std::size_t i = 0; i < report.Candidates.size(); ++i)
    report.Candidates[i].UsedByLink = IsWindow(used) && scan.CandidateWindows[i] == used;
  JudgeMainFrameCandidates(report.Candidates);
  report.TextWindow = Found(AcadFindTextWindow());
  report.FloatingCommandLine = Found(scan.Floating);
  const HWND prompt = AcadFindPromptLine();
  report.PromptLine = Found(prompt);
  report.CommandLine = Found(AcadFindCommandLine());
  if (report.PromptLine.Found) {
    report.PromptAnswered = ReadPrompt(prompt, report.PromptUtf8);
  }
  report.ExportFolderUtf8 = ExportFolderReportLine(ChooseExportFolder());
  return report;
}

}  // namespace swivex
