// The real swivex.exe when things go wrong around it: the host closed while the tool waits for the pick, the
// clipboard held by another program, and field texts that are huge or not numbers at all. Each has a clear
// outcome: the dialog as it was or a conversion message, never a crash or a hang.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "E2eChecks.h"

namespace swivex::e2e {
namespace {

// Waits until the action started by PressNoWait has ended, closing and returning the tool's message boxes.
std::vector<TMessageBox> WaitForAction(const TSession& s, int before, DWORD timeoutMs) {
  std::vector<TMessageBox> boxes;
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (s.ActionsDone() == before && GetTickCount64() < end) {
    for (auto& box : s.TakeMessageBoxes()) boxes.push_back(box);
    Sleep(50);
  }
  EXPECT_GT(s.ActionsDone(), before) << "the action did not end";
  return boxes;
}

void ExpectUntouched(const TSession& s) {
  EXPECT_EQ(s.Caption(), L"回転処理");
  const TFields f = ReadFields(s);
  for (const auto* text : {&f.Kyori, &f.Kakudo, &f.Do, &f.Fun, &f.Byo, &f.Do2, &f.Fun2, &f.Byo2})
    EXPECT_EQ(*text, L"");
}

TEST(BadInputE2e, HostClosedWhileTheToolWaitsForThePick) {
  TSession s(Scenario("line 0,0 3,4", "pick never"));
  const int before = s.ActionsDone();
  s.PressNoWait(IdButton2);
  const ULONGLONG end = GetTickCount64() + 10000;
  while (FindCommand(s.CopyData(), "\x03SELECT SINGLE ") < 0 && GetTickCount64() < end) Sleep(50);
  ASSERT_GE(FindCommand(s.CopyData(), "\x03SELECT SINGLE "), 0);
  PostMessageW(s.HostFrame(), WM_CLOSE, 0, 0);
  // The next poll finds AutoCAD's window gone: the wait ends at once, nothing is exported, the balloon says so.
  EXPECT_TRUE(WaitForAction(s, before, 5000).empty());
  ExpectUntouched(s);
  EXPECT_EQ(VisibleNotice(s).rfind(L"AutoCAD が見つかりません。", 0), 0u);
  EXPECT_TRUE(s.DxfFiles().empty());
  EXPECT_EQ(s.Commands().back(), "\x03SELECT SINGLE ");
  // The tool lives on: without a host a redraw still shows the new direction.
  SetNewAngle(s, L"5", L"0", L"0");
  EXPECT_TRUE(s.Press(IdButton1).empty());
  EXPECT_EQ(s.Field(IdKakudo2), L" 5.00000000");
}

TEST(BadInputE2e, ClipboardHeldByAnotherProgramEndsTheCaptureSilently) {
  TSession s(Scenario("line 0,0 3,4"));
  const std::wstring ready = s.Folder() + L"holder-ready.txt";
  std::wstring line = L"\"" + BuildPath(SWIVEX_STANDIN_EXE) + L"\" --hold-clipboard 3000 --ready \"" + ready + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION holder{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &holder));
  const ULONGLONG end = GetTickCount64() + 10000;
  while (!std::filesystem::exists(std::filesystem::path(ready)) && GetTickCount64() < end) Sleep(20);
  ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(ready)));

  // The first history read fails: no message, no change, nothing sent after the first UCS query.
  EXPECT_TRUE(s.Press(IdButton2).empty());
  ExpectUntouched(s);
  EXPECT_EQ(s.Commands(), std::vector<std::string>{"\x03UCSORG "});

  EXPECT_EQ(WaitForSingleObject(holder.hProcess, 10000), WAIT_OBJECT_0);
  CloseHandle(holder.hProcess);
  CloseHandle(holder.hThread);
  // Once the clipboard is free the same button works.
  EXPECT_TRUE(s.Press(IdButton2).empty());
  ExpectMeasurement(s, L"回転処理　線", L"5.000000", L"53.13010235", L"53", L"7", L"48.368475");
  // The host was brought to the front, and the dialog still stays above it.
  EXPECT_TRUE(GetWindowLongW(s.Form(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  bool hostBelow = false;
  for (HWND w = GetWindow(s.Form(), GW_HWNDNEXT); w && !hostBelow; w = GetWindow(w, GW_HWNDNEXT))
    hostBelow = w == s.HostFrame();
  EXPECT_TRUE(hostBelow);
}

TEST(BadInputE2e, HugeAndOddFieldTexts) {
  TSession s(Scenario("lwpolyline 0,0 0,2 1,2"));
  s.Press(IdButton2);
  s.SetField(IdKakudo2, L"unchanged");
  const std::size_t before = s.CopyData().size();
  const std::wstring tooLarge = L"1" + std::wstring(400, L'0');
  struct TCase {
    std::wstring Do, Fun, Byo, Kyori, Message;
  };
  for (const TCase& c : {TCase{L"0", L"0", tooLarge, L"1", L"'" + tooLarge + L"' は浮動小数点数ではありません."},
                         TCase{L"0", L"0", L"0", L"三十", L"'三十' は浮動小数点数ではありません."}}) {
    SetNewAngle(s, c.Do, c.Fun, c.Byo);
    s.SetField(IdKyori, c.Kyori);
    const auto boxes = s.Press(IdButton1);
    ASSERT_EQ(boxes.size(), 1u) << Narrow(c.Message);
    EXPECT_EQ(boxes[0].Caption, L"角度を変更する");
    EXPECT_EQ(boxes[0].Text, c.Message);
  }
  EXPECT_EQ(s.CopyData().size(), before);

  // Extreme but valid numbers are drawn, the long command whole.
  SetNewAngle(s, L"2147483647", L"0", L"0");
  s.SetField(IdKyori, L"1e300");
  EXPECT_TRUE(s.Press(IdButton1).empty());
  EXPECT_EQ(s.Field(IdKakudo2), L"2147483647.00000000");
  const auto entries = s.CopyData();
  ASSERT_GT(entries.size(), before + 2);
  const TCopyData& pline = entries[entries.size() - 2];  // the last before the UNDO group's end
  const std::string command = pline.TextUtf8.substr(pline.TextUtf8.find("\x03PLINE "));
  EXPECT_EQ(command.rfind("\x03PLINE _non 0.000000,0.000000 ", 0), 0u) << command.substr(0, 60);
  EXPECT_GT(command.size(), 300u);
  EXPECT_EQ(pline.CbData, 2 * (pline.TextUtf8.size() + 1));
}

// A folder that happens to bear the export's name is not the export: the capture stops as when no file is there.
TEST(BadInputE2e, FolderInThePlaceOfTheExportIsNotAFile) {
  TSession s(Scenario("line 0,0 3,4", "pick cancel 150"));
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  for (int second = -2; second < 20; ++second) {
    ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
    t.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(second) * 10000000);
    const FILETIME utc{t.LowPart, t.HighPart};
    FILETIME local;
    SYSTEMTIME st;
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    wchar_t name[32];
    std::swprintf(name, 32, L"%02d%02d%02d%02d%02d%02d.DXF", st.wYear % 100, st.wMonth, st.wDay, st.wHour,
                  st.wMinute, st.wSecond);
    std::filesystem::create_directory(std::filesystem::path(s.Folder() + name));
  }
  EXPECT_TRUE(s.Press(IdButton2).empty());
  ExpectUntouched(s);
}

}  // namespace
}  // namespace swivex::e2e
