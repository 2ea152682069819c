// The capture ("取込") of the real swivex.exe against the stand-in host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "E2eChecks.h"

namespace swivex::e2e {
namespace {

const std::wstring kLineCaption = L"回転処理　線";

TEST(CaptureE2e, StartsWithEmptyFieldsThenMeasuresAPickedLine) {
  TSession s(Scenario("line 0,0,0 3,4,0"));
  EXPECT_EQ(s.Caption(), L"回転処理");
  const TFields empty = ReadFields(s);
  for (const auto* f : {&empty.Kyori, &empty.Kakudo, &empty.Do, &empty.Fun, &empty.Byo, &empty.Do2, &empty.Fun2,
                        &empty.Byo2, &empty.Kakudo2})
    EXPECT_EQ(*f, L"");
  EXPECT_TRUE(s.Press(IdButton2).empty());
  ExpectMeasurement(s, kLineCaption, L"5.000000", L"53.13010235", L"53", L"7", L"48.368475");
  EXPECT_EQ(s.Field(IdKakudo2), L"");

  // The selection and the export, byte for byte, and the export left in the exe's folder under its time stamp.
  const auto entries = s.CopyData();
  const int select = FindCommand(entries, "\x03SELECT SINGLE ");
  ASSERT_GE(select, 3) << "three UCS queries come first";
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(select) + 4);
  ExpectUnicodeBytes(entries[select], L"\x03SELECT SINGLE ");
  ExpectUnicodeBytes(entries[select + 1], L"\x03" L"FILEDIA 0 ");
  ExpectUnicodeBytes(entries[select + 3], L"\x03" L"FILEDIA 1 ");
  const auto files = s.DxfFiles();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].size(), 16u);
  EXPECT_EQ(files[0].find_first_not_of(L"0123456789"), 12u);
  EXPECT_EQ(files[0].substr(12), L".DXF");
  ExpectUnicodeBytes(entries[select + 2],
                     L"\x03" L"DXFOUT \"" + s.Folder() + files[0] + L"\"\rVER 2000 OBJ PREV \r16 ");
}

std::string Number(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

// A UCS turned by 30°0′0.5″ (echoed as 0.8660,0.5000) and a line at 12°34′56.789″ in it: the capture reads the UCS
// at the export's full precision.
TEST(CaptureE2e, UcsAtTheExportsFullPrecision) {
  const double pi = 3.14159265358979323846;
  const double a = (30.0 + 0.5 / 3600) * pi / 180, b = (12.0 + 34.0 / 60 + 56.789 / 3600) * pi / 180;
  TSession s(Scenario("ucs-xdir " + Number(std::cos(a)) + "," + Number(std::sin(a)) + ",0\nucs-ydir " +
                      Number(-std::sin(a)) + "," + Number(std::cos(a)) + ",0\nline 0,0,0 " +
                      Number(100 * std::cos(a + b)) + "," + Number(100 * std::sin(a + b)) + ",0"));
  s.Press(IdButton2);
  ExpectMeasurement(s, kLineCaption, L"100.000000", L"12.58244139", L"12", L"34", L"56.789000");
}

// Esc stays silent; a circle keeps the previous values (and what 作成 draws) and says so in the balloon.
TEST(CaptureE2e, CancelledPickOrACircleKeepsThePreviousCapture) {
  TSession s(Scenario("line 1,1 1,3\ncircle 5,5 2"));
  s.Press(IdButton2);
  ExpectMeasurement(s, kLineCaption, L"2.000000", L"90.00000000", L"90", L"0", L"0.000000");
  s.HostControl("pick cancel 150");
  const std::size_t before = s.CopyData().size();
  EXPECT_TRUE(s.Press(IdButton2).empty());
  EXPECT_EQ(VisibleNotice(s), L"") << "a cancelled pick stays silent";
  ExpectMeasurement(s, kLineCaption, L"2.000000", L"90.00000000", L"90", L"0", L"0.000000");
  const auto after = s.Commands(before);
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after.back(), "\x03SELECT SINGLE ") << "no export after a cancelled pick";

  s.HostControl("pick 1 150");
  const std::size_t circle = s.CopyData().size();
  EXPECT_TRUE(s.Press(IdButton2).empty());
  const auto exported = s.Commands(circle);
  EXPECT_NE(std::find(exported.begin(), exported.end(), "\x03" "FILEDIA 1 "), exported.end()) << "the circle was exported";
  EXPECT_EQ(VisibleNotice(s), L"線またはポリラインを選んでください。前の値のままです。");
  ExpectMeasurement(s, kLineCaption, L"2.000000", L"90.00000000", L"90", L"0", L"0.000000");
  // The store still holds the first capture's line: 作成 draws it.
  SetNewAngle(s, L"0", L"0", L"0");
  s.Press(IdButton1);
  EXPECT_EQ(DrawingCommands(s, before).back(), "\x03LINE _non 1.000000,1.000000 _non 3.000000,1.000000 \r");
}

