// Number texts: the fixed-point patterns the dialog and the commands use, and the text-to-number conversions
// with their one conversion error. Texts are byte strings in the system code page (Shift-JIS on the target).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace swivex {

enum class TNumberKind { Integer, Real };

// The conversion error: what did not convert, and as what. Line is the 1-based line of a file the text came
// from, 0 when it came from elsewhere. what() gives the message in UTF-8 with the offending bytes as they are.
class TConvertError : public std::runtime_error {
 public:
  TConvertError(TNumberKind kind, std::string text, int line = 0);
  TNumberKind Kind() const { return Kind_; }
  const std::string& Text() const { return Text_; }
  int Line() const { return Line_; }
  void SetLine(int line) { Line_ = line; }

 private:
  TNumberKind Kind_;
  std::string Text_;
  int Line_;
};

// The message pattern of a conversion error, UTF-8, with %s where the offending text goes:
// "'%s' は整数ではありません" or "'%s' は浮動小数点数ではありません".
std::string_view ConvertErrorPattern(TNumberKind kind);

// The message as a message box shows it: the pattern with the text in place of %s, and a "." appended when the
// message's last character sorts after "." (both conversion messages end in one). Text is given already decoded.
std::string ConvertErrorMessageUtf8(TNumberKind kind, std::string_view decodedText);
std::string AppendFullStop(std::string message);

// Text to int32: leading blanks skipped, optional sign, decimal digits to the end. Anything else (a trailing
// blank, a tab, an empty text, a value beyond int32) raises TConvertError(Integer).
std::int32_t StrToInt(std::string_view text);

// Text to double: optional blanks (U+0020), optional sign, digits with at most one full stop, optional exponent,
// optional blanks; the nearest double. Anything else raises TConvertError(Real).
double StrToFloat(std::string_view text);

// printf-style "%W.Df" of a double, taken to 18 significant digits first and then rounded to D decimals with a
// 5 rounding away from zero; no minus sign on a value that rounds to zero; blanks on the left up to width W.
std::string FormatFixed(double value, int width, int decimals);

inline std::string FormatLength(double v) { return FormatFixed(v, 8, 6); }    // "%8.6f"
inline std::string FormatDegrees(double v) { return FormatFixed(v, 11, 8); }  // "%11.8f"
inline std::string FormatSeconds(double v) { return FormatFixed(v, 6, 6); }   // "%6.6f"
// "%8.6f,%8.6f": a point typed into AutoCAD, x and y only.
std::string FormatPoint(double x, double y);

}  // namespace swivex
