// The rotation dialog in this process under Wine: the form's frame and place, the control table (kinds, captions,
// positions, tab order, limits, fonts), the empty fields after creation, the layout on a monitor of another DPI
// with the widest values readable at each, the window menu's angle items,
// the saved place, and the application window that carries the task bar entry "角度を変更する", hands activation
// to the dialog and closes it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/ApplicationWindow.h"
#include "app/ControlIds.h"
#include "app/SwivexForm.h"
#include "app/SystemMenu.h"
#include "app/WindowPlace.h"

namespace swivex {
namespace {

std::wstring TextOf(HWND w) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ClassOf(HWND w) {
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  return name;
}

// A control's place in the form's client area.
RECT PlaceOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    DispatchMessageW(&msg);
  }
}

bool QuitPosted() {
  MSG msg;
  return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

// One dialog for the whole suite (creating windows under Wine takes seconds); the last test closes it.
class DialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);  // a first start: the designed place
    Application = new TApplicationWindow;
    Form = new TSwivexF;
    ASSERT_TRUE(Application->Create(GetModuleHandleW(nullptr)));
    ASSERT_TRUE(Form->Create(GetModuleHandleW(nullptr), Application->Handle()));
    Application->SetMainForm(Form->Handle());
    ShowWindow(Form->Handle(), SW_SHOWNORMAL);
    PumpMessages();
  }
  static void TearDownTestSuite() {
    delete Form;
    delete Application;
    QuitPosted();
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);  // the closed dialog saved its place
  }
  static HWND Item(int id) { return GetDlgItem(Form->Handle(), id); }

  static TApplicationWindow* Application;
  static TSwivexF* Form;
};

TApplicationWindow* DialogTest::Application = nullptr;
TSwivexF* DialogTest::Form = nullptr;

TEST_F(DialogTest, FormFrameCaptionPlaceAndTopmost) {
  const HWND form = Form->Handle();
  EXPECT_EQ(ClassOf(form), L"TSwivexF");
  EXPECT_EQ(TextOf(form), L"回転処理");
  const LONG style = GetWindowLongW(form, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(form, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  RECT client{}, frame{};
  GetClientRect(form, &client);
  GetWindowRect(form, &frame);
  EXPECT_EQ(client.right, 274);
  EXPECT_EQ(client.bottom, 170);
  EXPECT_EQ(frame.left, 192);
  EXPECT_EQ(frame.top, 117);

  // The form's font on its labels and buttons; the fixed-pitch one of the same height in the number fields.
  for (const auto& [id, face] : {std::pair{IdLabel3, L"ＭＳ Ｐゴシック"}, std::pair{IdKyori, L"ＭＳ ゴシック"}}) {
    LOGFONTW font{};
    ASSERT_EQ(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Item(id), WM_GETFONT, 0, 0)), sizeof font, &font),
              static_cast<int>(sizeof font));
    EXPECT_STREQ(font.lfFaceName, face);
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
  }
}

TEST_F(DialogTest, ControlTableAndEmptyFields) {
  struct TRow {
    int Id;
    const wchar_t* Class;
    const wchar_t* Text;
    RECT Place;  // left, top, right, bottom in the form's client area
  } rows[] = {
      // Inside 現在値 (8, 8) and 変更後 (8, 88): their children are placed by the group box's origin.
      {IdGroupBox1, L"Button", L"現在値", {8, 8, 8 + 257, 8 + 73}},
      {IdLabel4, L"Static", L"角度", {8 + 16, 8 + 26, 8 + 16 + 24, 8 + 26 + 12}},
      {IdLabel6, L"Static", L"度分秒", {8 + 8, 8 + 50, 8 + 8 + 36, 8 + 50 + 12}},
      {IdLabel3, L"Static", L"距", {8 + 144, 8 + 26, 8 + 144 + 12, 8 + 26 + 12}},
      {IdKakudo, L"Edit", L"", {8 + 48, 8 + 24, 8 + 48 + 89, 8 + 24 + 20}},
      {IdGroupBox2, L"Button", L"変更後", {8, 88, 8 + 257, 88 + 73}},
      {IdLabel1, L"Static", L"度分秒", {8 + 8, 88 + 26, 8 + 8 + 36, 88 + 26 + 12}},
      {IdLabel2, L"Static", L"角度", {8 + 16, 88 + 50, 8 + 16 + 24, 88 + 50 + 12}},
      {IdKakudo2, L"Edit", L"", {8 + 48, 88 + 48, 8 + 48 + 89, 88 + 48 + 20}},
      {IdButton2, L"Button", L"取込", {200, 53, 257, 78}},
      {IdKyori, L"Edit", L"", {168, 32, 257, 52}},
      {IdDo, L"Edit", L"", {56, 56, 89, 76}},
      {IdFun, L"Edit", L"", {91, 56, 124, 76}},
      {IdByo, L"Edit", L"", {126, 56, 195, 76}},
      {IdDo2, L"Edit", L"", {56, 112, 89, 132}},
      {IdFun2, L"Edit", L"", {91, 112, 124, 132}},
      {IdByo2, L"Edit", L"", {126, 112, 195, 132}},
      {IdButton1, L"Button", L"作成", {200, 133, 257, 158}},
  };
  for (const TRow& row : rows) {
    const HWND control = Item(row.Id);
    ASSERT_NE(control, nullptr) << row.Id;
    EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), row.Class), 0) << row.Id;
    EXPECT_EQ(TextOf(control), row.Text) << row.Id;  // the edits' design-time names are cleared
    const RECT r = PlaceOf(control);
    EXPECT_EQ(r.left, row.Place.left) << row.Id;
    EXPECT_EQ(r.top, row.Place.top) << row.Id;
    EXPECT_EQ(r.right, row.Place.right) << row.Id;
    EXPECT_EQ(r.bottom, row.Place.bottom) << row.Id;
  }
}

