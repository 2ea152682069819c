#include "text/JsonText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace swivex {

std::string JsonQuoted(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (u < 0x20 || u == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      out.append(escaped);
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
  return out;
}

std::string JsonNumber(double value, int significantDigits) {
  if (!std::isfinite(value)) return "null";
  char buffer[64];
  const auto result = significantDigits > 0
                          ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                                          significantDigits)
                          : std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace swivex
