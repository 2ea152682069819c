// dxfdump FILE: reads a DXF file as the tool reads an export and prints what the entity store then holds, as
// JSON on stdout. A read error prints the tool's message with the file line on stderr and exits 1.
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "dxf/DxfReader.h"
#include "tools/DxfJson.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: dxfdump FILE\n";
    return 2;
  }
  const std::string fileName = argv[1];
  std::error_code ec;
  if (!std::filesystem::exists(fileName, ec)) {
    // The tool never reads a missing export; for a typed name saying so beats printing an empty store.
    std::cerr << swivex::SjisToUtf8(fileName) << ": ファイルがありません\n";
    return 1;
  }
  try {
    std::int32_t styleCount = 0;
    swivex::ReadDxfEntities(fileName, styleCount);
    swivex::WriteStoreJson(std::cout, styleCount);
    std::cout.flush();
    return std::cout ? 0 : 1;
  } catch (const std::exception& error) {
    const std::string report = swivex::ReadErrorReport(error, fileName);
    std::cerr << (report.empty() ? std::string(error.what()) : report) << "\n";
    return 1;
  }
}