TEST_F(DialogTest, TabOrderAndEditLimits) {
  // 取込, the length, the two degrees/minutes/seconds rows, 作成, then the two framed angle fields.
  const int order[] = {IdButton2, IdKyori, IdDo, IdFun, IdByo, IdDo2, IdFun2, IdByo2, IdButton1, IdKakudo, IdKakudo2};
  HWND at = Item(IdButton2);
  for (std::size_t i = 1; i <= std::size(order); ++i) {
    at = GetNextDlgTabItem(Form->Handle(), at, FALSE);
    EXPECT_EQ(GetDlgCtrlID(at), order[i % std::size(order)]) << "after tab " << i;
  }
  EXPECT_EQ(SendMessageW(Item(IdDo), EM_GETLIMITTEXT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(Item(IdFun), EM_GETLIMITTEXT, 0, 0), 3);
  // Every other field takes any length: a long typed or pasted text reaches the conversion whole.
  for (int id : {IdDo2, IdFun2, IdByo2, IdByo, IdKyori, IdKakudo, IdKakudo2})
    EXPECT_GT(SendMessageW(Item(id), EM_GETLIMITTEXT, 0, 0), 0x10000) << id;
  const std::wstring digits(30500, L'7');
  SetWindowTextW(Item(IdByo2), digits.c_str());
  EXPECT_EQ(TextOf(Item(IdByo2)).size(), digits.size());
}

TEST_F(DialogTest, MovedToAMonitorOfAnotherDpiItLaysItselfOutAgain) {
  const HWND form = Form->Handle();
  const auto changeDpi = [&](int dpi, int clientWidth, int clientHeight) {
    RECT suggested{100, 50, 100 + clientWidth, 50 + clientHeight};
    AdjustWindowRectEx(&suggested, GetWindowLongW(form, GWL_STYLE), FALSE, GetWindowLongW(form, GWL_EXSTYLE));
    SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  };
  const auto fontHeight = [](HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
  };
  RECT frame{}, client{};
  GetWindowRect(form, &frame);

  changeDpi(144, 411, 255);
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, 411);
  EXPECT_EQ(client.bottom, 255);
  // Edges scale (53 → 79.5 and 257 → 385.5 round to 80 and 386), so neighbours keep their places in a row.
  RECT r = PlaceOf(Item(IdButton2));
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.top, 80);
  EXPECT_EQ(r.right, 386);
  EXPECT_EQ(r.bottom, 117);
  for (int id : {IdGroupBox2, IdLabel3, IdKyori, IdButton1}) EXPECT_EQ(fontHeight(Item(id)), -18) << id;

  // Back at 96 dpi: the designed table again, at the place the system suggests.
  changeDpi(96, 274, 170);
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, 274);
  EXPECT_EQ(client.bottom, 170);
  r = PlaceOf(Item(IdByo2));
  EXPECT_EQ(r.left, 126);
  EXPECT_EQ(r.right, 195);
  EXPECT_EQ(fontHeight(Item(IdKyori)), -12);
  SetWindowPos(form, nullptr, frame.left, frame.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window menu's 角度の基準 with the mathematical angle checked at a first start, and 角度を図形から取得....
TEST_F(DialogTest, WindowMenuOffersTheAngleConventionsAndTheAngleOfAnObject) {
  const HMENU menu = GetSystemMenu(Form->Handle(), FALSE);
  HMENU conventions = nullptr;
  wchar_t text[64] = {};
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    if (std::wstring(text) == L"角度の基準") conventions = GetSubMenu(menu, i);
  }
  ASSERT_NE(conventions, nullptr);
  const std::pair<UINT, const wchar_t*> items[] = {{kSysCommandMathAngle, L"数学角（東から反時計回り）"},
                                                   {kSysCommandBearing, L"方向角（北から時計回り）"},
                                                   {kSysCommandDrawingAngles, L"図面の設定（ANGBASE/ANGDIR）"}};
  for (const auto& [command, caption] : items) {
    GetMenuStringW(conventions, command, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, caption);
    EXPECT_EQ((GetMenuState(conventions, command, MF_BYCOMMAND) & MF_CHECKED) != 0,
              command == kSysCommandMathAngle);
  }
  GetMenuStringW(menu, kSysCommandAngleFromObject, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"角度を図形から取得...");
}

