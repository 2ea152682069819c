// The DXF reader: walks an ASCII DXF file as code/value pairs and refills the entity store with the LINE,
// POLYLINE/VERTEX, LWPOLYLINE, TEXT/MTEXT, ARC and CIRCLE entities of its ENTITIES section and the records of
// its text STYLE table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace swivex {

// A read that cannot go on for a reason other than a number: the file cannot be read, or a polyline gives more
// vertices than a record holds. what() is the Japanese message in UTF-8; FileName is in the system code page.
class TDxfReadError : public std::runtime_error {
 public:
  TDxfReadError(const std::string& messageUtf8, std::string fileName, int line);
  const std::string& FileName() const { return FileName_; }
  int Line() const { return Line_; }  // 1-based, 0 when no line is concerned

 private:
  std::string FileName_;
  int Line_;
};

// Resets the counters, and when the file exists reads it into the store. Returns LineCount. A text that does
// not convert raises TConvertError with its 1-based line set; see TDxfReadError for the rest. The file name is a
// byte string in the system code page.
std::int32_t ReadDxfEntities(std::string_view fileName);

// The same read over a file's bytes already in memory (the file exists).
std::int32_t ReadDxfBytes(std::string_view bytes);

// The same read over a source of bytes (the file exists), taken in pieces of pieceBytes into one buffer: a
// first pass reads the whole source, a second reads its pairs. For the file read and for tests of the pieces'
// edges.
class TDxfByteSource;
inline constexpr std::size_t kDxfPieceBytes = 256 * 1024;
std::int32_t ReadDxfSource(TDxfByteSource& source, std::string_view fileName, std::size_t pieceBytes,
                           std::int32_t& styleCount);

// The same two reads, also giving the number of STYLE table records the read started (slots 0 to
// styleCount - 1 of Styles are this read's styles). For tools that show the whole store.
std::int32_t ReadDxfEntities(std::string_view fileName, std::int32_t& styleCount);
std::int32_t ReadDxfBytes(std::string_view bytes, std::int32_t& styleCount);

// A polyline record holds kMaxVertices vertices; a polyline that gives more fails the read with this message
// rather than losing its further vertices. Line() is the line of the group 10 that found no room.
inline constexpr std::string_view kTooManyVerticesMessage = "ポリラインの頂点が 1000 を超えています";

// The message of a file that exists but cannot be read, with the file name given already decoded to UTF-8.
// A TDxfReadError of that kind has Line() 0 and carries the file name as bytes in FileName().
std::string FileReadErrorMessageUtf8(std::string_view decodedFileName);

// The Height of the first slot of Styles named exactly so, looking through every slot, not only this read's;
// 0.0 when no slot has that name.
double StyleHeight(std::string_view name);

// The text without the MTEXT codes \P \O \o \L \l and the \T…; and \C…; runs.
std::string StripMTextCodes(std::string_view text);

}  // namespace swivex
