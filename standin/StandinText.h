// The stand-in host's text conversions (Win32): UTF-8, UTF-16 and the ANSI code page, and the log's escapes.
#pragma once

#include <windows.h>

#include <string>

namespace swivex {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& w);
std::string Ansi(const std::wstring& w);
std::wstring WideFromAnsi(const char* bytes, int size);
std::u32string CodePoints(const std::wstring& w);
// Control characters and the backslash written as \xHH, so that every log entry stays on one line.
std::string Escaped(const std::string& s);
// Bytes as hexadecimal pairs separated by blanks.
std::string HexBytes(const unsigned char* p, std::size_t n);

}  // namespace swivex
