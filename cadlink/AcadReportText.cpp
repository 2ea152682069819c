// The connection report's verdicts and text (portable).
#include <string>

#include "cadlink/AcadDiagnostics.h"

namespace swivex {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Describe(const TReportWindow& w) {
  return "タイトル " + Quoted(w.TitleUtf8) + "、クラス " + Quoted(w.ClassUtf8) + "、プロセス " +
         std::to_string(w.ProcessId) + (w.ProcessNameUtf8.empty() ? "" : " (" + w.ProcessNameUtf8 + ")");
}

std::string VerdictText(const TMainFrameCandidate& c) {
  switch (c.Verdict) {
    case TMainFrameVerdict::Taken:
      return "メイン フレームとして使います";
    case TMainFrameVerdict::ClassNotRecognised:
      return "使いません: " + c.WhyNotUtf8;
    case TMainFrameVerdict::OtherWindowTaken:
      return "使いません: 別の AutoCAD のウィンドウをメイン フレームとして使っています";
  }
  return {};
}

void AddFound(std::string& out, const char* what, const TFoundWindow& found) {
  out += what;
  out += found.Found ? ": あり (" + Describe(found.Window) + ")\r\n" : ": 見つかりません\r\n";
}

}  // namespace

void JudgeMainFrameCandidates(std::vector<TMainFrameCandidate>& candidates) {
  for (auto& c : candidates) {
    if (!c.WhyNotUtf8.empty()) c.Verdict = TMainFrameVerdict::ClassNotRecognised;
    else c.Verdict = c.UsedByLink ? TMainFrameVerdict::Taken : TMainFrameVerdict::OtherWindowTaken;
  }
}

std::string FormatConnectionReport(const TConnectionReport& report) {
  std::string out = "Swivex 接続の診断\r\n";
  out += "バージョン: " + report.Version + "\r\n";
  out += "ANSI コード ページ: " + std::to_string(report.AnsiCodePage) +
         (report.AnsiCodePage == 932 ? " (Shift-JIS)" : " (Shift-JIS (932) ではありません)") + "\r\n";
  out += "\r\nタイトルが \"AutoCAD \"、\"Autodesk \" または \"ACAD\" で始まるウィンドウ: " +
         std::to_string(report.Candidates.size()) + "\r\n";
  if (report.Candidates.empty()) out += "  なし: AutoCAD が起動していないか、タイトルが違います\r\n";
  for (const auto& c : report.Candidates) out += "  " + Describe(c.Window) + "\r\n    → " + VerdictText(c) + "\r\n";
  out += "\r\n";
  AddFound(out, "テキスト ウィンドウ", report.TextWindow);
  AddFound(out, "フローティング コマンド ライン", report.FloatingCommandLine);
  AddFound(out, "プロンプト \"Headlands\"", report.PromptLine);
  AddFound(out, "コマンド ライン \"MountTam\"", report.CommandLine);
  out += "現在のプロンプト: ";
  if (!report.PromptLine.Found) out += "(読めません: プロンプトのウィンドウがありません)\r\n";
  else if (!report.PromptAnswered) out += "(読めません: AutoCAD が応答しません)\r\n";
  else out += Quoted(report.PromptUtf8) + "\r\n";
  if (!report.ExportFolderUtf8.empty()) out += report.ExportFolderUtf8 + "\r\n";
  return out;
}

}  // namespace swivex
