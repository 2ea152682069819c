#include "app/ApplicationWindow.h"

#include "app/ErrorBox.h"

namespace swivex {

namespace {

constexpr wchar_t kApplicationClassName[] = L"TSwivexApplication";
// Posted to itself when activated: the dialog takes the activation once the switch has ended.
constexpr UINT kActivateForm = WM_APP + 1;

HWND MainForm(HWND window) { return reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

struct TPopupSearch {
  HWND Owner;
  HWND Found;
};

BOOL CALLBACK FindEnabledPopup(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<TPopupSearch*>(search);
  if (GetWindow(window, GW_OWNER) != s->Owner || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  s->Found = window;
  return FALSE;
}

// What takes the activation: the dialog, or while it is disabled the window it waits for (a message box).
HWND ActivationTarget(HWND form) {
  if (IsWindowEnabled(form)) return form;
  TPopupSearch search{form, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindEnabledPopup, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

}  // namespace

TApplicationWindow::~TApplicationWindow() {
  if (IsWindow(Handle_)) DestroyWindow(Handle_);
}

bool TApplicationWindow::Create(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kApplicationClassName;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  // No caption and no size: nothing of it is seen but its task bar button. WS_SYSMENU gives that button its
  // menu (Close).
  Handle_ = CreateWindowExW(WS_EX_APPWINDOW, kApplicationClassName, kApplicationTitle, WS_POPUP | WS_SYSMENU, 0, 0,
                            0, 0, nullptr, nullptr, instance, nullptr);
  return Handle_ != nullptr;
}

void TApplicationWindow::SetMainForm(HWND form) {
  SetWindowLongPtrW(Handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  // Under the dialog, which stays on top of it.
  RECT r{};
  GetWindowRect(form, &r);
  SetWindowPos(Handle_, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT CALLBACK TApplicationWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) PostMessageW(window, kActivateForm, 0, 0);
      return 0;
    case kActivateForm: {
      const HWND form = MainForm(window);
      if (!IsWindow(form) || GetActiveWindow() != window) return 0;
      if (const HWND target = ActivationTarget(form)) SetActiveWindow(target);
      return 0;
    }
    case WM_CLOSE: {
      // Closing from the task bar closes the dialog, which ends the application; not while a message box is up.
      const HWND form = MainForm(window);
      if (IsWindow(form) && IsWindowEnabled(form)) PostMessageW(form, WM_CLOSE, 0, 0);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace swivex
