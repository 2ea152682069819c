// The Windows test binaries must run as on the users' machines: ANSI code page 932 (Shift-JIS).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "text/Sjis.h"

namespace swivex {
namespace {

TEST(WineEnvironment, AnsiCodePageIsShiftJis) {
  ASSERT_EQ(GetACP(), 932u) << "Wine must run with LC_ALL=ja_JP.UTF-8 so that the ANSI code page is 932";
}

TEST(WineEnvironment, CompileTimeLiteralsMatchTheSystemConversion) {
  const wchar_t* wide = L"コマンド: オブジェクトを選択キャンセルテキスト ウィンドウコマンド ラインφ";
  const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, bytes.data(), n, nullptr, nullptr);
  bytes.resize(static_cast<std::size_t>(n - 1));
  constexpr auto literal = Sjis(u8"コマンド: オブジェクトを選択キャンセルテキスト ウィンドウコマンド ラインφ");
  EXPECT_EQ(bytes, std::string(literal.View()));
}

}  // namespace
}  // namespace swivex
