// What the dialog's number fields take as Japanese users type: full-width digits, signs, full stop and the
// ideographic space read as their ASCII forms, and a whole angle written as degrees, minutes and seconds in one
// text. Texts are bytes in the system code page (Shift-JIS on the target).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace swivex {

// The text with every full-width digit, ＋, －, ． and ideographic space (whole Shift-JIS characters) as its ASCII
// form; every other byte as it is.
std::string FoldFullWidth(std::string_view sjis);

// StrToInt and StrToFloat of the folded text. The conversion error names the text as it was typed.
std::int32_t FieldToInt(std::string_view sjis);
double FieldToFloat(std::string_view sjis);

// Whether the field is empty (blanks only) or holds a number equal to zero.
bool FieldIsEmptyOrZero(std::string_view sjis);

// A whole angle split into the texts of the degrees, minutes and seconds fields (ASCII).
struct TDmsTexts {
  std::string Degrees;
  std::string Minutes;
  std::string Seconds;
};

// Degrees, minutes and seconds in one text, as field books, spreadsheets and AutoCAD write them: "229°50′32″",
// "229°50'32.5\"", "229d50'32\"", "229-50-32", "229 50 32", full-width too, with a leading sign; whole degrees
// and minutes, seconds with decimals; the seconds (with their mark) may be left out after a minutes mark, and
// minutes and seconds after a degrees mark. A negative angle of 0 whole degrees carries its sign on the minutes
// and the seconds, as the dialog shows it. Nothing for any other text, a plain number included.
std::optional<TDmsTexts> SplitDmsText(std::string_view sjis);

}  // namespace swivex