// Every digit of the widest value each field shows fits inside the field's text rectangle, at 96, 120 and 144 dpi.
TEST_F(DialogTest, WidestValuesFitTheirFieldsAtEachDpi) {
  const HWND form = Form->Handle();
  RECT frame{};
  GetWindowRect(form, &frame);
  struct TWidest {
    int Id;
    const wchar_t* Text;
  };
  const TWidest widest[] = {{IdDo, L"-229"},        {IdFun, L"-59"},          {IdByo, L"-59.999999"},
                            {IdDo2, L"-229"},       {IdFun2, L"-59"},         {IdByo2, L"-59.999999"},
                            {IdKakudo, L"-139.84222222"}, {IdKakudo2, L"-139.84222222"}, {IdKyori, L"12345.678901"}};
  for (int dpi : {120, 144, 96}) {
    RECT suggested{100, 50, 100 + MulDiv(274, dpi, 96), 50 + MulDiv(170, dpi, 96)};
    AdjustWindowRectEx(&suggested, GetWindowLongW(form, GWL_STYLE), FALSE, GetWindowLongW(form, GWL_EXSTYLE));
    SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    for (const TWidest& w : widest) {
      const HWND field = Item(w.Id);
      RECT room{};
      SendMessageW(field, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
      const HDC dc = GetDC(field);
      const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0)));
      SIZE extent{};
      GetTextExtentPoint32W(dc, w.Text, static_cast<int>(wcslen(w.Text)), &extent);
      SelectObject(dc, old);
      ReleaseDC(field, dc);
      EXPECT_LE(extent.cx, room.right - room.left) << dpi << " dpi, field " << w.Id;
    }
  }
  SetWindowPos(form, nullptr, frame.left, frame.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST_F(DialogTest, SavedPlaceKeepsNegativeCoordinatesAndAPartlyVisiblePlace) {
  // A monitor left of and above the primary one gives negative coordinates: DWORDs that must read back signed.
  const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, -300, -20, 50, 20, nullptr, nullptr, nullptr,
                                     nullptr);
  SaveWindowPlace(probe);
  DestroyWindow(probe);
  const auto saved = LoadWindowPlace();
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->x, -300);
  EXPECT_EQ(saved->y, -20);

  // Partly on a monitor, its caption there, it stays where the user put it (a place on no monitor: the end-to-end
  // restart); with the caption above the work area, though the rest shows, it comes down to where it can be held.
  const RECT partly{-30, 100, 270, 300};
  const RECT stays = OntoVisibleMonitor(partly, 25);
  EXPECT_TRUE(EqualRect(&partly, &stays));
  MONITORINFO primary{};
  primary.cbSize = sizeof primary;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary));
  const RECT captionAbove{100, primary.rcWork.top - 150, 400, primary.rcWork.top + 50};
  const RECT moved = OntoVisibleMonitor(captionAbove, 25);
  EXPECT_EQ(moved.top, primary.rcWork.top);
  EXPECT_EQ(moved.left, 100);
}

TEST_F(DialogTest, ApplicationWindowCarriesTheTaskBarEntry) {
  const HWND app = Application->Handle();
  EXPECT_EQ(GetWindow(Form->Handle(), GW_OWNER), app);
  EXPECT_EQ(GetWindow(app, GW_OWNER), nullptr);
  EXPECT_EQ(TextOf(app), L"角度を変更する");
  EXPECT_TRUE(IsWindowVisible(app));  // the task bar lists only visible windows
  EXPECT_TRUE(GetWindowLongW(app, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_FALSE(GetWindowLongW(app, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongW(Form->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
  RECT r{};
  GetWindowRect(app, &r);
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_EQ(r.bottom - r.top, 0);

  // Chosen from the task bar, it hands the activation to the dialog.
  SetActiveWindow(app);
  ASSERT_EQ(GetActiveWindow(), app);
  PumpMessages();
  EXPECT_EQ(GetActiveWindow(), Form->Handle());

  // While the dialog is disabled by a window it waits for (a message box), that window takes the activation, and
  // a close request is refused.
  const HWND box = CreateWindowExW(0, L"STATIC", L"box", WS_POPUP | WS_VISIBLE, 300, 300, 50, 20, Form->Handle(),
                                   nullptr, nullptr, nullptr);
  EnableWindow(Form->Handle(), FALSE);
  SetActiveWindow(app);
  PumpMessages();
  EXPECT_EQ(GetActiveWindow(), box);
  SendMessageW(app, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_TRUE(IsWindow(Form->Handle()));
  EnableWindow(Form->Handle(), TRUE);
  DestroyWindow(box);

  // Closed from the task bar, it closes the dialog, which ends the message loop.
  EXPECT_FALSE(QuitPosted());
  SendMessageW(app, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(app));
  PumpMessages();
  EXPECT_FALSE(IsWindow(Form->Handle()));
  EXPECT_TRUE(QuitPosted());
}

}  // namespace
}  // namespace swivex
