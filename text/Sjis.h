// Japanese literals as Shift-JIS (code page 932) bytes, made at compile time from UTF-8 source.
// The texts the tool compares with what AutoCAD shows (prompt, history, window titles, DXF text) are bytes in the
// system code page, so the literals must be those bytes too. Only the characters below are known; a literal with
// any other non-ASCII character does not compile. The table is checked against iconv's CP932 by the tests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace swivex {

struct TSjisEntry {
  char32_t Code;
  std::uint16_t Sjis;
};

inline constexpr TSjisEntry kSjisTable[] = {
    {U'コ', 0x8352}, {U'マ', 0x837D}, {U'ン', 0x8393}, {U'ド', 0x8368}, {U'オ', 0x8349}, {U'ブ', 0x8375},
    {U'ジ', 0x8357}, {U'ェ', 0x8346}, {U'ク', 0x834E}, {U'ト', 0x8367}, {U'を', 0x82F0}, {U'選', 0x9149},
    {U'択', 0x91F0}, {U'キ', 0x834C}, {U'ャ', 0x8383}, {U'セ', 0x835A}, {U'ル', 0x838B}, {U'テ', 0x8365},
    {U'ス', 0x8358}, {U'ウ', 0x8345}, {U'ィ', 0x8342}, {U'ラ', 0x8389}, {U'イ', 0x8343}, {U'φ', 0x83D3},
    {U'の', 0x82CC}, {U'新', 0x9056}, {U'し', 0x82B5}, {U'い', 0x82A2}, {U'値', 0x926C}, {U'入', 0x93FC},
    {U'力', 0x97CD},
    // What a Japanese input method types into a number field, and the marks of a written angle.
    {U'０', 0x824F}, {U'１', 0x8250}, {U'２', 0x8251}, {U'３', 0x8252}, {U'４', 0x8253}, {U'５', 0x8254},
    {U'６', 0x8255}, {U'７', 0x8256}, {U'８', 0x8257}, {U'９', 0x8258}, {U'＋', 0x817B}, {U'－', 0x817C},
    {U'．', 0x8144}, {U'　', 0x8140}, {U'°', 0x818B}, {U'′', 0x818C}, {U'″', 0x818D}, {U'ｄ', 0x8284},
    {U'Ｄ', 0x8263}, {U'＇', 0xFA56}, {U'＂', 0xFA57}, {U'’', 0x8166}, {U'”', 0x8168},
};

// A Shift-JIS literal: Size bytes, not zero-terminated in the view.
template <std::size_t N>
struct TSjisLiteral {
  std::array<char, N> Bytes{};
  std::size_t Size = 0;
  constexpr std::string_view View() const { return {Bytes.data(), Size}; }
  constexpr operator std::string_view() const { return View(); }
};

namespace detail {
// Decodes one UTF-8 sequence starting at s[i]; advances i.
constexpr char32_t DecodeUtf8(const char8_t* s, std::size_t& i) {
  const unsigned char b0 = s[i];
  if (b0 < 0x80) { i += 1; return b0; }
  if ((b0 & 0xE0) == 0xC0) { char32_t c = ((b0 & 0x1F) << 6) | (s[i + 1] & 0x3F); i += 2; return c; }
  if ((b0 & 0xF0) == 0xE0) {
    char32_t c = ((b0 & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
    i += 3;
    return c;
  }
  char32_t c = ((b0 & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
  i += 4;
  return c;
}

constexpr std::uint16_t LookUpSjis(char32_t c) {
  for (const auto& e : kSjisTable)
    if (e.Code == c) return e.Sjis;
  throw "character missing from kSjisTable";  // not a constant expression: compile error
}
}  // namespace detail

// Sjis(u8"コマンド: ") gives the 10 bytes 83 52 83 7D 83 93 83 68 3A 20.
template <std::size_t N>
consteval TSjisLiteral<2 * N> Sjis(const char8_t (&utf8)[N]) {
  TSjisLiteral<2 * N> out;
  std::size_t i = 0;
  while (i < N - 1) {
    const char32_t c = detail::DecodeUtf8(utf8, i);
    if (c < 0x80) {
      out.Bytes[out.Size++] = static_cast<char>(c);
    } else {
      const std::uint16_t code = detail::LookUpSjis(c);
      out.Bytes[out.Size++] = static_cast<char>(code >> 8);
      out.Bytes[out.Size++] = static_cast<char>(code & 0xFF);
    }
  }
  return out;
}

// Layer and linetype names compared as AutoCAD compares them: a single-byte ASCII letter matches either case;
// every other byte, and both bytes of a two-byte character (whose second byte may look like a letter: 鉄 is
// 93 53, 都 93 73), must be equal.
constexpr bool SameCadName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
  const auto lead = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); };
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (upper(x) != upper(y)) return false;
    if (lead(x) && ++i < a.size() && a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace swivex
