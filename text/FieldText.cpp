#include "text/FieldText.h"

#include "text/NumText.h"
#include "text/Sjis.h"

namespace swivex {

namespace {

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A two-byte character as the ASCII character it stands for in a number or a written angle; 0 for any other.
// Marks: 'd' degrees, '\'' minutes, '"' seconds.
char AsciiOf(std::string_view pair, bool marks) {
  static constexpr auto kDigitZero = Sjis(u8"０");
  if (pair[0] == kDigitZero.View()[0]) {
    const unsigned char trail = static_cast<unsigned char>(pair[1]);
    const unsigned char zero = static_cast<unsigned char>(kDigitZero.View()[1]);
    if (trail >= zero && trail < zero + 10) return static_cast<char>('0' + (trail - zero));
  }
  struct TFold {
    std::string_view Sjis;
    char Ascii;
    bool Mark;
  };
  static constexpr auto kPlus = Sjis(u8"＋");
  static constexpr auto kMinus = Sjis(u8"－");
  static constexpr auto kStop = Sjis(u8"．");
  static constexpr auto kBlank = Sjis(u8"　");
  static constexpr auto kDegree = Sjis(u8"°");
  static constexpr auto kMinute = Sjis(u8"′");
  static constexpr auto kSecond = Sjis(u8"″");
  static constexpr auto kSmallD = Sjis(u8"ｄ");
  static constexpr auto kCapitalD = Sjis(u8"Ｄ");
  static constexpr auto kApostrophe = Sjis(u8"＇");
  static constexpr auto kQuote = Sjis(u8"＂");
  static constexpr auto kRightSingle = Sjis(u8"’");
  static constexpr auto kRightDouble = Sjis(u8"”");
  static constexpr TFold kFolds[] = {
      {kPlus, '+', false},       {kMinus, '-', false},       {kStop, '.', false},      {kBlank, ' ', false},
      {kDegree, 'd', true},      {kMinute, '\'', true},      {kSecond, '"', true},     {kSmallD, 'd', true},
      {kCapitalD, 'd', true},    {kApostrophe, '\'', true},  {kQuote, '"', true},      {kRightSingle, '\'', true},
      {kRightDouble, '"', true},
  };
  for (const TFold& f : kFolds)
    if (pair == f.Sjis && (marks || !f.Mark)) return f.Ascii;
  return 0;
}

// The text folded character by character; false when marks are wanted and a character is none of the known.
bool Fold(std::string_view sjis, bool marks, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < sjis.size();) {
    if (IsLeadByte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size()) {
      const std::string_view pair = sjis.substr(i, 2);
      const char ascii = AsciiOf(pair, marks);
      if (ascii) out.push_back(ascii);
      else if (marks) return false;
      else out.append(pair);
      i += 2;
    } else {
      out.push_back(sjis[i++]);
    }
  }
  return true;
}

// A cursor over the folded angle text.
struct TCursor {
  std::string_view Text;
  std::size_t At = 0;
  bool End() const { return At >= Text.size(); }
  char Peek() const { return End() ? '\0' : Text[At]; }
  bool SkipBlanks() {
    const std::size_t from = At;
    while (!End() && Text[At] == ' ') ++At;
    return At > from;
  }
  std::string Digits() {
    const std::size_t from = At;
    while (!End() && IsDigit(Text[At])) ++At;
    return std::string(Text.substr(from, At - from));
  }
  // Blanks, the mark or '-', blanks: true when something separated.
  bool Separator(char mark, bool& sawMark) {
    bool separated = SkipBlanks();
    sawMark = Peek() == mark;
    if (sawMark || Peek() == '-') {
      ++At;
      separated = true;
      SkipBlanks();
    }
    return separated;
  }
};

}  // namespace

std::string FoldFullWidth(std::string_view sjis) {
  std::string out;
  Fold(sjis, false, out);
  return out;
}

std::int32_t FieldToInt(std::string_view sjis) {
  try {
    return StrToInt(FoldFullWidth(sjis));
  } catch (const TConvertError&) {
    throw TConvertError(TNumberKind::Integer, std::string(sjis));
  }
}

double FieldToFloat(std::string_view sjis) {
  try {
    return StrToFloat(FoldFullWidth(sjis));
  } catch (const TConvertError&) {
    throw TConvertError(TNumberKind::Real, std::string(sjis));
  }
}

bool FieldIsEmptyOrZero(std::string_view sjis) {
  const std::string folded = FoldFullWidth(sjis);
  if (folded.find_first_not_of(' ') == std::string::npos) return true;
  try {
    return StrToFloat(folded) == 0.0;
  } catch (const TConvertError&) {
    return false;
  }
}

std::optional<TDmsTexts> SplitDmsText(std::string_view sjis) {
  std::string folded;
  if (!Fold(sjis, true, folded)) return std::nullopt;
  for (char& ch : folded)
    if (ch == 'D') ch = 'd';
  TCursor c{folded};
  c.SkipBlanks();
  const bool negative = c.Peek() == '-';
  if (c.Peek() == '-' || c.Peek() == '+') ++c.At;
  TDmsTexts dms;
  dms.Degrees = c.Digits();
  if (dms.Degrees.empty()) return std::nullopt;

  bool degreeMark = false, minuteMark = false;
  if (!c.Separator('d', degreeMark)) return std::nullopt;  // a plain number, or something after it
  if (c.End() && !degreeMark) return std::nullopt;        // "229 " is a number with a blank
  dms.Minutes = c.End() ? "0" : c.Digits();
  if (dms.Minutes.empty()) return std::nullopt;
  if (c.End()) {
    dms.Seconds = "0";
  } else {
    if (!c.Separator('\'', minuteMark)) return std::nullopt;
    if (minuteMark && c.Peek() == '\'') return std::nullopt;  // '' after the minutes: no seconds given
    dms.Seconds = c.End() ? "0" : c.Digits();
    if (dms.Seconds.empty()) return std::nullopt;
    if (c.Peek() == '.') {
      ++c.At;
      const std::string decimals = c.Digits();
      if (decimals.empty()) return std::nullopt;
      dms.Seconds += "." + decimals;
    }
    c.SkipBlanks();
    if (c.Peek() == '"') ++c.At;
    else if (c.Text.substr(c.At, 2) == "''") c.At += 2;
    c.SkipBlanks();
    if (!c.End()) return std::nullopt;
  }
  if (negative) {
    if (dms.Degrees.find_first_not_of('0') != std::string::npos) {
      dms.Degrees.insert(0, 1, '-');
    } else {
      dms.Minutes.insert(0, 1, '-');
      dms.Seconds.insert(0, 1, '-');
    }
  }
  return dms;
}

}  // namespace swivex
