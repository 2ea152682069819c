// Without a usable AutoCAD a button says why in a balloon (no modal box); the window menu's connection report
// and version information.
#include <gtest/gtest.h>

#include "E2eChecks.h"
#include "app/ReportWindow.h"
#include "app/SystemMenu.h"

namespace swivex::e2e {
namespace {

const std::wstring kSeeTheReport = L"ウィンドウ メニューの「接続の診断...」で原因を確認できます。";

// Opens the connection report from the window menu and returns its text once it differs from `shown` (the text
// of a report window already open, which the new report replaces).
std::wstring ReportText(const TSession& s, const std::wstring& shown = L"") {
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

}  // namespace
}  // namespace swivex::e2e
