// The user's clipboard in the Windows tests: text, or text and a small DIB, put as another program would, and what
// is on it read back.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

namespace swivex {

inline void PutText(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  char* p = static_cast<char*>(GlobalLock(memory));
  std::memcpy(p, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

inline std::string ClipboardText() {
  if (!OpenClipboard(nullptr)) return "(not open)";
  std::string text = "(no text)";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

// A 2×2 24-bit DIB: header and two rows of 8 bytes (6 of pixels, 2 of padding).
inline std::string SmallDib() {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = 2;
  header.biHeight = 2;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = 16;
  std::string dib(reinterpret_cast<const char*>(&header), sizeof header);
  return dib + std::string("\x10\x20\x30\x40\x50\x60\0\0\x70\x80\x90\xA0\xB0\xC0\0\0", 16);
}

// The user's text and the small DIB, put as another program would.
inline void PutTextAndDib(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  for (const auto& [format, bytes] : {std::pair<UINT, std::string>{CF_TEXT, text + '\0'}, {CF_DIB, SmallDib()}}) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    SetClipboardData(format, memory);
  }
  CloseClipboard();
}

// The first `size` bytes of a format on the clipboard; "(none)" when it is not there or smaller.
inline std::string ClipboardBytes(UINT format, std::size_t size) {
  if (!OpenClipboard(nullptr)) return "(not open)";
  std::string bytes = "(none)";
  if (HANDLE h = GetClipboardData(format); h && GlobalSize(h) >= size) {
    bytes.assign(static_cast<const char*>(GlobalLock(h)), size);
    GlobalUnlock(h);
  }
  CloseClipboard();
  return bytes;
}

}  // namespace swivex
