#include "app/SwivexForm.h"

#include "app/AcadNotice.h"
#include "app/AngleSetting.h"
#include "app/ControlIds.h"
#include "app/DpiLayout.h"
#include "app/ErrorBox.h"
#include "app/SystemMenu.h"
#include "app/WindowClass.h"
#include "app/WindowPlace.h"
#include "cadlink/AcadLink.h"
#include "cadlink/AcadStatus.h"
#include "workflows/AngleGlue.h"
#include "workflows/CaptureGlue.h"
#include "workflows/LeftOut.h"
#include "workflows/RedrawGlue.h"

namespace swivex {

namespace {

// Client area, font height and designed place at 96 dpi.
constexpr int kClientWidth = 274;
constexpr int kClientHeight = 170;
constexpr int kFontHeight = 12;
constexpr int kFormLeft = 192;
constexpr int kFormTop = 117;
// The edit fields show numbers in the fixed-pitch ＭＳ ゴシック, whose digits are half an em wide, with inner margins of
// one pixel at 96 dpi: in the form's proportional font and the control's default margins the widest values (a
// sign and three digits of degrees, six decimals of seconds) lose their last digit.
constexpr int kEditMargin = 1;
constexpr wchar_t kNumberFontFace[] = L"ＭＳ ゴシック";
// Dialog border with only the close box: no minimise, no maximise, no sizing.
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
// Group boxes lie under the controls framed by them and must not paint over them.
constexpr DWORD kGroup = BS_GROUPBOX | WS_CLIPSIBLINGS;

// One control of the form: its place in the client area at 96 dpi.
struct TControlRow {
  int Id;
  const wchar_t* Class;
  const wchar_t* Text;
  DWORD Style;
  DWORD ExStyle;
  int Left, Top, Width, Height;
};

// In tab order. The group boxes come last, under everything they frame; the controls they frame are children of
// the form, placed at the group's offset: 現在値 (8, 8) and 変更後 (8, 88).
constexpr TControlRow kControls[] = {
    {IdButton2, L"BUTTON", L"取込", kButton, 0, 200, 53, 57, 25},
    {IdKyori, L"EDIT", L"eKyori", kEdit, WS_EX_CLIENTEDGE, 168, 32, 89, 20},
    {IdDo, L"EDIT", L"eDo", kEdit, WS_EX_CLIENTEDGE, 56, 56, 33, 20},
    {IdFun, L"EDIT", L"eFun", kEdit, WS_EX_CLIENTEDGE, 91, 56, 33, 20},
    {IdByo, L"EDIT", L"eByo", kEdit, WS_EX_CLIENTEDGE, 126, 56, 69, 20},
    {IdDo2, L"EDIT", L"eDo2", kEdit, WS_EX_CLIENTEDGE, 56, 112, 33, 20},
    {IdFun2, L"EDIT", L"eFun2", kEdit, WS_EX_CLIENTEDGE, 91, 112, 33, 20},
    {IdByo2, L"EDIT", L"eByo2", kEdit, WS_EX_CLIENTEDGE, 126, 112, 69, 20},
    {IdButton1, L"BUTTON", L"作成", kButton, 0, 200, 133, 57, 25},
    {IdLabel4, L"STATIC", L"角度", kLabel, 0, 8 + 16, 8 + 26, 24, 12},
    {IdLabel6, L"STATIC", L"度分秒", kLabel, 0, 8 + 8, 8 + 50, 36, 12},
    {IdLabel3, L"STATIC", L"距", kLabel, 0, 8 + 144, 8 + 26, 12, 12},
    {IdKakudo, L"EDIT", L"eKakudo", kEdit, WS_EX_CLIENTEDGE, 8 + 48, 8 + 24, 89, 20},
    {IdLabel1, L"STATIC", L"度分秒", kLabel, 0, 8 + 8, 88 + 26, 36, 12},
    {IdLabel2, L"STATIC", L"角度", kLabel, 0, 8 + 16, 88 + 50, 24, 12},
    {IdKakudo2, L"EDIT", L"eKakudo2", kEdit, WS_EX_CLIENTEDGE, 8 + 48, 88 + 48, 89, 20},
    {IdGroupBox1, L"BUTTON", L"現在値", kGroup, 0, 8, 8, 257, 73},
    {IdGroupBox2, L"BUTTON", L"変更後", kGroup, 0, 8, 88, 257, 73},
};

// The field of the dialog that a control id names; null for buttons, labels and group boxes.
HWND* FieldOf(TDialogFields& fields, int id) {
  switch (id) {
    case IdKakudo: return &fields.eKakudo;
    case IdKyori: return &fields.eKyori;
    case IdDo: return &fields.eDo;
    case IdFun: return &fields.eFun;
    case IdByo: return &fields.eByo;
    case IdDo2: return &fields.eDo2;
    case IdFun2: return &fields.eFun2;
    case IdByo2: return &fields.eByo2;
    case IdKakudo2: return &fields.eKakudo2;
    default: return nullptr;
  }
}

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

// 作成 as an action: it tells what it left out by raising TObjectsLeftOut, never by a text of its own.
std::string RedrawAction(const TDialogFields& dialog) {
  Button1Click(dialog);
  return {};
}

}  // namespace

bool SetTopMost(HWND window, bool topMost) {
  return SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) != FALSE;
}

