// Reading a DXF file's bytes for the reader: tells a missing file from one that cannot be read.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace swivex {

// A file's bytes in one buffer, sized by the file and never zero-filled first.
struct TDxfFileBytes {
  std::unique_ptr<char[]> Data;
  std::size_t Size = 0;
  std::string_view View() const { return {Data.get(), Size}; }
};

// Reads the whole file into bytes. False when no file of that name exists. Otherwise whenItExists runs first
// (the read then counts as a read of an existing file), and a file that cannot be read raises TDxfReadError
// naming it.
bool ReadWholeDxfFile(std::string_view fileName, TDxfFileBytes& bytes, void (*whenItExists)());

}  // namespace swivex
