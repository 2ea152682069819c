#include "text/NumText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace swivex {

namespace {

std::string FormatPattern(TNumberKind kind, std::string_view text) {
  const std::string_view pattern = ConvertErrorPattern(kind);
  const auto at = pattern.find("%s");
  std::string out(pattern.substr(0, at));
  out.append(text);
  out.append(pattern.substr(at + 2));
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TConvertError::TConvertError(TNumberKind kind, std::string text, int line)
    : std::runtime_error(FormatPattern(kind, text)), Kind_(kind), Text_(std::move(text)), Line_(line) {}

std::string_view ConvertErrorPattern(TNumberKind kind) {
  return kind == TNumberKind::Integer ? "'%s' は整数ではありません" : "'%s' は浮動小数点数ではありません";
}

std::string AppendFullStop(std::string message) {
  // The last character decides; in UTF-8 every byte of a multi-byte character sorts after ".".
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
    message.push_back('.');
  return message;
}

std::string ConvertErrorMessageUtf8(TNumberKind kind, std::string_view decodedText) {
  return AppendFullStop(FormatPattern(kind, decodedText));
}

std::int32_t StrToInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) throw TConvertError(TNumberKind::Integer, std::string(text));
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) throw TConvertError(TNumberKind::Integer, std::string(text));
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
      throw TConvertError(TNumberKind::Integer, std::string(text));
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) throw TConvertError(TNumberKind::Integer, std::string(text));
  return static_cast<std::int32_t>(value);
}

double StrToFloat(std::string_view text) {
  const auto fail = [&] { return TConvertError(TNumberKind::Real, std::string(text)); };
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  std::string_view body = text.substr(begin, end - begin);

  bool negative = false;
  if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
    negative = body[0] == '-';
    body.remove_prefix(1);
  }
  // Mantissa: digits with at most one full stop, at least one digit; then an optional exponent with digits.
  std::size_t i = 0, digits = 0, stops = 0;
  for (; i < body.size() && (IsDigit(body[i]) || body[i] == '.'); ++i) {
    if (body[i] == '.') ++stops; else ++digits;
  }
  if (digits == 0 || stops > 1) throw fail();
  if (i < body.size()) {
    if (body[i] != 'e' && body[i] != 'E') throw fail();
    ++i;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
    const std::size_t expDigits = i;
    while (i < body.size() && IsDigit(body[i])) ++i;
    if (i == expDigits || i != body.size()) throw fail();
  }

  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too small rounds to zero, too large does not convert.
    const std::string copy(body);
    const double rough = std::strtod(copy.c_str(), nullptr);
    if (std::isinf(rough) || std::fabs(rough) >= 1.0) throw fail();
    value = rough;
  } else if (ec != std::errc() || ptr != body.data() + body.size()) {
    throw fail();
  }
  return negative ? -value : value;
}

std::string FormatFixed(double value, int width, int decimals) {
  std::string out;
  if (std::isnan(value)) {
    out = "NAN";
  } else if (std::isinf(value)) {
    out = value < 0 ? "-INF" : "INF";
  } else {
    // 18 significant digits, correctly rounded: d.ddddddddddddddddde±x.
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 17);
    const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const bool negative = sci[0] == '-';
    const std::string_view mant = sci.substr(negative ? 1 : 0, sci.find('e') - (negative ? 1 : 0));
    int exp10 = 0;
    std::size_t expAt = sci.find('e') + 1;
    if (sci[expAt] == '+') ++expAt;  // from_chars takes no plus sign
    std::from_chars(sci.data() + expAt, sci.data() + sci.size(), exp10);
    std::string sig;  // the 18 digits, the first at place 10^exp10
    for (char c : mant)
      if (c != '.') sig.push_back(c);

    // Keep the digits down to the place 10^-decimals; the next digit decides, a 5 rounding away from zero.
    const int keep = exp10 + decimals + 1;
    std::string scaled;  // |value| × 10^decimals, as whole digits
    if (keep <= 0) {
      scaled = (keep == 0 && sig[0] >= '5') ? "1" : "0";
    } else if (keep >= static_cast<int>(sig.size())) {
      scaled = sig + std::string(static_cast<std::size_t>(keep) - sig.size(), '0');
    } else {
      scaled = sig.substr(0, static_cast<std::size_t>(keep));
      if (sig[static_cast<std::size_t>(keep)] >= '5') {
        int k = static_cast<int>(scaled.size()) - 1;
        for (; k >= 0 && scaled[static_cast<std::size_t>(k)] == '9'; --k) scaled[static_cast<std::size_t>(k)] = '0';
        if (k < 0) scaled.insert(scaled.begin(), '1');
        else ++scaled[static_cast<std::size_t>(k)];
      }
    }
    const std::size_t firstNonZero = scaled.find_first_not_of('0');
    if (firstNonZero == std::string::npos) scaled = "0";
    else scaled.erase(0, firstNonZero);
    if (scaled.size() <= static_cast<std::size_t>(decimals))
      scaled.insert(0, static_cast<std::size_t>(decimals) + 1 - scaled.size(), '0');
    if (decimals > 0) scaled.insert(scaled.size() - static_cast<std::size_t>(decimals), 1, '.');
    if (negative && firstNonZero != std::string::npos) out.push_back('-');
    out += scaled;
  }
  if (static_cast<int>(out.size()) < width) out.insert(0, static_cast<std::size_t>(width) - out.size(), ' ');
  return out;
}

std::string FormatPoint(double x, double y) { return FormatFixed(x, 8, 6) + "," + FormatFixed(y, 8, 6); }

}  // namespace swivex
