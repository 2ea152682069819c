// JSON texts for the programs that print what they hold (dxfdump, the stand-in host's drawing): quoted strings
// and numbers that read back to the same double.
#pragma once

#include <string>
#include <string_view>

namespace swivex {

// A UTF-8 text as a JSON string: quotes and backslashes escaped, control characters and DEL as \u00XX.
std::string JsonQuoted(std::string_view utf8);

// A double as JSON: the shortest text that reads back to it, or with the given number of significant digits;
// null for an infinity or NaN, which JSON cannot write.
std::string JsonNumber(double value, int significantDigits = 0);

}  // namespace swivex
