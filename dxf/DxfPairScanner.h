// Walks a DXF file's bytes as lines and pairs them, code line then value line, one pair at a time, without
// building a list of all lines. Lines end at CR LF, at a lone CR or at a lone LF; a break at the very end of the
// bytes gives no empty last line, and a last line without its partner is never returned.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace swivex {

struct TDxfPairScanner {
  std::string_view Bytes;
  std::size_t Pos = 0;
  int LinesTaken = 0;  // 1-based number of the last line returned
};

// Steps past the line end at end (CR LF counts as one); end may be the end of the bytes.
inline void EndDxfLineAt(TDxfPairScanner& scanner, std::size_t end) {
  const std::string_view bytes = scanner.Bytes;
  if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ++end;
  scanner.Pos = end + 1;
  ++scanner.LinesTaken;
}

inline bool IsDxfLineEnd(char c) { return c == '\n' || c == '\r'; }

// The next line, untrimmed; false when the bytes are used up.
inline bool NextDxfLine(TDxfPairScanner& scanner, std::string_view& line) {
  const std::string_view bytes = scanner.Bytes;
  const std::size_t size = bytes.size();
  const std::size_t pos = scanner.Pos;
  if (pos >= size) return false;
  const char* const data = bytes.data();
  std::size_t end = pos;
  // Only bytes up to CR can end a line: one compare rejects almost every byte.
  while (end < size) {
    const unsigned char c = static_cast<unsigned char>(data[end]);
    if (c <= '\r' && (c == '\n' || c == '\r')) break;
    ++end;
  }
  line = std::string_view(data + pos, end - pos);
  EndDxfLineAt(scanner, end);
  return true;
}

// The next code line and value line; false at the end, also when only a lone last line is left.
inline bool NextDxfPair(TDxfPairScanner& scanner, std::string_view& codeText, std::string_view& value) {
  return NextDxfLine(scanner, codeText) && NextDxfLine(scanner, value);
}

// Short cuts that read the next line and its number in one go, for the lines DXF writes: a code line of blanks
// then one to nine digits, a real of [-] then a digit or "." that std::from_chars takes up to the line end.
// Each gives the same number as converting the whole line would; on any other line it takes nothing and answers
// false, and the line is read as text and converted the long way.
inline bool TakeDxfPlainInt(TDxfPairScanner& scanner, std::int32_t& value) {
  const std::string_view bytes = scanner.Bytes;
  std::size_t i = scanner.Pos;
  while (i < bytes.size() && bytes[i] == ' ') ++i;
  const std::size_t digits = i;
  std::int32_t number = 0;
  for (; i < bytes.size() && i - digits < 9 && bytes[i] >= '0' && bytes[i] <= '9'; ++i)
    number = number * 10 + (bytes[i] - '0');
  // A tenth digit is no line end either: such a line takes the long way.
  if (i == digits || (i < bytes.size() && !IsDxfLineEnd(bytes[i]))) return false;
  value = number;
  EndDxfLineAt(scanner, i);
  return true;
}

inline bool TakeDxfPlainReal(TDxfPairScanner& scanner, double& value, std::string_view& line) {
  const std::string_view bytes = scanner.Bytes;
  const std::size_t pos = scanner.Pos;
  const std::size_t first = pos < bytes.size() && bytes[pos] == '-' ? pos + 1 : pos;
  if (first >= bytes.size() || !((bytes[first] >= '0' && bytes[first] <= '9') || bytes[first] == '.')) return false;
  const char* const end = bytes.data() + bytes.size();
  // Zero as DXF writes it ("0.0000000000000000", the z of every 2D point) is +0.0 without a conversion.
  if (bytes[pos] == '0' && pos + 1 < bytes.size() && bytes[pos + 1] == '.') {
    std::size_t i = pos + 2;
    while (i < bytes.size() && bytes[i] == '0') ++i;
    if (i == bytes.size() || IsDxfLineEnd(bytes[i])) {
      value = 0.0;
      line = bytes.substr(pos, i - pos);
      EndDxfLineAt(scanner, i);
      return true;
    }
  }
  const auto [stop, ec] = std::from_chars(bytes.data() + pos, end, value);
  // A line end cannot belong to a number, so where it stops the number is also the whole line.
  if (ec != std::errc() || (stop != end && !IsDxfLineEnd(*stop))) return false;
  const std::size_t lineEnd = static_cast<std::size_t>(stop - bytes.data());
  line = bytes.substr(pos, lineEnd - pos);
  EndDxfLineAt(scanner, lineEnd);
  return true;
}

}  // namespace swivex