// A busy host: its prompt shows 150 ms late, then its command line reads empty for a second; a pick it reports in
// other words is still a pick. An Enter without a pick exports nothing (not the previous selection) and says so.
TEST(CaptureE2e, ABusyHostIsWaitedForAndAnUnfinishedPickNeverExportsThePreviousSelection) {
  TSession s(Scenario("line 0,0 3,4\nline 0,0 0,7\nprompt-lag 150\nfound-words 個見つかりました", "pick 0 400"));
  EXPECT_TRUE(s.Press(IdButton2).empty());
  ExpectMeasurement(s, kLineCaption, L"5.000000", L"53.13010235", L"53", L"7", L"48.368475");
  EXPECT_EQ(VisibleNotice(s), L"");

  s.HostControl("prompt-hidden-after 4 1000");  // from the selection on (after the three UCS queries)
  s.HostControl("pick 1 600");
  EXPECT_TRUE(s.Press(IdButton2).empty());
  ExpectMeasurement(s, kLineCaption, L"7.000000", L"90.00000000", L"90", L"0", L"0.000000");

  s.HostControl("pick enter 200");
  const std::size_t before = s.CopyData().size();
  EXPECT_TRUE(s.Press(IdButton2).empty());
  EXPECT_EQ(VisibleNotice(s), L"オブジェクトが選ばれなかったため、選択を取り消しました。前の値のままです。");
  ExpectMeasurement(s, kLineCaption, L"7.000000", L"90.00000000", L"90", L"0", L"0.000000");
  const auto after = s.Commands(before);
  ASSERT_GE(after.size(), 2u);
  EXPECT_EQ(after[after.size() - 2], "\x03SELECT SINGLE ");
  EXPECT_EQ(after.back(), "\x03") << "the selection is cancelled and nothing exported";
  EXPECT_TRUE(std::none_of(after.begin(), after.end(), [](const std::string& c) { return c.find("DXFOUT") != c.npos; }));
}

// An exe folder whose name the ANSI code page cannot hold ("é"): the export goes to its short name, and the
// connection report says which path it uses.
TEST(CaptureE2e, AFolderNameOutsideTheCodePageExportsByItsShortName) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"swivex-e2e-José-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  {
    TSession s(Scenario("line 0,0 3,4"), true, folder);
    EXPECT_TRUE(s.Press(IdButton2).empty());
    ExpectMeasurement(s, kLineCaption, L"5.000000", L"53.13010235", L"53", L"7", L"48.368475");
    ASSERT_EQ(s.DxfFiles().size(), 1u);
    std::string dxfout;
    for (const auto& c : s.Commands())
      if (c.rfind("\x03" "DXFOUT", 0) == 0) dxfout = c;
    EXPECT_EQ(dxfout.find("Jos"), std::string::npos) << dxfout;
    EXPECT_NE(dxfout.find("~"), std::string::npos) << dxfout;
    const std::wstring report = ReportText(s);
    EXPECT_NE(report.find(L"短い名前 (8.3)"), std::wstring::npos) << Narrow(report);
  }
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(folder), ignored);
}

TEST(CaptureE2e, PolylineOverAThousandVerticesShowsTheReadersErrorAndDrawsNothing) {
  std::string polyline = "lwpolyline";
  for (int i = 0; i < 1001; ++i) polyline += " " + std::to_string(i) + "," + std::to_string(i % 2);
  TSession s(Scenario(polyline));
  const auto boxes = s.Press(IdButton2);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, L"角度を変更する");
  EXPECT_FALSE(boxes[0].Text.empty());
  EXPECT_EQ(s.Field(IdKyori), L"");
  SetNewAngle(s, L"0", L"0", L"0");
  s.SetField(IdKyori, L"1");
  const std::size_t before = s.CopyData().size();
  s.Press(IdButton1);
  EXPECT_TRUE(s.Commands(before).empty());
}

TEST(CaptureE2e, ButtonsWaitForThePickAndClosingEndsTheCaptureCleanly) {
  TSession s(Scenario("line 0,0 1,0", "pick never"));
  const int before = s.ActionsDone();
  s.PressNoWait(IdButton2);
  Sleep(1200);
  s.PressNoWait(IdButton2);  // ignored while the first waits
  SetNewAngle(s, L"1", L"2", L"3");
  s.PressNoWait(IdButton1);  // ignored too
  Sleep(800);
  EXPECT_EQ(s.ActionsDone(), before);
  int selects = 0;
  for (const auto& c : s.Commands()) selects += c == "\x03SELECT SINGLE ";
  EXPECT_EQ(selects, 1);
  EXPECT_EQ(s.Field(IdKakudo2), L"");
  PostMessageW(s.Form(), WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(s.ToolProcess(), 5000), WAIT_OBJECT_0) << "the tool did not exit";
  DWORD code = 1;
  GetExitCodeProcess(s.ToolProcess(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(s.TakeMessageBoxes().empty());
}

TEST(CaptureE2e, AnsiHostGetsShiftJisBytes) {
  TSession s("charset ansi\nline 0,0 0,5\npick 0 150\n");
  s.Press(IdButton2);
  ExpectMeasurement(s, kLineCaption, L"5.000000", L"90.00000000", L"90", L"0", L"0.000000");
  const auto entries = s.CopyData();
  const auto files = s.DxfFiles();
  ASSERT_EQ(files.size(), 1u);
  const int out = FindCommand(entries, "\x03" "DXFOUT \"" + Narrow(s.Folder() + files[0]) + "\"\rVER 2000 OBJ PREV \r16 ");
  ASSERT_GE(out, 0);
  const std::string expected =
      AnsiBytes(L"\x03" L"DXFOUT \"" + s.Folder() + files[0] + L"\"\rVER 2000 OBJ PREV \r16 ") + '\0';
  EXPECT_EQ(entries[out].Bytes.substr(0, expected.size()), expected);
  EXPECT_NE(expected.find(AnsiBytes(L"テスト")), std::string::npos);
}

}  // namespace
}  // namespace swivex::e2e