TSwivexF::~TSwivexF() {
  if (IsWindow(Fields_.Form)) DestroyWindow(Fields_.Form);
  if (Font_) DeleteObject(Font_);
  if (NumberFont_) DeleteObject(NumberFont_);
}

bool TSwivexF::Create(HINSTANCE instance, HWND owner) {
  if (!RegisterFormClass(instance, StaticWindowProc, kFormClassName)) return false;

  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  const HWND form = CreateWindowExW(kFormExStyle, kFormClassName, L"回転処理", kFormStyle, kFormLeft, kFormTop,
                                    frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                    instance, this);
  if (!form) return false;
  CreateControls(instance);
  // Laid out for the DPI of the monitor it opens on, then moved to where the user left it last time.
  LayOut(DpiOfWindow(form));
  PlaceAtSavedPlace();
  FormCreate();
  AddSystemMenuItems(form);
  Fields_.Convention = LoadAngleConvention();
  AddAngleMenuItems(form, Fields_.Convention);
  ShowConventionCaptions();
  return true;
}

// Children are created in tab order (the table's order): each new child goes below the ones before it, and the
// tab key follows that order. Their places and the font are set by LayOut.
void TSwivexF::CreateControls(HINSTANCE instance) {
  for (const TControlRow& row : kControls) {
    const HWND control =
        CreateWindowExW(row.ExStyle, row.Class, row.Text, WS_CHILD | WS_VISIBLE | row.Style, row.Left, row.Top,
                        row.Width, row.Height, Fields_.Form,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.Id)), instance, nullptr);
    if (HWND* field = FieldOf(Fields_, row.Id)) *field = control;
  }

  // Only the measured degrees and minutes are limited; every other field takes text of any length (the edit
  // control's own default would cut a long paste at 30000 characters).
  for (HWND field : {Fields_.eKakudo, Fields_.eKyori, Fields_.eByo, Fields_.eDo2, Fields_.eFun2, Fields_.eByo2,
                     Fields_.eKakudo2})
    SendMessageW(field, EM_SETLIMITTEXT, 0, 0);
  SendMessageW(Fields_.eDo, EM_SETLIMITTEXT, 4, 0);
  SendMessageW(Fields_.eFun, EM_SETLIMITTEXT, 3, 0);
}

