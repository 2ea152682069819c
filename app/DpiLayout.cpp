#include "app/DpiLayout.h"

namespace swivex {

namespace {

// Functions of newer user32 versions, looked up at run time so that the tool still starts where they are missing.
template <typename TFunction>
TFunction User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TGetDpiForSystem = UINT(WINAPI*)();

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

int DpiOfWindow(HWND window) {
  static const auto forWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
  static const auto forSystem = User32Function<TGetDpiForSystem>("GetDpiForSystem");
  int dpi = 0;
  if (forWindow && window) dpi = static_cast<int>(forWindow(window));
  if (dpi <= 0 && forSystem) dpi = static_cast<int>(forSystem());
  if (dpi <= 0) dpi = ScreenDpi();
  return dpi > 0 ? dpi : kDesignDpi;
}

int ScaleToDpi(int length96, int dpi) { return MulDiv(length96, dpi, kDesignDpi); }

RECT ScaleRectToDpi(int left, int top, int width, int height, int dpi) {
  return RECT{ScaleToDpi(left, dpi), ScaleToDpi(top, dpi), ScaleToDpi(left + width, dpi),
              ScaleToDpi(top + height, dpi)};
}

}  // namespace swivex
