#include "app/SwivexForm.h"

#include "app/AcadNotice.h"
#include "app/ControlIds.h"
#include "app/ErrorBox.h"
#include "app/SystemMenu.h"
#include "cadlink/AcadLink.h"
#include "cadlink/AcadStatus.h"
#include "workflows/CaptureGlue.h"
#include "workflows/RedrawGlue.h"

namespace swivex {

namespace {

// Client area and designed place at 96 dpi.
constexpr int kClientWidth = 274;
constexpr int kClientHeight = 170;
constexpr int kFormLeft = 192;
constexpr int kFormTop = 117;
// Dialog border with only the close box: no minimise, no maximise, no sizing.
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
// Group boxes lie under the controls framed by them and must not paint over them.
constexpr DWORD kGroup = BS_GROUPBOX | WS_CLIPSIBLINGS;

// Clears the "busy" mark even when the capture ends with an exception.
class TBusyGuard {
 public:
  explicit TBusyGuard(bool& busy) : Busy_(busy) { Busy_ = true; }
  ~TBusyGuard() { Busy_ = false; }
  TBusyGuard(const TBusyGuard&) = delete;
  TBusyGuard& operator=(const TBusyGuard&) = delete;

 private:
  bool& Busy_;
};

}  // namespace

bool SetTopMost(HWND window, bool topMost) {
  return SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) != FALSE;
}

TSwivexF::~TSwivexF() {
  if (IsWindow(Fields_.Form)) DestroyWindow(Fields_.Form);
  if (Font_) DeleteObject(Font_);
}

bool TSwivexF::Create(HINSTANCE instance, HWND owner) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = StaticWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClassName;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  const HWND form = CreateWindowExW(kFormExStyle, kFormClassName, L"回転処理", kFormStyle, kFormLeft, kFormTop,
                                    frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                    instance, this);
  if (!form) return false;
  Font_ = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ Ｐゴシック");
  SendMessageW(form, WM_SETFONT, reinterpret_cast<WPARAM>(Font_), FALSE);
  CreateControls(instance);
  FormCreate();
  AddSystemMenuItems(form);
  return true;
}

HWND TSwivexF::AddControl(HINSTANCE instance, const wchar_t* className, const wchar_t* text, DWORD style,
                          DWORD exStyle, int id, int left, int top, int width, int height) {
  const HWND control = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, left, top, width,
                                       height, Fields_.Form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       instance, nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font_), FALSE);
  return control;
}

