// The dialog's keyboard and its place, in the real swivex.exe: Enter in the new angle's fields or in the length
// presses 作成 once, Enter elsewhere and Esc do nothing; a restart reopens where the dialog was left, and a place
// that lies on no monitor comes back on screen.
#include <gtest/gtest.h>

#include "E2eChecks.h"

namespace swivex::e2e {
namespace {

RECT FrameOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

TEST(DialogE2e, EnterInTheNewAngleOrTheLengthPressesCreateOnceOtherKeysDoNothing) {
  TSession s(Scenario("lwpolyline 0,0 0,2 1,2"));
  s.Press(IdButton2);
  SetNewAngle(s, L"30", L"0", L"0");
  std::size_t before = s.CopyData().size();
  s.Press(IdButton1);
  const auto byButton = s.Commands(before);
  ASSERT_FALSE(byButton.empty());

  // Held down for a moment in one field: the auto-repeated downs draw nothing more.
  for (int id : {IdDo2, IdFun2, IdByo2, IdKyori}) {
    before = s.CopyData().size();
    const int done = s.ActionsDone();
    s.PostKey(id, VK_RETURN, id == IdByo2 ? 3 : 0);
    EXPECT_TRUE(s.WaitForActions(done).empty()) << id;
    Sleep(500);  // a second 作成 would have begun by now
    EXPECT_EQ(s.Commands(before), byButton) << id;
    EXPECT_EQ(s.ActionsDone(), done + 1) << id;
  }

  // Enter in a measured field or on 取込 starts no capture, and Esc closes nothing.
  before = s.CopyData().size();
  const int done = s.ActionsDone();
  for (int id : {IdDo, IdKakudo, IdButton2}) s.PostKey(id, VK_RETURN);
  for (int id : {IdDo2, IdKyori, IdButton1}) s.PostKey(id, VK_ESCAPE);
  Sleep(1500);
  EXPECT_EQ(s.ActionsDone(), done);
  EXPECT_EQ(s.CopyData().size(), before);
  EXPECT_TRUE(IsWindowVisible(s.Form()));
  EXPECT_EQ(WaitForSingleObject(s.ToolProcess(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(DialogE2e, ARestartReopensWhereTheDialogWasLeftOrOnScreenWhenThatPlaceIsGone) {
  TSession s("", false);
  RECT first = FrameOf(s.Form());
  EXPECT_EQ(first.left, 192);  // the first start: the designed place
  EXPECT_EQ(first.top, 117);

  // The user drags it and closes it; the next start opens there.
  SetWindowPos(s.Form(), nullptr, 530, 410, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  s.StopTool();
  s.StartTool();
  RECT again = FrameOf(s.Form());
  EXPECT_EQ(again.left, 530);
  EXPECT_EQ(again.top, 410);
  EXPECT_EQ(again.right - again.left, first.right - first.left);

  // Left on a monitor that has since gone (far left, below; the left as far as a DWORD goes): back whole in the
  // work area, as near as it fits.
  s.StopTool();
  const DWORD left = 0x80000000, top = 5000;
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Swivex", L"WindowLeft", REG_DWORD, &left, sizeof left),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Swivex", L"WindowTop", REG_DWORD, &top, sizeof top),
            ERROR_SUCCESS);
  s.StartTool();
  const RECT back = FrameOf(s.Form());
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromRect(&back, MONITOR_DEFAULTTONULL), &monitor));
  EXPECT_EQ(back.left, monitor.rcWork.left);
  EXPECT_EQ(back.bottom, monitor.rcWork.bottom);
  EXPECT_EQ(back.right - back.left, first.right - first.left);

  // Its caption above the work area while the rest still shows: brought down so that the caption can be held.
  s.StopTool();
  const DWORD above = static_cast<DWORD>(monitor.rcWork.top - 20);
  const DWORD middle = 300;
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Swivex", L"WindowLeft", REG_DWORD, &middle, sizeof middle);
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Swivex", L"WindowTop", REG_DWORD, &above, sizeof above);
  s.StartTool();
  const RECT held = FrameOf(s.Form());
  EXPECT_EQ(held.top, monitor.rcWork.top);
  EXPECT_EQ(held.left, 300);
}

}  // namespace
}  // namespace swivex::e2e
