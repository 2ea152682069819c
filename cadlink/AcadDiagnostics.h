// The connection report ("接続の診断"): what the tool sees of AutoCAD's windows, so that a user whose 取込 does
// nothing can find out why. Gathering only reads window titles, classes and the prompt text (with a short
// timeout); it types nothing and leaves the clipboard alone. The texts are UTF-8; the report is formatted
// portably, the gathering (AcadDiagnostics.cpp) needs Win32.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace swivex {

// A window as the report shows it.
struct TReportWindow {
  std::string TitleUtf8;
  std::string ClassUtf8;
  std::uint32_t ProcessId = 0;
  std::string ProcessNameUtf8;  // the process's image file name ("acad.exe"); empty when it could not be read
};

// Why a window whose title passes the main frame's title test is or is not taken as the main frame.
enum class TMainFrameVerdict { Taken, ClassNotRecognised, OtherWindowTaken };

struct TMainFrameCandidate {
  TReportWindow Window;
  std::string WhyNotUtf8;  // why its class or its process is not AutoCAD's main frame's; empty when it is
  bool UsedByLink = false;  // the window the link sends its commands to
  TMainFrameVerdict Verdict = TMainFrameVerdict::ClassNotRecognised;
};

// One of the windows the link looks for: found or not, and which.
struct TFoundWindow {
  bool Found = false;
  TReportWindow Window;
};

struct TConnectionReport {
  std::string Version;
  unsigned AnsiCodePage = 0;
  std::vector<TMainFrameCandidate> Candidates;  // in enumeration order
  TFoundWindow TextWindow, FloatingCommandLine, PromptLine, CommandLine;
  bool PromptAnswered = false;  // false when the prompt window did not answer in time
  std::string PromptUtf8;
  std::string ExportFolderUtf8;  // the report's line on the export folder: which path and why
};

// Sets each candidate's verdict: the one the link uses is taken; another that would pass is not, and says so.
void JudgeMainFrameCandidates(std::vector<TMainFrameCandidate>& candidates);

// The report as the user copies it: plain text, lines ending in CR LF.
std::string FormatConnectionReport(const TConnectionReport& report);

// Gathers the report (Win32 only). version: the tool's version text.
TConnectionReport GatherConnectionReport(const std::string& version);

}  // namespace swivex