// Children are created in tab order: each new child goes below the ones before it, and the tab key follows that
// order. The group boxes come last, under everything they frame; the controls they frame are children of the
// form, placed at the group's offset.
void TSwivexF::CreateControls(HINSTANCE instance) {
  const HINSTANCE in = instance;
  AddControl(in, L"BUTTON", L"取込", kButton, 0, IdButton2, 200, 53, 57, 25);
  Fields_.eKyori = AddControl(in, L"EDIT", L"eKyori", kEdit, WS_EX_CLIENTEDGE, IdKyori, 168, 32, 89, 20);
  Fields_.eDo = AddControl(in, L"EDIT", L"eDo", kEdit, WS_EX_CLIENTEDGE, IdDo, 56, 56, 33, 20);
  Fields_.eFun = AddControl(in, L"EDIT", L"eFun", kEdit, WS_EX_CLIENTEDGE, IdFun, 91, 56, 33, 20);
  Fields_.eByo = AddControl(in, L"EDIT", L"eByo", kEdit, WS_EX_CLIENTEDGE, IdByo, 126, 56, 69, 20);
  Fields_.eDo2 = AddControl(in, L"EDIT", L"eDo2", kEdit, WS_EX_CLIENTEDGE, IdDo2, 56, 112, 33, 20);
  Fields_.eFun2 = AddControl(in, L"EDIT", L"eFun2", kEdit, WS_EX_CLIENTEDGE, IdFun2, 91, 112, 33, 20);
  Fields_.eByo2 = AddControl(in, L"EDIT", L"eByo2", kEdit, WS_EX_CLIENTEDGE, IdByo2, 126, 112, 69, 20);
  AddControl(in, L"BUTTON", L"作成", kButton, 0, IdButton1, 200, 133, 57, 25);
  // Inside 現在値 (offset 8, 8).
  AddControl(in, L"STATIC", L"角度", kLabel, 0, IdLabel4, 8 + 16, 8 + 26, 24, 12);
  AddControl(in, L"STATIC", L"度分秒", kLabel, 0, IdLabel6, 8 + 8, 8 + 50, 36, 12);
  AddControl(in, L"STATIC", L"距", kLabel, 0, IdLabel3, 8 + 144, 8 + 26, 12, 12);
  Fields_.eKakudo = AddControl(in, L"EDIT", L"eKakudo", kEdit, WS_EX_CLIENTEDGE, IdKakudo, 8 + 48, 8 + 24, 89, 20);
  // Inside 変更後 (offset 8, 88).
  AddControl(in, L"STATIC", L"度分秒", kLabel, 0, IdLabel1, 8 + 8, 88 + 26, 36, 12);
  AddControl(in, L"STATIC", L"角度", kLabel, 0, IdLabel2, 8 + 16, 88 + 50, 24, 12);
  Fields_.eKakudo2 =
      AddControl(in, L"EDIT", L"eKakudo2", kEdit, WS_EX_CLIENTEDGE, IdKakudo2, 8 + 48, 88 + 48, 89, 20);
  AddControl(in, L"BUTTON", L"現在値", kGroup, 0, IdGroupBox1, 8, 8, 257, 73);
  AddControl(in, L"BUTTON", L"変更後", kGroup, 0, IdGroupBox2, 8, 88, 257, 73);

  // Only the measured degrees and minutes are limited; every other field takes text of any length (the edit
  // control's own default would cut a long paste at 30000 characters).
  for (HWND field : {Fields_.eKakudo, Fields_.eKyori, Fields_.eByo, Fields_.eDo2, Fields_.eFun2, Fields_.eByo2,
                     Fields_.eKakudo2})
    SendMessageW(field, EM_SETLIMITTEXT, 0, 0);
  SendMessageW(Fields_.eDo, EM_SETLIMITTEXT, 4, 0);
  SendMessageW(Fields_.eFun, EM_SETLIMITTEXT, 3, 0);
}

void TSwivexF::FormCreate() {
  SetTopMost(Fields_.Form, true);
  for (HWND field : {Fields_.eKakudo, Fields_.eDo, Fields_.eFun, Fields_.eByo, Fields_.eDo2, Fields_.eFun2,
                     Fields_.eByo2, Fields_.eKyori, Fields_.eKakudo2})
    SetWindowTextW(field, L"");
  // The history copy puts text on the clipboard; the dialog owns it meanwhile.
  AcadSetClipboardOwner(Fields_.Form);
}

void TSwivexF::OnButton(int id) {
  if (Busy_ || (id != IdButton2 && id != IdButton1)) return;  // a capture is waiting for the pick
  const HWND form = Fields_.Form;
  HideAcadNotice(form);
  {
    TBusyGuard busy(Busy_);
    try {
      if (id == IdButton2) Button4Click(Fields_);
      else Button1Click(Fields_);
    } catch (const TAcadUnavailable& e) {
      ShowAcadNotice(form, GetDlgItem(form, id), e.Failure());
    } catch (...) {
      ShowActionError(form);
    }
  }
  if (IsWindow(form)) {
    const auto done = reinterpret_cast<INT_PTR>(GetPropW(form, kActionsDoneProperty));
    SetPropW(form, kActionsDoneProperty, reinterpret_cast<HANDLE>(done + 1));
  }
}

LRESULT CALLBACK TSwivexF::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TSwivexF*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->Fields_.Form = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TSwivexF*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return self->WindowProc(message, wParam, lParam);
  } catch (...) {
    ShowActionError(window);  // nothing escapes into the system's message dispatch
    return 0;
  }
}

LRESULT TSwivexF::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND form = Fields_.Form;
  AcadNoticeSeesMessage(form, message);
  switch (message) {
    case WM_SYSCOMMAND:
      if (OnSystemMenuCommand(form, wParam)) return 0;
      return DefWindowProcW(form, message, wParam, lParam);
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0) OnButton(LOWORD(wParam));
      return 0;  // Enter and Esc (IDOK, IDCANCEL from the dialog manager) do nothing
    case WM_DESTROY:
      RemovePropW(form, kActionsDoneProperty);
      SetWindowLongPtrW(form, GWLP_USERDATA, 0);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(form, message, wParam, lParam);
  }
}

}  // namespace swivex
