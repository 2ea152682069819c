#include "standin/StandinText.h"

#include <cstdio>

#include "standin/StandinHost.h"
#include "win32/CodePage.h"

namespace swivex {

std::wstring Wide(const std::string& utf8) { return Utf8ToWide(utf8); }
std::string Utf8(const std::wstring& w) { return WideToUtf8(w); }
std::string Ansi(const std::wstring& w) { return WideToAnsi(w); }
std::wstring WideFromAnsi(const char* bytes, int size) {
  return AnsiToWide(std::string_view(bytes, static_cast<std::size_t>(size > 0 ? size : 0)));
}

std::u32string CodePoints(const std::wstring& w) { return Utf32FromUtf8(Utf8(w)); }

// Control characters and the backslash written as \xHH, so that every log entry stays on one line.
std::string Escaped(const std::string& s) {
  std::string out;
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == '\\') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += ch;
    }
  }
  return out;
}

std::string HexBytes(const unsigned char* p, std::size_t n) {
  std::string s;
  char buf[4];
  for (std::size_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", p[i]);
    s += buf;
  }
  return s;
}

}  // namespace swivex
