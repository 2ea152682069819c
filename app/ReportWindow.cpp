#include "app/ReportWindow.h"

#include "app/DpiLayout.h"
#include "app/WindowClass.h"
#include "win32/CodePage.h"

namespace swivex {

namespace {

// The owner keeps its report window in a property, the report window its font in another.
constexpr wchar_t kReportProperty[] = L"SwivexReportWindow";
constexpr wchar_t kFontProperty[] = L"SwivexReportFont";

// Layout at 96 dpi.
constexpr int kWidth = 600;
constexpr int kHeight = 420;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;

int Scaled(HWND w, int pixels) { return ScaleToDpi(pixels, DpiOfWindow(w)); }

void Layout(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  const int m = Scaled(window, kMargin), bw = Scaled(window, kButtonWidth), bh = Scaled(window, kButtonHeight);
  const int buttonsTop = r.bottom - m - bh;
  MoveWindow(GetDlgItem(window, kReportTextId), m, m, r.right - 2 * m, buttonsTop - 2 * m, TRUE);
  MoveWindow(GetDlgItem(window, kReportCopyId), r.right - 2 * (m + bw), buttonsTop, bw, bh, TRUE);
  MoveWindow(GetDlgItem(window, kReportCloseId), r.right - m - bw, buttonsTop, bw, bh, TRUE);
}

void CopyAll(HWND window) {
  const HWND text = GetDlgItem(window, kReportTextId);
  SendMessageW(text, EM_SETSEL, 0, -1);
  SendMessageW(text, WM_COPY, 0, 0);
  SetFocus(text);
}

LRESULT CALLBACK ReportProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Layout(window);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kReportCopyId) CopyAll(window);
      if (LOWORD(wParam) == kReportCloseId || LOWORD(wParam) == IDCANCEL) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      if (const HWND owner = GetWindow(window, GW_OWNER)) RemovePropW(owner, kReportProperty);
      if (const auto font = static_cast<HFONT>(RemovePropW(window, kFontProperty))) DeleteObject(font);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND AddChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id) {
  const HWND child =
      CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 10, 10, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetPropW(parent, kFontProperty)), FALSE);
  return child;
}

// Below the dialog, kept inside the work area of the dialog's monitor.
POINT PlaceBelow(HWND owner, int width, int height) {
  RECT o{};
  GetWindowRect(owner, &o);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &mi);
  const RECT& work = mi.rcWork;
  LONG x = o.left, y = o.bottom + Scaled(owner, kMargin);
  if (x + width > work.right) x = work.right - width;
  if (y + height > work.bottom) y = work.bottom - height;
  return {x < work.left ? work.left : x, y < work.top ? work.top : y};
}

HWND CreateReportWindow(HWND owner) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterFormClass(instance, ReportProc, kReportWindowClass)) return nullptr;
  const int width = Scaled(owner, kWidth), height = Scaled(owner, kHeight);
  const POINT at = PlaceBelow(owner, width, height);
  const HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, kReportWindowClass, L"接続の診断",
                                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, at.x, at.y, width,
                                      height, owner, nullptr, instance, nullptr);
  if (!window) return nullptr;
  // A fixed-pitch font keeps the report's columns; it is freed with the window.
  SetPropW(window, kFontProperty,
           CreateFontW(-Scaled(window, 12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                       L"ＭＳ ゴシック"));
  AddChild(window, L"EDIT", L"",
           ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE,
           kReportTextId);
  AddChild(window, L"BUTTON", L"コピー", BS_PUSHBUTTON, 0, kReportCopyId);
  AddChild(window, L"BUTTON", L"閉じる", BS_DEFPUSHBUTTON, 0, kReportCloseId);
  Layout(window);
  SetPropW(owner, kReportProperty, window);
  return window;
}

}  // namespace

void ShowReportWindow(HWND owner, const std::string& textUtf8) {
  auto window = static_cast<HWND>(GetPropW(owner, kReportProperty));
  if (!window || !IsWindow(window)) window = CreateReportWindow(owner);
  if (!window) return;
  SetDlgItemTextW(window, kReportTextId, Utf8ToWide(textUtf8).c_str());
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
}

}  // namespace swivex
