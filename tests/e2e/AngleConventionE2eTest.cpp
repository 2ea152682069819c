// Directions in the chosen angle convention, full-width digits, whole angles pasted into 度, and the direction of
// a second pick (角度を図形から取得...) for a parallel copy: the real swivex.exe against the stand-in host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "E2eChecks.h"
#include "app/SystemMenu.h"
#include "app/ReportWindow.h"

namespace swivex::e2e {
namespace {

std::string Number(long double v, const char* format = "%.17Lg") {
  char buf[48];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

std::wstring GroupCaption(const TSession& s, int id) { return WindowText(GetDlgItem(s.Form(), id)); }

void ChooseFromMenu(const TSession& s, UINT command) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(s.Form(), WM_SYSCOMMAND, command, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
}

std::wstring Fields(const TSession& s, int d, int m, int sec) {
  return s.Field(d) + L" " + s.Field(m) + L" " + s.Field(sec);
}

std::string LastDrawingCommand(const TSession& s, std::size_t from) {
  const auto drawn = DrawingCommands(s, from);
  return drawn.empty() ? std::string() : drawn.back();
}

std::string Redraw(TSession& s, const std::wstring& d, const std::wstring& m, const std::wstring& sec) {
  SetNewAngle(s, d, m, sec);
  const std::size_t before = s.CopyData().size();
  EXPECT_TRUE(s.Press(IdButton1).empty());
  return LastDrawingCommand(s, before);
}

// A line at 数学角 −139°50′32″ (方向角 229°50′32″) from the origin and a line due north; the drawing's ANGBASE is
// 45° (written in radians), ANGDIR clockwise.
TEST(AngleConventionE2e, EachConventionShownTypedPastedAndTakenFromAnotherObject) {
  const long double pi = 3.141592653589793238462643383279502884L;
  const long double a = -(139.0L + 50.0L / 60 + 32.0L / 3600) * pi / 180;
  const long double ex = 100 * std::cos(a), ey = 100 * std::sin(a);
  TSession s(Scenario("angbase 45\nangdir 1\nline 0,0 " + Number(ex) + "," + Number(ey) + "\nline 10,10 10,30"));
  const std::string original =
      "\x03LINE _non 0.000000,0.000000 _non " + Number(ex, "%.6Lf") + "," + Number(ey, "%.6Lf") + " \r";

  s.Press(IdButton2);
  EXPECT_EQ(GroupCaption(s, IdGroupBox1), L"現在値");
  EXPECT_EQ(s.Field(IdKakudo), L"220.15777778");  // the third quadrant: −139°50′32″ as 数学角 shows it
  EXPECT_EQ(Fields(s, IdDo, IdFun, IdByo), L"220 9 28.000000");

  // Each convention at once, 現在値 and 変更後 alike, named in the group captions.
  ChooseFromMenu(s, kSysCommandBearing);
  EXPECT_EQ(GroupCaption(s, IdGroupBox1), L"現在値（方向角）");
  EXPECT_EQ(GroupCaption(s, IdGroupBox2), L"変更後（方向角）");
  EXPECT_EQ(s.Field(IdKakudo), L"229.84222222");
  EXPECT_EQ(Fields(s, IdDo, IdFun, IdByo), L"229 50 32.000000");
  EXPECT_EQ(Fields(s, IdDo2, IdFun2, IdByo2), L"229 50 32.000000");
  ChooseFromMenu(s, kSysCommandDrawingAngles);
  EXPECT_EQ(GroupCaption(s, IdGroupBox1), L"現在値（図面の設定）");
  EXPECT_EQ(s.Field(IdKakudo), L"184.84222222");
  EXPECT_EQ(Fields(s, IdDo2, IdFun2, IdByo2), L"184 50 32.000000");

  // A copy typed in 方向角 with full-width digits is the copy typed in 数学角.
  ChooseFromMenu(s, kSysCommandBearing);
  const std::string bearing30 = Redraw(s, L"３０", L"０", L"０．０");
  EXPECT_EQ(s.Field(IdKakudo2), L"30.00000000");
  ChooseFromMenu(s, kSysCommandMathAngle);
  EXPECT_EQ(s.Field(IdKakudo2), L"60.00000000");
  EXPECT_EQ(Redraw(s, L"60", L"0", L"0"), bearing30);
  EXPECT_EQ(bearing30, "\x03LINE _non 0.000000,0.000000 _non 50.000000,86.602540 \r");

  // A whole angle pasted into 度: split when the field is left, and when 作成 is pressed.
  ChooseFromMenu(s, kSysCommandBearing);
  SetNewAngle(s, L"２２９°５０′３２″", L"", L"");
  PostMessageW(GetDlgItem(s.Form(), IdDo2), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageW(GetDlgItem(s.Form(), IdDo2), WM_LBUTTONUP, 0, 0);
  PostMessageW(GetDlgItem(s.Form(), IdFun2), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageW(GetDlgItem(s.Form(), IdFun2), WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(WaitFor(5000, [&] { return s.Field(IdDo2) == L"229"; }));
  EXPECT_EQ(Fields(s, IdDo2, IdFun2, IdByo2), L"229 50 32");
  EXPECT_EQ(Redraw(s, L"229d50'32\"", L"", L""), original);
  EXPECT_EQ(Fields(s, IdDo2, IdFun2, IdByo2), L"229 50 32");

  // The direction of another object: 変更後 only; 作成 turns the captured line parallel to it.
  s.HostControl("pick 1 150");
  const int before = s.ActionsDone();
  const std::size_t sent = s.CopyData().size();
  PostMessageW(s.Form(), WM_SYSCOMMAND, kSysCommandAngleFromObject, 0);
  EXPECT_TRUE(s.WaitForActions(before).empty());
  EXPECT_EQ(Fields(s, IdDo2, IdFun2, IdByo2), L"0 0 0.000000");
  EXPECT_EQ(s.Field(IdKakudo2), L" 0.00000000");
  EXPECT_EQ(s.Field(IdKakudo), L"229.84222222");
  EXPECT_EQ(s.Caption(), L"回転処理　線");
  EXPECT_GE(FindCommand(s.CopyData(), "\x03SELECT SINGLE ", sent), 0) << "the pick as 取込 makes it";
  // Its export is named as a capture's (two within one second share the name).
  const auto picked = s.Commands(sent);
  EXPECT_TRUE(std::any_of(picked.begin(), picked.end(), [](const std::string& c) { return c.find("DXFOUT") != c.npos; }));
  ASSERT_FALSE(s.DxfFiles().empty());
  for (const auto& file : s.DxfFiles()) EXPECT_EQ(file.find_first_not_of(L"0123456789"), 12u);
  const std::size_t drawFrom = s.CopyData().size();
  s.Press(IdButton1);
  EXPECT_EQ(LastDrawingCommand(s, drawFrom), "\x03LINE _non 0.000000,0.000000 _non 0.000000,100.000000 \r");

  // Remembered for the next start.
  s.StopTool();
  s.StartTool();
  EXPECT_EQ(GroupCaption(s, IdGroupBox2), L"変更後（方向角）");

  // A header without ANGBASE and ANGDIR: the drawing's convention shows the mathematical angle, and says so.
  s.HostControl("header-angles no");
  s.HostControl("pick 0 150");
  ChooseFromMenu(s, kSysCommandDrawingAngles);
  s.Press(IdButton2);
  EXPECT_EQ(s.Field(IdKakudo), L"220.15777778");
  PostMessageW(s.Form(), WM_SYSCOMMAND, kSysCommandConnectionReport, 0);
  std::wstring report;
  EXPECT_TRUE(WaitFor(5000, [&] {
    for (HWND w : s.ToolWindows(kReportWindowClass)) report = WindowText(GetDlgItem(w, kReportTextId));
    return !report.empty();
  }));
  EXPECT_NE(report.find(L"$ANGBASE も $ANGDIR もありません"), std::wstring::npos) << Narrow(report);
}

// Without AutoCAD the second pick says why as 取込 does: a balloon, no box, nothing filled.
TEST(AngleConventionE2e, AngleFromAnObjectWithoutAutoCadShowsTheBalloon) {
  TSession s("", false);
  const int before = s.ActionsDone();
  PostMessageW(s.Form(), WM_SYSCOMMAND, kSysCommandAngleFromObject, 0);
  EXPECT_TRUE(s.WaitForActions(before).empty());
  EXPECT_EQ(VisibleNotice(s), L"AutoCAD が見つかりません。ウィンドウ メニューの「接続の診断...」で原因を確認できます。");
  EXPECT_EQ(Fields(s, IdDo2, IdFun2, IdByo2), L"  ");
}

}  // namespace
}  // namespace swivex::e2e
