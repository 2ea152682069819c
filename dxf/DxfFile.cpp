#include "dxf/DxfFile.h"

#include <cerrno>
#include <cstring>

#include "dxf/DxfPairScanner.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfRecordEstimate.h"

namespace swivex {

TDxfReadError::TDxfReadError(const std::string& messageUtf8, std::string fileName, int line)
    : std::runtime_error(messageUtf8), FileName_(std::move(fileName)), Line_(line) {}

std::string FileReadErrorMessageUtf8(std::string_view decodedFileName) {
  std::string message = "ファイル '";
  message.append(decodedFileName);
  message.append("' を読み込めません");
  return message;
}

TDxfFileSource::TOpened TDxfFileSource::Open(std::string_view fileName) {
  Name_ = std::string(fileName);
  errno = 0;
  File_.reset(Name_.empty() ? nullptr : std::fopen(Name_.c_str(), "rb"));
  if (File_) return TOpened::Open;
  return Name_.empty() || errno == ENOENT || errno == ENOTDIR ? TOpened::Missing : TOpened::Unreadable;
}

void TDxfFileSource::Fail() const { throw TDxfReadError(FileReadErrorMessageUtf8(Name_), Name_, 0); }

std::size_t TDxfFileSource::Read(char* into, std::size_t room) {
  // A folder opens on some systems and fails here, at its first read.
  const std::size_t got = std::fread(into, 1, room, File_.get());
  if (got == 0 && std::ferror(File_.get())) Fail();
  return got;
}

void TDxfFileSource::Rewind() {
  if (std::fseek(File_.get(), 0, SEEK_SET) != 0) Fail();
  std::clearerr(File_.get());
}

bool RefillDxfScanner(TDxfPairScanner& scanner) {
  TDxfPieces* pieces = scanner.Pieces;
  if (!pieces || pieces->Ended) return false;
  const std::size_t from = scanner.Pos < scanner.Bytes.size() ? scanner.Pos : scanner.Bytes.size();
  const std::size_t keep = scanner.Bytes.size() - from;
  if (keep == pieces->Capacity) {
    auto larger = std::make_unique_for_overwrite<char[]>(pieces->Capacity * 2);
    std::memcpy(larger.get(), scanner.Bytes.data() + from, keep);
    pieces->Buffer = std::move(larger);
    pieces->Capacity *= 2;
  } else if (keep > 0 && from > 0) {
    std::memmove(pieces->Buffer.get(), scanner.Bytes.data() + from, keep);
  }
  const std::size_t got = pieces->Source->Read(pieces->Buffer.get() + keep, pieces->Capacity - keep);
  if (got == 0) pieces->Ended = true;
  scanner.Bytes = std::string_view(pieces->Buffer.get(), keep + got);
  scanner.Pos -= from;
  return got > 0;
}

std::size_t CountRecordsOfSource(TDxfPieces& pieces, TRecordEstimate& estimate, bool& wholeInBuffer) {
  char* const buffer = pieces.Buffer.get();
  std::size_t total = 0, filled = 0, newFrom = 0;
  wholeInBuffer = true;
  for (;;) {
    const std::size_t got = pieces.Source->Read(buffer + filled, pieces.Capacity - filled);
    total += got;
    filled += got;
    if (got == 0) break;
    if (filled < pieces.Capacity) continue;
    // A full buffer: count it, and keep its last bytes as the start of the next window.
    wholeInBuffer = false;
    EstimateRecordsIn(std::string_view(buffer, filled), newFrom, false, estimate);
    newFrom = filled < kEstimateOverlap ? filled : kEstimateOverlap;
    std::memmove(buffer, buffer + filled - newFrom, newFrom);
    filled = newFrom;
  }
  EstimateRecordsIn(std::string_view(buffer, filled), newFrom, true, estimate);
  return total;
}

}  // namespace swivex
