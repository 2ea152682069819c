#include "workflows/WinText.h"

namespace swivex {

std::string GetWindowAnsi(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return WideToAnsi(text);
}

void SetWindowAnsi(HWND window, std::string_view ansi) { SetWindowTextW(window, AnsiToWide(ansi).c_str()); }

void SetWindowUtf8(HWND window, std::string_view utf8) { SetWindowTextW(window, Utf8ToWide(utf8).c_str()); }

}  // namespace swivex
