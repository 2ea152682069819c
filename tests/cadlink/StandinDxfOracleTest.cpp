// The stand-in host's DXF export read back by python3-ezdxf: no error, version AC1015, code page 932, every kind
// of object with its values, and the sections a real export has.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "standin/DxfWriter.h"
#include "standin/Scenario.h"

namespace swivex {
namespace {

std::string ToShiftJis(std::string_view utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string in(utf8), out(in.size() * 2 + 4, '\0');
  char* src = in.data();
  char* dst = out.data();
  std::size_t srcLeft = in.size(), dstLeft = out.size();
  const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  EXPECT_NE(r, static_cast<std::size_t>(-1)) << utf8;
  out.resize(out.size() - dstLeft);
  return out;
}

std::string RunPython(const std::string& script) {
  const auto dir = std::filesystem::temp_directory_path() / "swivex-standin-test";
  std::filesystem::create_directories(dir);
  const auto file = dir / "check.py";
  std::ofstream(file) << script;
  std::string output;
  FILE* pipe = popen(("/usr/bin/python3 " + file.string() + " 2>&1").c_str(), "r");
  if (!pipe) return "cannot start python3";
  char buf[512];
  while (std::fgets(buf, sizeof buf, pipe)) output += buf;
  const int status = pclose(pipe);
  return status == 0 ? output : "exit " + std::to_string(status) + ": " + output;
}

TEST(StandinDxfOracle, EzdxfReadsEveryKindWithoutError) {
  THost h;
  std::string error;
  ASSERT_TRUE(ApplyScenarioText(h,
                                "line 1.25,2,0 3,4.5,7\nlwpolyline closed 0,0,2 1,1 2,0\ncircle 5,5 2\n"
                                "arc 5,5,1 3 10 100\ntext 1,1 2.5 回転テスト\nmtext 2,3 2 30 複数行\\Pテキスト\n",
                                error))
      << error;
  const auto path = std::filesystem::temp_directory_path() / "swivex-standin-test" / "all.dxf";
  std::filesystem::create_directories(path.parent_path());
  {
    std::ofstream out(path, std::ios::binary);
    WriteDxf(out, h.Entities, {0, 1, 2, 3, 4, 5}, 16, ToShiftJis);
  }
  const std::string result = RunPython(
      "import ezdxf\n"
      "doc = ezdxf.readfile(r'" + path.string() + "')\n"
      "a = doc.audit()\n"
      "print('version', doc.dxfversion, doc.encoding, doc.header['$DWGCODEPAGE'])\n"
      "print('audit', len(a.errors))\n"
      "print('styles', sorted(s.dxf.name for s in doc.styles))\n"
      "for e in doc.modelspace():\n"
      "    t = e.dxftype()\n"
      "    if t == 'LINE': print(t, tuple(e.dxf.start), tuple(e.dxf.end))\n"
      "    elif t == 'LWPOLYLINE': print(t, e.closed, e.dxf.elevation, [tuple(p) for p in e.get_points('xy')])\n"
      "    elif t == 'CIRCLE': print(t, tuple(e.dxf.center), e.dxf.radius)\n"
      "    elif t == 'ARC': print(t, tuple(e.dxf.center), e.dxf.radius, e.dxf.start_angle, e.dxf.end_angle)\n"
      "    elif t == 'TEXT': print(t, e.dxf.text, tuple(e.dxf.insert), e.dxf.height)\n"
      "    elif t == 'MTEXT': print(t, e.text, e.dxf.char_height, e.dxf.width)\n");
  EXPECT_EQ(result,
            "version AC1015 cp932 ANSI_932\n"
            "audit 0\n"
            "styles ['JIS', 'Standard']\n"
            "LINE (1.25, 2.0, 0.0) (3.0, 4.5, 7.0)\n"
            "LWPOLYLINE True 2.0 [(0.0, 0.0), (1.0, 1.0), (2.0, 0.0)]\n"
            "CIRCLE (5.0, 5.0, 0.0) 2.0\n"
            "ARC (5.0, 5.0, 1.0) 3.0 10.0 100.0\n"
            "TEXT 回転テスト (1.0, 1.0, 0.0) 2.5\n"
            "MTEXT 複数行\\Pテキスト 2.0 30.0\n");
}

}  // namespace
}  // namespace swivex
