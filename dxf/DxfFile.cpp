#include "dxf/DxfFile.h"

#include <cerrno>
#include <cstdio>
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

}  // namespace

bool ReadWholeDxfFile(std::string_view fileName, std::string& bytes, void (*whenItExists)()) {
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
  if (got == sizeof chunk && std::fseek(file.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(file.get());
    if (size > 0) bytes.reserve(static_cast<std::size_t>(size));
    if (std::fseek(file.get(), static_cast<long>(got), SEEK_SET) != 0) throw fail();
  }
  do bytes.append(chunk, got);
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0);
  if (std::ferror(file.get())) throw fail();
  return true;
}

}  // namespace swivex
