#include "bench/BenchFile.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

namespace swivex::bench {

namespace {

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

void Pair(std::FILE* f, int code, const char* value) { std::fprintf(f, "%3d\r\n%s\r\n", code, value); }
void Real(std::FILE* f, int code, double value) { std::fprintf(f, "%3d\r\n%.16f\r\n", code, value); }

// Writes path through write unless a file of that name is there already, by way of a
// ".part" file renamed when whole; returns the file's size in bytes, or -1.
template <class Write>
long long WriteOnce(const std::string& path, Write write) {
  if (!std::filesystem::exists(path)) {
    const std::string partial = path + ".part";
    {
      std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(partial.c_str(), "wb"));
      if (!file) return -1;
      write(file.get());
      if (std::ferror(file.get())) return -1;
    }
    std::filesystem::rename(partial, path);
  }
  return static_cast<long long>(std::filesystem::file_size(path));
}

}  // namespace

long long MakeBenchFile(const std::string& path, int lineCount, int polylineCount, int verticesPerPolyline) {
  return WriteOnce(path, [&](std::FILE* f) {
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> coordinate(-50000.0, 50000.0);
    Pair(f, 999, "swivex benchmark drawing");
    Pair(f, 0, "SECTION"); Pair(f, 2, "HEADER");
    Pair(f, 9, "$ACADVER"); Pair(f, 1, "AC1015");
    Pair(f, 9, "$DWGCODEPAGE"); Pair(f, 3, "ANSI_932");
    Pair(f, 0, "ENDSEC");
    Pair(f, 0, "SECTION"); Pair(f, 2, "TABLES");
    Pair(f, 0, "TABLE"); Pair(f, 2, "STYLE"); Pair(f, 5, "3"); Pair(f, 70, "     1");
    Pair(f, 0, "STYLE"); Pair(f, 5, "11"); Pair(f, 100, "AcDbSymbolTableRecord");
    Pair(f, 100, "AcDbTextStyleTableRecord"); Pair(f, 2, "Standard"); Pair(f, 70, "     0");
    Real(f, 40, 0.0); Real(f, 41, 1.0); Real(f, 50, 0.0); Pair(f, 3, "txt");
    Pair(f, 0, "ENDTAB"); Pair(f, 0, "ENDSEC");
    Pair(f, 0, "SECTION"); Pair(f, 2, "ENTITIES");
    char handle[32];
    long long nextHandle = 0x100;
    for (int i = 0; i < lineCount; ++i) {
      Pair(f, 0, "LINE");
      std::snprintf(handle, sizeof handle, "%llX", nextHandle++);
      Pair(f, 5, handle); Pair(f, 330, "1F"); Pair(f, 100, "AcDbEntity"); Pair(f, 8, "0");
      Pair(f, 100, "AcDbLine");
      Real(f, 10, coordinate(random)); Real(f, 20, coordinate(random)); Real(f, 30, 0.0);
      Real(f, 11, coordinate(random)); Real(f, 21, coordinate(random)); Real(f, 31, 0.0);
    }
    for (int i = 0; i < polylineCount; ++i) {
      Pair(f, 0, "LWPOLYLINE");
      std::snprintf(handle, sizeof handle, "%llX", nextHandle++);
      Pair(f, 5, handle); Pair(f, 330, "1F"); Pair(f, 100, "AcDbEntity"); Pair(f, 8, "0");
      Pair(f, 100, "AcDbPolyline");
      std::snprintf(handle, sizeof handle, "%9d", verticesPerPolyline);
      Pair(f, 90, handle); Pair(f, 70, "     0"); Real(f, 43, 0.0);
      for (int k = 0; k < verticesPerPolyline; ++k) {
        Real(f, 10, coordinate(random));
        Real(f, 20, coordinate(random));
      }
    }
    Pair(f, 0, "ENDSEC");
    Pair(f, 0, "SECTION"); Pair(f, 2, "OBJECTS"); Pair(f, 0, "ENDSEC");
    Pair(f, 0, "EOF");
  });
}

long long MakeTwoVertexPolylineFile(const std::string& path, int polylineCount) {
  return WriteOnce(path, [&](std::FILE* f) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int> tenths(1000, 9999);
    Pair(f, 0, "SECTION"); Pair(f, 2, "ENTITIES");
    for (int i = 0; i < polylineCount; ++i) {
      Pair(f, 0, "LWPOLYLINE");
      Pair(f, 90, "2");
      for (int k = 0; k < 4; ++k) std::fprintf(f, "%3d\r\n%.1f\r\n", k % 2 ? 20 : 10, tenths(random) / 10.0);
    }
    Pair(f, 0, "ENDSEC");
    Pair(f, 0, "EOF");
  });
}

}  // namespace swivex::bench
