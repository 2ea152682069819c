// Walks a DXF file's bytes as lines and pairs them, code line then value line, one pair at a time, without
// building a list of all lines. Lines end at CR LF, at a lone CR or at a lone LF; a break at the very end of the
// bytes gives no empty last line, and a last line without its partner is never returned.
#pragma once

#include <cstddef>
#include <string_view>

namespace swivex {

struct TDxfPairScanner {
  std::string_view Bytes;
  std::size_t Pos = 0;
  int LinesTaken = 0;  // 1-based number of the last line returned
};

// The next line, untrimmed; false when the bytes are used up.
inline bool NextDxfLine(TDxfPairScanner& scanner, std::string_view& line) {
  const std::string_view bytes = scanner.Bytes;
  const std::size_t size = bytes.size();
  std::size_t pos = scanner.Pos;
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
  if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ++end;
  scanner.Pos = end + 1;
  ++scanner.LinesTaken;
  return true;
}

// The next code line and value line; false at the end, also when only a lone last line is left.
inline bool NextDxfPair(TDxfPairScanner& scanner, std::string_view& codeText, std::string_view& value) {
  return NextDxfLine(scanner, codeText) && NextDxfLine(scanner, value);
}

}  // namespace swivex
