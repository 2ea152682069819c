// Text between UTF-16 windows and byte strings (Win32): the ANSI code page (Shift-JIS on the target) for what is
// compared with AutoCAD, typed into it or converted to numbers, and UTF-8 for the program's own texts. A
// character the code page lacks becomes its default character.
#pragma once

#include <string>
#include <string_view>

namespace swivex {

std::wstring AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::wstring_view wide);
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace swivex
