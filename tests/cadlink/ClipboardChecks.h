// The user's clipboard in the Windows tests: text, or text with a small DIB and a small enhanced metafile, put as
// another program would, and what is on it read back.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

namespace swivex {

// Opens the clipboard, trying again for a while: a clipboard manager may hold it for a moment after each change.
inline bool OpenClipboardSoon() {
  for (int tries = 0; tries < 100; ++tries, Sleep(10))
    if (OpenClipboard(nullptr)) return true;
  return false;
}

// Empties the clipboard and puts each format's bytes on it, and the enhanced metafile `emf` unless empty, as
// another program would.
inline void PutOnClipboard(std::initializer_list<std::pair<UINT, std::string>> formats, const std::string& emf = "") {
  ASSERT_TRUE(OpenClipboardSoon());
  EmptyClipboard();
  for (const auto& [format, bytes] : formats) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    SetClipboardData(format, memory);
  }
  if (!emf.empty())
    SetClipboardData(CF_ENHMETAFILE,
                     SetEnhMetaFileBits(static_cast<UINT>(emf.size()), reinterpret_cast<const BYTE*>(emf.data())));
  CloseClipboard();
}

inline void PutText(const std::string& text) { PutOnClipboard({{CF_TEXT, text + '\0'}}); }

inline std::string ClipboardText() {
  if (!OpenClipboardSoon()) return "(not open)";
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

inline std::string EmfBits(HENHMETAFILE metafile) {
  std::string bits(GetEnhMetaFileBits(metafile, 0, nullptr), '\0');
  GetEnhMetaFileBits(metafile, static_cast<UINT>(bits.size()), reinterpret_cast<BYTE*>(bits.data()));
  return bits;
}

// The bits of a small enhanced metafile: one rectangle.
inline std::string SmallEmf() {
  HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  Rectangle(dc, 1, 2, 30, 40);
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  const std::string bits = EmfBits(metafile);
  DeleteEnhMetaFile(metafile);
  return bits;
}

// The user's text, the small DIB and the small metafile.
inline void PutUsersClipboard(const std::string& text) {
  PutOnClipboard({{CF_TEXT, text + '\0'}, {CF_DIB, SmallDib()}}, SmallEmf());
}

// The bits of the enhanced metafile on the clipboard; "(none)" when there is none.
inline std::string ClipboardEmf() {
  if (!OpenClipboardSoon()) return "(not open)";
  std::string bits = "(none)";
  if (auto metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) bits = EmfBits(metafile);
  CloseClipboard();
  return bits;
}

// The first `size` bytes of a format on the clipboard; "(none)" when it is not there or smaller.
inline std::string ClipboardBytes(UINT format, std::size_t size) {
  if (!OpenClipboardSoon()) return "(not open)";
  std::string bytes = "(none)";
  if (HANDLE h = GetClipboardData(format); h && GlobalSize(h) >= size) {
    bytes.assign(static_cast<const char*>(GlobalLock(h)), size);
    GlobalUnlock(h);
  }
  CloseClipboard();
  return bytes;
}

}  // namespace swivex
