#include "text/Sjis.h"

#include <gtest/gtest.h>

#if __has_include(<iconv.h>) && !defined(_WIN32)
#include <iconv.h>
#define SWIVEX_HAVE_ICONV 1
#endif

#include <string>

namespace swivex {
namespace {

TEST(Sjis, LiteralsBecomeCodePage932Bytes) {
  constexpr auto prompt = Sjis(u8"コマンド: ");
  static_assert(prompt.Size == 10);
  EXPECT_EQ(prompt.View(), std::string_view("\x83\x52\x83\x7D\x83\x93\x83\x68: ", 10));
  EXPECT_EQ(Sjis(u8"φ").View(), "\x83\xD3");
  EXPECT_EQ(Sjis(u8"ab").View(), "ab");
  EXPECT_EQ(Sjis(u8"").View(), "");
}

// Names fold only single-byte ASCII letters; a two-byte character's bytes compare exactly, also a second byte
// that looks like a letter (鉄 93 53 / 都 93 73, 電 93 64 / 泥 93 44, ア 83 41 / ヂ 83 61).
TEST(Sjis, NamesCompareAsAutoCadComparesThem) {
  EXPECT_TRUE(SameCadName("Walls-1", "WALLS-1"));
  EXPECT_TRUE(SameCadName("\x93\x53" "a", "\x93\x53" "A"));  // 鉄a, 鉄A
  for (const auto& [a, b] : {std::pair{"\x93\x53", "\x93\x73"}, {"\x93\x64", "\x93\x44"}, {"\x83\x41", "\x83\x61"}})
    EXPECT_FALSE(SameCadName(a, b)) << a;
  EXPECT_FALSE(SameCadName("\xB1", "\xD1"));  // half-width ｱ and ﾑ: single bytes, never folded
  EXPECT_FALSE(SameCadName("A", "AB"));
}

#ifdef SWIVEX_HAVE_ICONV
// Every entry of the table against glibc's CP932.
TEST(Sjis, TableAgreesWithIconv) {
  iconv_t cd = iconv_open("CP932", "UTF-32LE");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  for (const auto& e : kSjisTable) {
    char32_t in = e.Code;
    char out[4] = {};
    char* inp = reinterpret_cast<char*>(&in);
    char* outp = out;
    std::size_t inLeft = 4, outLeft = sizeof out;
    ASSERT_NE(iconv(cd, &inp, &inLeft, &outp, &outLeft), static_cast<std::size_t>(-1));
    ASSERT_EQ(outp - out, 2) << "U+" << std::hex << static_cast<unsigned>(e.Code);
    const unsigned got = (static_cast<unsigned char>(out[0]) << 8) | static_cast<unsigned char>(out[1]);
    EXPECT_EQ(got, e.Sjis) << "U+" << std::hex << static_cast<unsigned>(e.Code);
  }
  iconv_close(cd);
}
#endif

}  // namespace
}  // namespace swivex
