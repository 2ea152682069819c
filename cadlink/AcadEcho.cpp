#include "cadlink/AcadEcho.h"

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
  if (const auto eq = line.find('='); eq != std::string::npos) line.erase(0, eq + 1);
  std::string piece;
  CutAtComma(line, piece);
  point.x = StrToFloat(piece);
  CutAtComma(line, piece);
  point.y = StrToFloat(piece);
  CutAtParen(line, piece);
  point.z = StrToFloat(piece);
}

}  // namespace swivex
