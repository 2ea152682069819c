// Walks a DXF file's bytes as lines and pairs them, code line then value line, one pair at a time, without
// building a list of all lines. Lines end at CR LF, at a lone CR or at a lone LF; a break at the very end of the
// bytes gives no empty last line, and a last line without its partner is never returned. The bytes are either all
// in memory or come in pieces into one buffer, refilled whenever a line reaches its end: a line and the views of
// it stay valid until the next line is taken.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "dxf/DxfFile.h"

namespace swivex {

// The buffer of a read in pieces. It grows only for a line longer than itself.
struct TDxfPieces {
  TDxfByteSource* Source = nullptr;
  std::unique_ptr<char[]> Buffer;
  std::size_t Capacity = 0;
  bool Ended = false;  // the source gave 0 bytes
};

struct TDxfPairScanner {
  std::string_view Bytes;  // all the bytes, or those of the buffer not yet used up
  std::size_t Pos = 0;
  int LinesTaken = 0;  // 1-based number of the last line returned
  TDxfPieces* Pieces = nullptr;
};

// Moves the bytes from Pos on to the buffer's front and reads more after them; false when the source gives no
// more (or there is none). The scanner's views of earlier lines are gone afterwards.
bool RefillDxfScanner(TDxfPairScanner& scanner);

// True when a line that reaches index end is not yet decided: the buffer ends first, or right after a CR that
// may be the first half of CR LF, and the source may have more.
inline bool DxfLineNeedsMore(const TDxfPairScanner& scanner, std::size_t end) {
  const std::string_view bytes = scanner.Bytes;
  if (end + 1 < bytes.size()) return false;  // the line's end and the byte after it are both here
  return scanner.Pieces && !scanner.Pieces->Ended && (end >= bytes.size() || bytes[end] == '\r');
}

// True when no line is left.
inline bool AtDxfEnd(TDxfPairScanner& scanner) {
  return scanner.Pos >= scanner.Bytes.size() && !RefillDxfScanner(scanner);
}

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
  if (AtDxfEnd(scanner)) return false;
  for (;;) {
    const std::string_view bytes = scanner.Bytes;
    const std::size_t size = bytes.size();
    const std::size_t pos = scanner.Pos;
    const char* const data = bytes.data();
    std::size_t end = pos;
    // Only bytes up to CR can end a line: one compare rejects almost every byte.
    while (end < size) {
      const unsigned char c = static_cast<unsigned char>(data[end]);
      if (c <= '\r' && (c == '\n' || c == '\r')) break;
      ++end;
    }
    if (DxfLineNeedsMore(scanner, end)) {
      RefillDxfScanner(scanner);
      continue;
    }
    line = std::string_view(data + pos, end - pos);
    EndDxfLineAt(scanner, end);
    return true;
  }
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
  for (;;) {
    const std::string_view bytes = scanner.Bytes;
    std::size_t i = scanner.Pos;
    while (i < bytes.size() && bytes[i] == ' ') ++i;
    const std::size_t digits = i;
    std::int32_t number = 0;
    for (; i < bytes.size() && i - digits < 9 && bytes[i] >= '0' && bytes[i] <= '9'; ++i)
      number = number * 10 + (bytes[i] - '0');
    if (DxfLineNeedsMore(scanner, i)) {
      RefillDxfScanner(scanner);
      continue;
    }
    // A tenth digit is no line end either: such a line takes the long way.
    if (i == digits || (i < bytes.size() && !IsDxfLineEnd(bytes[i]))) return false;
    value = number;
    EndDxfLineAt(scanner, i);
    return true;
  }
}

inline bool TakeDxfPlainReal(TDxfPairScanner& scanner, double& value, std::string_view& line) {
  for (;;) {
    const std::string_view bytes = scanner.Bytes;
    const std::size_t pos = scanner.Pos;
    const std::size_t first = pos < bytes.size() && bytes[pos] == '-' ? pos + 1 : pos;
    if (DxfLineNeedsMore(scanner, first)) {
      RefillDxfScanner(scanner);
      continue;
    }
    if (first >= bytes.size() || !((bytes[first] >= '0' && bytes[first] <= '9') || bytes[first] == '.'))
      return false;
    std::size_t stop;
    // Zero as DXF writes it ("0.0000000000000000", the z of every 2D point) is +0.0 without a conversion.
    std::size_t i = pos;
    if (bytes[pos] == '0' && pos + 1 < bytes.size() && bytes[pos + 1] == '.') {
      i = pos + 2;
      while (i < bytes.size() && bytes[i] == '0') ++i;
    }
    if (i > pos && (i == bytes.size() || IsDxfLineEnd(bytes[i]))) {
      value = 0.0;
      stop = i;
    } else {
      const char* const end = bytes.data() + bytes.size();
      const auto [at, ec] = std::from_chars(bytes.data() + pos, end, value);
      // An error leaves the line to the long way, which also reads a number that goes on in the next piece.
      if (ec != std::errc()) return false;
      stop = static_cast<std::size_t>(at - bytes.data());
    }
    if (DxfLineNeedsMore(scanner, stop)) {
      RefillDxfScanner(scanner);
      continue;
    }
    // A line end cannot belong to a number, so where it stops the number is also the whole line.
    if (stop != bytes.size() && !IsDxfLineEnd(bytes[stop])) return false;
    line = bytes.substr(pos, stop - pos);
    EndDxfLineAt(scanner, stop);
    return true;
  }
}

}  // namespace swivex
