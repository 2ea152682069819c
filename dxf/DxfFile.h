// Reading a DXF file's bytes for the reader: tells a missing file from one that cannot be read.
#pragma once

#include <string>
#include <string_view>

namespace swivex {

// Reads the whole file into bytes. False when no file of that name exists. Otherwise whenItExists runs first
// (the read then counts as a read of an existing file), and a file that cannot be read raises TDxfReadError
// naming it.
bool ReadWholeDxfFile(std::string_view fileName, std::string& bytes, void (*whenItExists)());

}  // namespace swivex
