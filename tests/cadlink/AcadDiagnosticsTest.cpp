// The connection report: which window counts as the main frame and why the others do not, and the text.
#include "cadlink/AcadDiagnostics.h"

#include <gtest/gtest.h>

namespace swivex {
namespace {

TMainFrameCandidate Candidate(const char* title, const char* cls, const char* whyNot) {
  TMainFrameCandidate c;
  c.Window = {title, cls, 7, ""};
  c.WhyNotUtf8 = whyNot;
  return c;
}

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The window the link uses is marked, though another that would pass comes first in Z-order.
TEST(ConnectionReport, TheLinksWindowIsTakenAndTheReportSaysWhyNotForTheOthers) {
  TConnectionReport r;
  r.Version = "1.2.3";
  r.AnsiCodePage = 932;
  r.Candidates = {Candidate("AutoCAD LT", "Notepad", "クラス名が違う"),
                  Candidate("Autodesk AutoCAD 2027 - [Start]", "AfxMDIFrame140u", ""),
                  Candidate("ACAD two", "AfxMDIFrame90u", "")};
  r.Candidates[1].UsedByLink = true;
  r.Candidates[1].Window.ProcessNameUtf8 = "acad.exe";
  JudgeMainFrameCandidates(r.Candidates);
  EXPECT_EQ(r.Candidates[0].Verdict, TMainFrameVerdict::ClassNotRecognised);
  EXPECT_EQ(r.Candidates[1].Verdict, TMainFrameVerdict::Taken);
  EXPECT_EQ(r.Candidates[2].Verdict, TMainFrameVerdict::OtherWindowTaken);
  r.PromptLine = {true, {"Headlands", "Afx:400000:8", 7, ""}};
  r.PromptAnswered = true;
  r.PromptUtf8 = "コマンド: ";
  const std::string text = FormatConnectionReport(r);
  EXPECT_TRUE(Holds(text, "1.2.3"));
  EXPECT_TRUE(Holds(text, "932"));
  EXPECT_TRUE(Holds(text, "\"Autodesk AutoCAD 2027 - [Start]\"、クラス \"AfxMDIFrame140u\"、プロセス 7 (acad.exe)\r\n    → メイン フレームとして使います"));
  EXPECT_TRUE(Holds(text, "\"Notepad\"、プロセス 7\r\n    → 使いません: クラス名が違う\r\n"));
  EXPECT_TRUE(Holds(text, "テキスト ウィンドウ: 見つかりません"));
  EXPECT_TRUE(Holds(text, "プロンプト \"Headlands\": あり (タイトル \"Headlands\""));
  EXPECT_TRUE(Holds(text, "現在のプロンプト: \"コマンド: \""));
}

TEST(ConnectionReport, NothingFoundAndAHungPromptAreSaidSo) {
  TConnectionReport r;
  r.AnsiCodePage = 1252;
  const std::string alone = FormatConnectionReport(r);
  EXPECT_TRUE(Holds(alone, "Shift-JIS (932) ではありません"));
  EXPECT_TRUE(Holds(alone, "なし: AutoCAD が起動していない"));
  EXPECT_TRUE(Holds(alone, "(読めません: プロンプトのウィンドウがありません)"));
  r.PromptLine.Found = true;
  EXPECT_TRUE(Holds(FormatConnectionReport(r), "(読めません: AutoCAD が応答しません)"));
}

}  // namespace
}  // namespace swivex
