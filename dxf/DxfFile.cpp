#include "dxf/DxfFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "dxf/DxfReader.h"

namespace swivex {

TDxfReadError::TDxfReadError(const std::string& messageUtf8, std::string fileName, int line)
    : std::runtime_error(messageUtf8), FileName_(std::move(fileName)), Line_(line) {}

std::string FileReadErrorMessageUtf8(std::string_view decodedFileName) {
  std::string message = "ファイル '";
  message.append(decodedFileName);
  message.append("' を読み込めません");
  return message;
}

namespace {

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Moves the bytes into a buffer of the given capacity (at least their size).
void Regrow(TDxfFileBytes& bytes, std::size_t capacity) {
  auto data = std::make_unique_for_overwrite<char[]>(capacity);
  if (bytes.Size > 0) std::memcpy(data.get(), bytes.Data.get(), bytes.Size);
  bytes.Data = std::move(data);
}

}  // namespace

bool ReadWholeDxfFile(std::string_view fileName, TDxfFileBytes& bytes, void (*whenItExists)()) {
  const std::string name(fileName);
  const auto fail = [&] { return TDxfReadError(FileReadErrorMessageUtf8(name), name, 0); };
  errno = 0;
  std::unique_ptr<std::FILE, TFileCloser> file(name.empty() ? nullptr : std::fopen(name.c_str(), "rb"));
  if (!file && (name.empty() || errno == ENOENT || errno == ENOTDIR)) return false;
  whenItExists();
  if (!file) throw fail();
  char chunk[1 << 16];
  std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
  // A folder opens on some systems but gives no bytes; only a file that reads may size the buffer by its end.
  if (std::ferror(file.get())) throw fail();
  std::size_t capacity = got;
  if (got == sizeof chunk && std::fseek(file.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(file.get());
    if (size > 0 && static_cast<std::size_t>(size) > got) capacity = static_cast<std::size_t>(size);
    if (std::fseek(file.get(), static_cast<long>(got), SEEK_SET) != 0) throw fail();
  }
  bytes.Size = 0;
  Regrow(bytes, capacity);
  if (got > 0) std::memcpy(bytes.Data.get(), chunk, got);
  bytes.Size = got;
  // The rest in one read straight into the buffer; a file that grew since it was sized still reads whole.
  while (got > 0) {
    if (bytes.Size == capacity) {
      got = std::fread(chunk, 1, sizeof chunk, file.get());
      if (got == 0) break;
      capacity = capacity + (capacity > got ? capacity : got);
      Regrow(bytes, capacity);
      std::memcpy(bytes.Data.get() + bytes.Size, chunk, got);
    } else {
      got = std::fread(bytes.Data.get() + bytes.Size, 1, capacity - bytes.Size, file.get());
    }
    bytes.Size += got;
  }
  if (std::ferror(file.get())) throw fail();
  return true;
}

}  // namespace swivex
