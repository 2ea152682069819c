#include "app/AcadNotice.h"

#include <commctrl.h>

#include "win32/CodePage.h"

namespace swivex {

namespace {

// The balloon of a dialog is kept in a property of the dialog: no module state.
constexpr wchar_t kNoticeProperty[] = L"SwivexAcadNotice";
constexpr UINT_PTR kNoticeTimer = 0x5A1;
constexpr UINT kNoticeShownMs = 12000;
constexpr int kMaxTipWidth = 300;

HWND NoticeWindow(HWND form) { return static_cast<HWND>(GetPropW(form, kNoticeProperty)); }

TTTOOLINFOW ToolInfo(HWND form, const wchar_t* text) {
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  ti.hwnd = form;
  ti.uId = 1;
  ti.lpszText = const_cast<wchar_t*>(text);
  return ti;
}

HWND CreateNoticeWindow(HWND form) {
  INITCOMMONCONTROLSEX tooltips{sizeof tooltips, ICC_BAR_CLASSES};
  InitCommonControlsEx(&tooltips);
  const HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_BALLOON | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                                   reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(form, GWLP_HINSTANCE)), nullptr);
  if (!tip) return nullptr;
  TTTOOLINFOW ti = ToolInfo(form, const_cast<wchar_t*>(L""));
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
  SetPropW(form, kNoticeProperty, tip);
  return tip;
}

void CALLBACK NoticeTimerProc(HWND form, UINT, UINT_PTR, DWORD) { HideAcadNotice(form); }

}  // namespace

std::string AcadNoticeText(TAcadFailure failure) {
  const char* cause = "";
  switch (failure) {
    case TAcadFailure::NotFound: cause = "AutoCAD が見つかりません。"; break;
    case TAcadFailure::NoPrompt: cause = "AutoCAD のコマンド ラインが見つからないか、プロンプトが空です。"; break;
    case TAcadFailure::NotAnswering: cause = "AutoCAD が応答しません。"; break;
  }
  return std::string(cause) + "ウィンドウ メニューの「接続の診断...」で原因を確認できます。";
}

void ShowNotice(HWND form, HWND button, const std::string& titleUtf8, const std::string& textUtf8) {
  HWND tip = NoticeWindow(form);
  if (!tip || !IsWindow(tip)) tip = CreateNoticeWindow(form);
  if (!tip) return;
  const std::wstring title = Utf8ToWide(titleUtf8);
  const std::wstring text = Utf8ToWide(textUtf8);
  TTTOOLINFOW ti = ToolInfo(form, text.c_str());
  SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(tip, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(title.c_str()));
  SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  // The balloon's point at the middle of the button's lower edge.
  RECT r{};
  GetWindowRect(IsWindow(button) ? button : form, &r);
  SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM((r.left + r.right) / 2, r.bottom - 2));
  SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
  SetTimer(form, kNoticeTimer, kNoticeShownMs, NoticeTimerProc);
}

void ShowAcadNotice(HWND form, HWND button, TAcadFailure failure) {
  ShowNotice(form, button, "AutoCAD を使えません", AcadNoticeText(failure));
}

void ShowCaptureNotice(HWND form, HWND button, const std::string& textUtf8) {
  ShowNotice(form, button, "取込", textUtf8);
}

void HideAcadNotice(HWND form) {
  KillTimer(form, kNoticeTimer);
  const HWND tip = NoticeWindow(form);
  if (!tip || !IsWindow(tip)) return;
  TTTOOLINFOW ti = ToolInfo(form, nullptr);
  SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

void AcadNoticeSeesMessage(HWND form, UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_PARENTNOTIFY:  // a click on one of the dialog's controls
    case WM_MOVE:
    case WM_SYSCOMMAND:    // the window menu, the report among its items
      HideAcadNotice(form);
      break;
    case WM_DESTROY:
      HideAcadNotice(form);
      if (const HWND tip = NoticeWindow(form)) DestroyWindow(tip);
      RemovePropW(form, kNoticeProperty);
      break;
    default:
      break;
  }
}

}  // namespace swivex
