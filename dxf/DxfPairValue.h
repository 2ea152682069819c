// The value line of the pair the reader is handling, read only when a step wants it, and the reader's number
// conversions, which name the file line a text came from.
#pragma once

#include <charconv>
#include <cstdint>
#include <string_view>

#include "dxf/DxfPairScanner.h"
#include "text/NumText.h"

namespace swivex {

// Conversions that name the file line the text came from.
inline std::int32_t IntOf(std::string_view text, int line) {
  // Fast path for what DXF writes: blanks, then one to nine digits. Anything else goes to StrToInt, which also
  // gives the error; both give the same value where the fast path answers.
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && text.size() - i <= 9) {
    std::int32_t value = 0;
    std::size_t k = i;
    for (; k < text.size() && text[k] >= '0' && text[k] <= '9'; ++k) value = value * 10 + (text[k] - '0');
    if (k == text.size()) return value;
  }
  try {
    return StrToInt(text);
  } catch (TConvertError& error) {
    error.SetLine(line);
    throw;
  }
}

inline double RealOf(std::string_view text, int line) {
  // Fast path: text that from_chars takes whole and that starts like a decimal number ([-] then a digit or ".")
  // converts to the same double in StrToFloat, which checks the same text and then calls from_chars. The rest
  // (blanks, "+", inf and nan, out of range, errors) goes to StrToFloat.
  const std::size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
  if (first < text.size() && ((text[first] >= '0' && text[first] <= '9') || text[first] == '.')) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && end == text.data() + text.size()) return value;
  }
  try {
    return StrToFloat(text);
  } catch (TConvertError& error) {
    error.SetLine(line);
    throw;
  }
}

// The value line of the pair being handled, read only when a step wants it: as a number straight from the
// bytes where the short cut applies, as text otherwise. Every pair's value line is taken exactly once.
class TPairValue {
 public:
  TPairValue(TDxfPairScanner& scanner, int line) : Scanner_(scanner), Line_(line) {}
  TPairValue(const TPairValue&) = delete;
  TPairValue& operator=(const TPairValue&) = delete;

  std::string_view Text() {
    if (!Taken_) {
      NextDxfLine(Scanner_, Text_);
      Taken_ = true;
    }
    return Text_;
  }
  bool operator==(std::string_view keyword) { return Text() == keyword; }
  double Real() {
    double value;
    if (!Taken_ && TakeDxfPlainReal(Scanner_, value, Text_)) {
      Taken_ = true;
      return value;
    }
    return RealOf(Text(), Line_);
  }
  std::int32_t Int() { return IntOf(Text(), Line_); }
  // Steps past the value line when no step wanted it.
  void Finish() {
    if (!Taken_) Text();
  }

 private:
  TDxfPairScanner& Scanner_;
  int Line_;
  bool Taken_ = false;
  std::string_view Text_;
};

}  // namespace swivex
