// Reading a DXF file's bytes for the reader, piece by piece into a buffer it reuses: tells a missing file from
// one that cannot be read, and names the file in the error of one that cannot.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace swivex {

// Where a read in pieces takes its bytes from: a file, or in tests bytes in memory.
class TDxfByteSource {
 public:
  virtual ~TDxfByteSource() = default;
  // Up to room bytes into into; 0 once the bytes are used up. Raises TDxfReadError when they cannot be read.
  virtual std::size_t Read(char* into, std::size_t room) = 0;
  // Back to the first byte, for a second pass. Raises TDxfReadError when it cannot.
  virtual void Rewind() = 0;
};

class TDxfFileSource : public TDxfByteSource {
 public:
  enum class TOpened { Missing, Unreadable, Open };
  // Missing when no file of that name exists; Unreadable when one exists but does not open.
  TOpened Open(std::string_view fileName);
  std::size_t Read(char* into, std::size_t room) override;
  void Rewind() override;
  // The error of this file that cannot be read.
  [[noreturn]] void Fail() const;

 private:
  struct TCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::string Name_;
  std::unique_ptr<std::FILE, TCloser> File_;
};

struct TDxfPieces;
struct TRecordEstimate;

// The first pass of a read in pieces: reads all of the source once, so that a source that cannot be read fails
// before any record is touched, and counts the records for their room. Gives the number of bytes; the buffer
// then holds all of them when they fit into it (wholeInBuffer).
std::size_t CountRecordsOfSource(TDxfPieces& pieces, TRecordEstimate& estimate, bool& wholeInBuffer);

}  // namespace swivex