// Places every control and sizes the client area from the 96-dpi table scaled to dpi, with the font made for that
// DPI. The window keeps its top-left corner.
void TSwivexF::LayOut(int dpi) {
  const HFONT font = CreateFontW(-ScaleToDpi(kFontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ Ｐゴシック");
  // Half-width characters exactly half the height wide, rounded down: at 120 dpi the 15-pixel font would round its
  // digits up to 8 pixels, and the widest seconds would overrun the field by a pixel or two.
  const int numberHeight = ScaleToDpi(kFontHeight, dpi);
  const HFONT numberFont = CreateFontW(-numberHeight, numberHeight / 2, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       FIXED_PITCH | FF_MODERN, kNumberFontFace);
  SendMessageW(Fields_.Form, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (const TControlRow& row : kControls) {
    const HWND control = GetDlgItem(Fields_.Form, row.Id);
    const RECT r = ScaleRectToDpi(row.Left, row.Top, row.Width, row.Height, dpi);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const bool field = FieldOf(Fields_, row.Id) != nullptr;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(field ? numberFont : font), TRUE);
    if (field) {
      const int margin = ScaleToDpi(kEditMargin, dpi);
      SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    }
  }
  if (Font_) DeleteObject(Font_);  // no control uses the old fonts any more
  if (NumberFont_) DeleteObject(NumberFont_);
  Font_ = font;
  NumberFont_ = numberFont;
  Dpi_ = dpi;
  ResizeClient();
}

// The frame around the scaled client area, measured on the window itself: its caption and borders are already
// those of the DPI it is shown at.
void TSwivexF::ResizeClient() {
  RECT frame{}, client{};
  GetWindowRect(Fields_.Form, &frame);
  GetClientRect(Fields_.Form, &client);
  const int width = ScaleToDpi(kClientWidth, Dpi_) + (frame.right - frame.left) - client.right;
  const int height = ScaleToDpi(kClientHeight, Dpi_) + (frame.bottom - frame.top) - client.bottom;
  SetWindowPos(Fields_.Form, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The first start keeps the designed place; later starts reopen where the dialog was closed, on a visible monitor.
void TSwivexF::PlaceAtSavedPlace() {
  const auto saved = LoadWindowPlace();
  if (!saved) return;
  RECT frame{};
  GetWindowRect(Fields_.Form, &frame);
  OffsetRect(&frame, saved->x - frame.left, saved->y - frame.top);
  // The caption's height as the frame has it now: from the frame's top to the client area's.
  POINT clientTop{0, 0};
  ClientToScreen(Fields_.Form, &clientTop);
  RECT current{};
  GetWindowRect(Fields_.Form, &current);
  const RECT shown = OntoVisibleMonitor(frame, static_cast<int>(clientTop.y - current.top));
  SetWindowPos(Fields_.Form, nullptr, shown.left, shown.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Another monitor may have another DPI.
  const int dpi = DpiOfWindow(Fields_.Form);
  if (dpi != Dpi_) LayOut(dpi);
}

void TSwivexF::FormCreate() {
  SetTopMost(Fields_.Form, true);
  for (HWND field : {Fields_.eKakudo, Fields_.eDo, Fields_.eFun, Fields_.eByo, Fields_.eDo2, Fields_.eFun2,
                     Fields_.eByo2, Fields_.eKyori, Fields_.eKakudo2})
    SetWindowTextW(field, L"");
  // The history copy puts text on the clipboard; the dialog owns it meanwhile.
  AcadSetClipboardOwner(Fields_.Form);
}

bool TSwivexF::TakeEnterKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN || !msg.hwnd) return false;
  for (HWND field : {Fields_.eDo2, Fields_.eFun2, Fields_.eByo2, Fields_.eKyori}) {
    if (msg.hwnd != field) continue;
    const bool repeat = (msg.lParam & (1L << 30)) != 0;  // the key held down: one press draws once
    if (!repeat) OnButton(IdButton1);
    return true;
  }
  return false;
}

void TSwivexF::OnButton(int id) {
  if (id != IdButton2 && id != IdButton1) return;
  RunAction(id == IdButton2 ? Button4Click : RedrawAction, GetDlgItem(Fields_.Form, id));
}

// Runs a button's or a menu item's action; its balloon, for what the action tells or when AutoCAD cannot be used,
// points at `anchor`.
void TSwivexF::RunAction(std::string (*action)(const TDialogFields&), HWND anchor) {
  if (Busy_) return;  // a capture is waiting for the pick
  const HWND form = Fields_.Form;
  HideAcadNotice(form);
  {
    TBusyGuard busy(Busy_);
    try {
      const std::string notice = action(Fields_);
      if (!notice.empty() && IsWindow(form)) ShowCaptureNotice(form, anchor, notice);
    } catch (const TAcadUnavailable& e) {
      ShowAcadNotice(form, anchor, e.Failure());
    } catch (const TObjectsLeftOut& e) {
      ShowNotice(form, anchor, kLeftOutTitle, LeftOutText(e.What()));
    } catch (...) {
      ShowActionError(form);
    }
  }
  if (IsWindow(form)) {
    const auto done = reinterpret_cast<INT_PTR>(GetPropW(form, kActionsDoneProperty));
    SetPropW(form, kActionsDoneProperty, reinterpret_cast<HANDLE>(done + 1));
  }
}

// The values on show turn to the new convention at once; the captions name it and the registry keeps it.
void TSwivexF::ChangeConvention(TAngleConvention convention) {
  if (Busy_) return;  // a pick is about to show values in the convention it began with
  ShowInConvention(Fields_, convention);
  Fields_.Convention = convention;
  SaveAngleConvention(convention);
  CheckConventionItem(Fields_.Form, convention);
  ShowConventionCaptions();
}

void TSwivexF::ShowConventionCaptions() {
  SetDlgItemTextW(Fields_.Form, IdGroupBox1, GroupCaption(L"現在値", Fields_.Convention).c_str());
  SetDlgItemTextW(Fields_.Form, IdGroupBox2, GroupCaption(L"変更後", Fields_.Convention).c_str());
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
      if (const auto convention = ConventionOfCommand(wParam)) {
        ChangeConvention(*convention);
        return 0;
      }
      if ((wParam & 0xFFF0) == kSysCommandAngleFromObject) {
        RunAction(TakeAngleFromObject, Fields_.eDo2);
        return 0;
      }
      if (OnSystemMenuCommand(form, wParam, Fields_.Convention)) return 0;
      return DefWindowProcW(form, message, wParam, lParam);
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0) OnButton(LOWORD(wParam));
      // A whole angle typed or pasted into 変更後's degrees is split when the field is left.
      if (HIWORD(wParam) == EN_KILLFOCUS && LOWORD(wParam) == IdDo2 && !Busy_) SplitWholeAngle(Fields_);
      // Enter outside the fields that take it and Esc (IDOK, IDCANCEL from the dialog manager) do nothing: there
      // is no default button, and Esc must not close the tool.
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale: the system's suggested frame, and the layout for the new DPI.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(form, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut(HIWORD(wParam));
      return 0;
    }
    case WM_DESTROY:
      SaveWindowPlace(form);
      RemovePropW(form, kActionsDoneProperty);
      SetWindowLongPtrW(form, GWLP_USERDATA, 0);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(form, message, wParam, lParam);
  }
}

}  // namespace swivex
