// The stand-in host's DXF export read back by python3-ezdxf: no error, version AC1015, code page 932, every kind
// of object with its values, and the sections a real export has.
#include <gtest/gtest.h>
#include <unistd.h>
#include <iconv.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "standin/DxfWriter.h"
#include "standin/Scenario.h"
#include "standin/StandinHost.h"

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
  const auto file = dir / ("check-" + std::to_string(getpid()) + ".py");  // cases run side by side
  std::ofstream(file) << script;
  std::string output;
  FILE* pipe = popen(("/usr/bin/python3 " + file.string() + " 2>&1").c_str(), "r");
  if (!pipe) return "cannot start python3";
  char buf[512];
  while (std::fgets(buf, sizeof buf, pipe)) output += buf;
  const int status = pclose(pipe);
  return status == 0 ? output : "exit " + std::to_string(status) + ": " + output;
}

// Writes the host's objects `which` as the export does, to `name` in the test's folder; returns its path.
std::string Export(const THost& h, const char* name, const std::vector<int>& which, const TDxfTables& tables = {}) {
  const auto path = std::filesystem::temp_directory_path() / "swivex-standin-test" / name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  WriteDxf(out, h.Entities, which, 16, ToShiftJis, tables);
  return path.string();
}

TEST(StandinDxfOracle, EzdxfReadsEveryKindWithoutError) {
  THost h;
  std::string error;
  ASSERT_TRUE(ApplyScenarioText(h,
                                "line 1.25,2,0 3,4.5,7\nlwpolyline closed 0,0,2 1,1 2,0\ncircle 5,5 2\n"
                                "arc 5,5,1 3 10 100\ntext 1,1 2.5 回転テスト\nmtext 2,3 2 30 複数行\\Pテキスト\n",
                                error))
      << error;
  const std::string path = Export(h, "all.dxf", {0, 1, 2, 3, 4, 5});
  const std::string result = RunPython(
      "import ezdxf\n"
      "doc = ezdxf.readfile(r'" + path + "')\n"
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

TEST(StandinDxfOracle, PropertiesWidthsBulgesAndCurrentValuesReadBack) {
  THost h;
  std::string error;
  ASSERT_TRUE(ApplyScenarioText(h,
                                "ucs-origin 10.5,-3,0\nucs-xdir 0.6,0.8,0\nucs-ydir -0.8,0.6,0\n"
                                "clayer 図面\ncecolor 3\ncelweight 35\nceltscale 2\nthickness 1.5\nceltype HIDDEN\n"
                                "line 0,0,5 10,0,5 layer=壁 color=1 linetype=DASHED lineweight=50 ltscale=2 thickness=3\n"
                                "lwpolyline 0,0 10,0 10,5 closed elevation=5 bulges=0,0.5,-1 widths=1:2,0:0,0.5:0.5 "
                                "layer=壁 color=bylayer linetype=byblock\n"
                                "lwpolyline 0,0 1,1 width=0.25\n",
                                error))
      << error;
  const std::string path = Export(h, "props.dxf", {0, 1, 2}, TablesOf(h));
  const std::string result = RunPython(
      "import ezdxf\n"
      "doc = ezdxf.readfile(r'" + path + "')\n"
      "a = doc.audit()\n"
      "print('audit', len(a.errors), len(a.fixes))\n"
      "hd = doc.header\n"
      "print('current', hd['$CLAYER'], hd['$CECOLOR'], hd['$CELTYPE'], hd['$CELWEIGHT'], hd['$CELTSCALE'], hd['$THICKNESS'])\n"
      "print('ucs', tuple(hd['$UCSORG']), tuple(hd['$UCSXDIR']), tuple(hd['$UCSYDIR']))\n"
      "print('layers', sorted(l.dxf.name for l in doc.layers))\n"
      "print('linetypes', sorted(l.dxf.name for l in doc.linetypes))\n"
      "for e in doc.modelspace():\n"
      "    d = e.dxf\n"
      "    print(e.dxftype(), d.layer, d.color, d.linetype, d.lineweight, d.ltscale, d.thickness)\n"
      "    if e.dxftype() == 'LINE': print(tuple(d.start), tuple(d.end))\n"
      "    else: print(e.closed, d.elevation, d.const_width, [tuple(p) for p in e.get_points('xyseb')])\n");
  EXPECT_EQ(result,
            "audit 0 0\n"
            "current 図面 3 HIDDEN 35 2.0 1.5\n"
            "ucs (10.5, -3.0, 0.0) (0.6, 0.8, 0.0) (-0.8, 0.6, 0.0)\n"
            "layers ['0', 'Defpoints', '図面', '壁']\n"  // ezdxf adds Defpoints
            "linetypes ['ByBlock', 'ByLayer', 'Continuous', 'DASHED', 'HIDDEN']\n"
            "LINE 壁 1 DASHED 50 2.0 3.0\n"
            "(0.0, 0.0, 5.0) (10.0, 0.0, 5.0)\n"
            "LWPOLYLINE 壁 256 ByBlock -1 1.0 0\n"
            "True 5.0 0 [(0.0, 0.0, 1.0, 2.0, 0.0), (10.0, 0.0, 0.0, 0.0, 0.5), (10.0, 5.0, 0.5, 0.5, -1.0)]\n"
            "LWPOLYLINE 0 256 BYLAYER -1 1.0 0\n"  // ezdxf's defaults: nothing written
            "False 0 0.25 [(0.0, 0.0, 0.0, 0.0, 0.0), (1.0, 1.0, 0.0, 0.0, 0.0)]\n");
}

// A polyline seen from below is written in its OCS with its extrusion direction, and heavy POLYLINEs (spline-fit
// with frame vertices, 3D, a polygon mesh) with their VERTEX entities: ezdxf gives back the world points.
TEST(StandinDxfOracle, ObjectCoordinatesAndHeavyPolylinesReadBackInWorld) {
  THost h;
  std::string error;
  ASSERT_TRUE(ApplyScenarioText(h,
                                "lwpolyline 100,0,2 110,0,2 110,5,2 normal=0,0,-1 bulges=0,1\n"
                                "polyline 0,0 4,1 8,0 0,4 8,4 flags=4 vertex-flags=8,8,8,16,16\n"
                                "polyline closed 0,0,1 5,0,2 5,5,3 flags=8\n"
                                "polyline 0,0,0 1,0,0 0,1,0 1,1,0 flags=16\n",
                                error))
      << error;
  const std::string path = Export(h, "heavy.dxf", {0, 1, 2, 3});
  const std::string result = RunPython(
      "import ezdxf\n"
      "doc = ezdxf.readfile(r'" + path + "')\n"
      "print('audit', len(doc.audit().errors))\n"
      "for e in doc.modelspace():\n"
      "    if e.dxftype() == 'LWPOLYLINE':\n"
      "        print('LW', tuple(e.dxf.extrusion), e.dxf.elevation, [tuple(round(c, 9) + 0 for c in p) for p in e.vertices_in_wcs()], [b for *_, b in e.get_points('xyb')])\n"
      "    else:\n"
      "        print(e.get_mode(), e.dxf.flags, e.is_closed, [tuple(v.dxf.location) for v in e.vertices], [v.dxf.flags for v in e.vertices])\n");
  EXPECT_EQ(result,
            "audit 0\n"
            "LW (0.0, 0.0, -1.0) -2.0 [(100.0, 0.0, 2.0), (110.0, 0.0, 2.0), (110.0, 5.0, 2.0)] [0.0, 1.0, 0.0]\n"
            "AcDb2dPolyline 4 False [(0.0, 0.0, 0.0), (4.0, 1.0, 0.0), (8.0, 0.0, 0.0), (0.0, 4.0, 0.0), (8.0, 4.0, 0.0)] "
            "[8, 8, 8, 16, 16]\n"
            "AcDb3dPolyline 9 True [(0.0, 0.0, 1.0), (5.0, 0.0, 2.0), (5.0, 5.0, 3.0)] [0, 0, 0]\n"
            "AcDbPolygonMesh 16 False [(0.0, 0.0, 0.0), (1.0, 0.0, 0.0), (0.0, 1.0, 0.0), (1.0, 1.0, 0.0)] [0, 0, 0, 0]\n");
}

}  // namespace
}  // namespace swivex
