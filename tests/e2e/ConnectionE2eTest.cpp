// Without a usable AutoCAD a button says why in a balloon (no modal box); the window menu's connection report
// and version information.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "E2eChecks.h"

namespace swivex::e2e {
namespace {

const std::wstring kSeeTheReport = L"ウィンドウ メニューの「接続の診断...」で原因を確認できます。";

bool Holds(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// Nothing changes but the balloon: no caption, no length, no export; 作成 still shows the typed angle.
TEST(ConnectionE2e, NoHostBalloonOnEitherButtonAndTheReportSaysNoneFound) {
  TSession s("", false);
  EXPECT_TRUE(s.Press(IdButton2).empty()) << "no modal box";
  EXPECT_EQ(VisibleNotice(s), L"AutoCAD が見つかりません。" + kSeeTheReport);
  EXPECT_EQ(s.Caption(), L"回転処理");
  EXPECT_EQ(s.Field(IdKyori), L"");
  EXPECT_TRUE(s.DxfFiles().empty());
  PostMessageW(s.Form(), WM_LBUTTONDOWN, 0, 0);  // the next click in the dialog ends it
  Sleep(200);
  EXPECT_EQ(VisibleNotice(s), L"");
  SetNewAngle(s, L"-10", L"30", L"0");
  EXPECT_TRUE(s.Press(IdButton1).empty());
  EXPECT_EQ(VisibleNotice(s), L"AutoCAD が見つかりません。" + kSeeTheReport);
  EXPECT_EQ(s.Field(IdKakudo2), L"-10.50000000");

  const std::wstring report = ReportText(s);
  EXPECT_TRUE(Holds(report, L"バージョン: ")) << Narrow(report);
  EXPECT_TRUE(Holds(report, L"ANSI コード ページ: 932 (Shift-JIS)"));
  EXPECT_TRUE(Holds(report, L"なし: AutoCAD が起動していないか")) << Narrow(report);
  EXPECT_TRUE(Holds(report, L"プロンプト \"Headlands\": 見つかりません"));
}

TEST(ConnectionE2e, NoCommandLineSaysSoAndSendsNothing) {
  // The command line floats in a window whose title the tool does not know: no prompt to read.
  TSession s(Scenario("command-line floating\nfloating-title Palette\nline 0,0 1,0"));
  EXPECT_TRUE(s.Press(IdButton2).empty());
  EXPECT_EQ(VisibleNotice(s), L"AutoCAD のコマンド ラインが見つからないか、プロンプトが空です。" + kSeeTheReport);
  EXPECT_TRUE(s.Commands().empty());
  const std::wstring report = ReportText(s);
  EXPECT_TRUE(Holds(report, L"→ メイン フレームとして使います")) << Narrow(report);
  EXPECT_TRUE(Holds(report, L"フローティング コマンド ライン: 見つかりません"));
  EXPECT_TRUE(Holds(report, L"コマンド ライン \"MountTam\": 見つかりません"));
}

TEST(ConnectionE2e, ReportListsTheHostsWindowsAndTouchesNothing) {
  TSession s(Scenario("title Autodesk AutoCAD 2027 - [Drawing1.dwg]\nframe-class AfxMDIFrame140u\nline 0,0 1,0"));
  const std::wstring report = ReportText(s);
  EXPECT_TRUE(Holds(report, L"タイトル \"Autodesk AutoCAD 2027 - [Drawing1.dwg]\"、クラス \"AfxMDIFrame140u\"、プロセス "))
      << Narrow(report);
  EXPECT_TRUE(Holds(report, L"→ メイン フレームとして使います"));
  EXPECT_TRUE(Holds(report, L"テキスト ウィンドウ: あり (タイトル \"AutoCAD テキスト ウィンドウ - Drawing1.dwg\""));
  EXPECT_TRUE(Holds(report, L"プロンプト \"Headlands\": あり (タイトル \"Headlands\"、クラス \"SwivexStandinLine\""));
  EXPECT_TRUE(Holds(report, L"コマンド ライン \"MountTam\": あり"));
  EXPECT_TRUE(Holds(report, L"現在のプロンプト: \"コマンド: \""));
  EXPECT_TRUE(s.CopyData().empty()) << "no command typed";
  for (const auto& line : s.LogLines()) EXPECT_EQ(line.find("history-copy"), std::string::npos) << "clipboard used";

  PostMessageW(s.Form(), WM_SYSCOMMAND, kSysCommandAbout, 0);
  std::vector<TMessageBox> boxes;
  for (int i = 0; i < 250 && boxes.empty(); ++i, Sleep(20)) boxes = s.TakeMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, L"角度を変更する");
  EXPECT_TRUE(Holds(boxes[0].Text, L"バージョン ")) << Narrow(boxes[0].Text);

  // A host that stops answering does not freeze the report: its prompt is given up on after a short wait.
  s.HostControl("hang forever");
  const ULONGLONG start = GetTickCount64();
  const std::wstring hung = ReportText(s, report);
  EXPECT_LT(GetTickCount64() - start, 4000u);
  EXPECT_TRUE(Holds(hung, L"→ メイン フレームとして使います")) << Narrow(hung);
  EXPECT_TRUE(Holds(hung, L"現在のプロンプト: (読めません: AutoCAD が応答しません)"));
}

// Inventor (an Autodesk title and the same MFC frame, but not acad.exe), in front of AutoCAD: never typed into; the
// report names each candidate's process and why it is or is not taken, and says where exports go.
TEST(ConnectionE2e, AnotherAutodeskProgramInFrontIsNeverTypedInto) {
  TSession s(Scenario("title Autodesk AutoCAD 2027 - [Drawing1.dwg]\nframe-class mdi140\nline 0,0 3,4"));
  std::ofstream(std::filesystem::path(s.Folder() + L"inventor.txt"), std::ios::binary)
      << "title Autodesk Inventor Professional 2024 - [Part1]\nframe-class mdi140\nlog " << Narrow(s.Folder())
      << "inventor.log\n";
  PROCESS_INFORMATION inventor = StartOtherProgram(s, L"Inventor.exe", L"\"" + s.Folder() + L"inventor.txt\"");
  ASSERT_TRUE(inventor.hProcess);
  EXPECT_TRUE(s.Press(IdButton2).empty());
  ExpectMeasurement(s, L"回転処理　線", L"5.000000", L"53.13010235", L"53", L"7", L"48.368475");
  const std::wstring report = ReportText(s);
  EndOtherProgram(inventor);
  const std::string log = ReadWhole(s.Folder() + L"inventor.log");
  EXPECT_EQ(log.find("copydata"), std::string::npos) << log;
  EXPECT_TRUE(Holds(report, L"\"Autodesk Inventor Professional 2024 - [Part1]\"、クラス \"AfxMDIFrame140u\"、プロセス "))
      << Narrow(report);
  EXPECT_TRUE(Holds(report, L" (Inventor.exe)\r\n    → 使いません: プロセスが acad.exe でも acadlt.exe でもない"));
  EXPECT_TRUE(Holds(report, L" (acad.exe)\r\n    → メイン フレームとして使います"));
  EXPECT_TRUE(Holds(report, L"書き出し先: \"" + s.Folder() + L"\" (swivex.exe のフォルダ)"));
}

}  // namespace
}  // namespace swivex::e2e
