#include "cadlink/AcadEcho.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "text/NumText.h"

namespace swivex {

namespace {

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }

void CutAt(char separator, std::string& rest, std::string& head) {
  std::size_t begin = 0, end = rest.size();
  while (begin < end && IsTrimmed(rest[begin])) ++begin;
  while (end > begin && IsTrimmed(rest[end - 1])) --end;
  const std::string trimmed = rest.substr(begin, end - begin);
  const auto at = trimmed.find(separator);
  if (at == std::string::npos) {
    head = trimmed;
    rest.clear();
  } else {
    head = trimmed.substr(0, at);
    rest = trimmed.substr(at + 1);
  }
}

}  // namespace

std::vector<std::string_view> SplitHistoryLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string LastNonEmptyLine(std::string_view text) {
  const auto lines = SplitHistoryLines(text);
  for (auto it = lines.rbegin(); it != lines.rend(); ++it)
    if (!it->empty()) return std::string(*it);
  return {};
}

void CutAtComma(std::string& rest, std::string& head) { CutAt(',', rest, head); }

void CutAtParen(std::string& rest, std::string& head) { CutAt('(', rest, head); }

void ReadUcsEcho(std::string line, TPoint3D& point) {
  TPoint3D rounding;
  ReadUcsEcho(std::move(line), point, rounding);
}

double HalfLastDecimal(std::string_view number) {
  const auto exponentAt = number.find_first_of("Ee");
  const std::string_view mantissa = number.substr(0, exponentAt);
  int decimals = 0;
  if (const auto dot = mantissa.find('.'); dot != std::string_view::npos)
    while (dot + 1 + decimals < mantissa.size() && mantissa[dot + 1 + decimals] >= '0' &&
           mantissa[dot + 1 + decimals] <= '9')
      ++decimals;
  long exponent = 0;
  if (exponentAt != std::string_view::npos)
    exponent = std::strtol(std::string(number.substr(exponentAt + 1)).c_str(), nullptr, 10);
  return 0.5 * std::pow(10.0, static_cast<double>(exponent - decimals));
}

void ReadUcsEcho(std::string line, TPoint3D& point, TPoint3D& rounding) {
  if (const auto eq = line.find('='); eq != std::string::npos) line.erase(0, eq + 1);
  std::string piece;
  CutAtComma(line, piece);
  point.x = StrToFloat(piece);
  rounding.x = HalfLastDecimal(piece);
  CutAtComma(line, piece);
  point.y = StrToFloat(piece);
  rounding.y = HalfLastDecimal(piece);
  CutAtParen(line, piece);
  point.z = StrToFloat(piece);
  rounding.z = HalfLastDecimal(piece);
}

}  // namespace swivex
