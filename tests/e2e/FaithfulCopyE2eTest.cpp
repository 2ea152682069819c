// The turned copies keep what the picked objects had: arcs, closing, widths, layer and properties, height; one U
// takes them back. An independent oracle (turn_oracle.py, ezdxf) turns the exported originals itself and compares them
// with the objects the stand-in host drew.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>

#include "E2eChecks.h"

namespace swivex::e2e {
namespace {

// Hands the export and the host's drawing to the oracle; its verdict: "ok N" or the mismatches.
std::string Oracle(const TSession& s, const std::string& name, double degrees, double length) {
  const std::string folderLinux = std::string(SWIVEX_ORACLE_DIR) + "/" + name;
  const std::wstring folder = BuildPath(folderLinux.c_str()) + L"\\";
  std::filesystem::remove_all(std::filesystem::path(folder));
  std::filesystem::create_directories(std::filesystem::path(folder));
  const auto exports = s.DxfFiles();
  if (exports.size() != 1) return "expected one export, found " + std::to_string(exports.size());
  std::filesystem::copy_file(std::filesystem::path(s.Folder() + exports[0]), std::filesystem::path(folder + L"export.dxf"));
  s.Drawing();  // saves drawing.json
  std::filesystem::copy_file(std::filesystem::path(s.Folder() + L"host\\drawing.json"),
                             std::filesystem::path(folder + L"drawing.json"));
  std::ofstream(std::filesystem::path(folder + L"case.json"))
      << std::setprecision(17) << "{\"degrees\": " << degrees << ", \"length\": " << length << "}\n";
  // A Linux program started from Wine: its exit code does not come back, its result file does.
  std::wstring command = Widen(std::string(SWIVEX_ORACLE_PYTHON) + " " + SWIVEX_ORACLE_SCRIPT + " " + folderLinux);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return "cannot start the oracle: error " + std::to_string(GetLastError());
  WaitForSingleObject(pi.hProcess, 60000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  for (int i = 0; i < 100 && !std::filesystem::exists(std::filesystem::path(folder + L"result.txt")); ++i) Sleep(100);
  const std::string result = ReadWhole(folder + L"result.txt");
  return result.empty() ? "the oracle wrote no result" : result;
}

bool SameDrawing(const std::vector<TDrawnObject>& a, const std::vector<TDrawnObject>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].Type != b[i].Type || a[i].Points != b[i].Points) return false;
  return true;
}

// The objects on other layers, the user's own as the host keeps them: one line each of the JSON.
std::vector<std::string> UsersObjects(const TSession& s) {
  s.Drawing();  // saves drawing.json
  std::vector<std::string> lines;
  std::istringstream json(ReadWhole(s.Folder() + L"host\\drawing.json"));
  for (std::string line; std::getline(json, line);)
    if (line.find("\"new\":false") != std::string::npos) lines.push_back(line.substr(0, line.find_last_of('}') + 1));
  return lines;
}

// World UCS: a closed rectangle, a slot (two lines, two arcs), a closed polyline of two half circles, arcs turning
// both ways, per-segment and constant widths, a polyline and lines on another layer with colour 1 and DASHED, a
// line at z 5, a line on a layer with a Japanese name (typed as Shift-JIS through the ANSI code page). Every
// polyline's first chord is 10 long, the typed 距. The drawing's defaults play no part: PLINEWID 3, ELEVATION 7,
// lineweights shown in inches, the current layer 都 is off (a copy on it would not show), a line on 鉄 (whose
// second byte is 都's in the other case), a layer named ENTITIES in the export's tables. Pressed twice, 作成 draws
// the same copies again; the user's own objects and drawing variables stay as they were.
TEST(FaithfulCopyE2e, ShapesWidthsPropertiesAndHeightMatchTheOracle) {
  TSession s(Scenario("plinewid 3\nelevation 7\nlwunits 0\nlayer ENTITIES\nlayer 都 off\nlayer 鉄\nclayer 都\n"
                      "layer WALLS color=3\n"
                      "linetype DASHED\n"
                      "lwpolyline closed 0,0 10,0 10,6 0,6\n"
                      "lwpolyline closed 20,0 30,0 30,4 20,4 bulges=0,1,0,1\n"
                      "lwpolyline closed 40,0 50,0 bulges=1,1\n"
                      "lwpolyline 60,0 70,0 80,0 90,5 bulges=0.5,-0.7,0.3\n"
                      "lwpolyline 0,20 10,20 20,25 25,20 widths=1:2,2:2,0:0.5\n"
                      "lwpolyline 30,20 40,20 45,28 width=0.8\n"
                      "lwpolyline 0,40 10,40 15,45 layer=WALLS color=1 linetype=DASHED lineweight=35 ltscale=2\n"
                      "line 50,40 60,45 layer=WALLS color=1 linetype=DASHED\n"
                      "line 60,50,5 70,52,5\n"
                      "layer 壁\n"
                      "line 80,50 85,52 layer=壁 lineweight=50 thickness=2\n"
                      "line 90,50 95,52 layer=鉄 lineweight=25",
                      "pick never"));
  CaptureAll(s);
  SetNewAngle(s, L"30", L"15", L"0");
  s.SetField(IdKyori, L"10");
  const auto users = UsersObjects(s);
  EXPECT_TRUE(s.Press(IdButton1).empty());
  EXPECT_TRUE(s.Press(IdButton1).empty());
  EXPECT_EQ(Oracle(s, "shapes", 30.25, 10), "ok 22\n");
  EXPECT_EQ(UsersObjects(s), users);
  EXPECT_NE(ReadWhole(s.Folder() + L"host\\drawing.json")
                .find("\"current\": {\"layer\": \"都\", \"color\": 256, \"linetype\": \"ByLayer\", \"lineweight\": -1, "
                      "\"ltscale\": 1, \"thickness\": 0, \"plinewid\": 3, \"elevation\": 7, \"lwunits\": 0}"),
            std::string::npos);
}

// A turned UCS whose origin lies at z 3, three lines (one at z 5), a running end-point snap with a decoy end point
// beside a point of the copy; then one U takes the whole copy back.
TEST(FaithfulCopyE2e, TurnedUcsAndObjectSnapMatchTheOracleAndOneUndoTakesTheCopyBack) {
  TSession s(Scenario("ucs-origin 100,50,3\n"
                      "ucs-xdir 0.6,0.8,0\n"
                      "ucs-ydir -0.8,0.6,0\n"
                      "osmode 1\n"
                      "osnapcoord 0\n"
                      "line 100,50,5 106,58,5\n"  // along the UCS x axis: 0 degrees, 10 long
                      "line 110,50 120,60\n"
                      "line 130,40 140,45",
                      "pick never"));
  CaptureAll(s);
  ExpectMeasurement(s, L"回転処理　線", L"10.000000", L" 0.00000000", L"0", L"0", L"0.000000");  // the first line
  // At 90 degrees every copy is its original turned a quarter about (100,50): (120,60) lands on (90,70). A
  // decoy end point lies 0.2 beside it.
  s.HostControl("line 89.8,70 80,75");
  const auto before = s.Drawing();
  SetNewAngle(s, L"90", L"0", L"0");
  EXPECT_TRUE(s.Press(IdButton1).empty());
  EXPECT_EQ(Oracle(s, "turned-ucs", 90, 10), "ok 3\n");
  s.TypeIntoHost(L"U ");
  EXPECT_TRUE(SameDrawing(s.Drawing(), before));
}

// A UCS whose z axis points down (UCS X 180). A polyline seen from below (its OCS x runs against the world's; it lies
// from world (100,0) to (110,0), at 0 degrees in this UCS) and one drawn from above, both with arcs, are copied
// where and as they belong in world terms; one in a tilted plane is left out and the balloon says so.
TEST(FaithfulCopyE2e, ObjectCoordinatesAndAUcsSeenFromBelowMatchTheOracle) {
  TSession s(Scenario("ucs-ydir 0,-1,0\n"
                      "lwpolyline 100,0 110,0 115,-5 120,0 normal=0,0,-1 bulges=0,0.4,-0.6\n"
                      "lwpolyline 0,20 10,20 15,25 bulges=0,0.5\n"
                      "lwpolyline 0,50,0 8,50,-6 8,60,-6 normal=0.6,0,0.8",
                      "pick never"));
  CaptureAll(s);
  ExpectMeasurement(s, L"回転処理　多角線", L"10.000000", L" 0.00000000", L"0", L"0", L"0.000000");
  SetNewAngle(s, L"30", L"0", L"0");
  EXPECT_TRUE(s.Press(IdButton1).empty());
  EXPECT_EQ(VisibleNotice(s), L"現在の UCS の XY 平面にないポリラインは作成していません。ほかの図形は作成しました。");
  EXPECT_EQ(Oracle(s, "ocs", 30, 10), "ok 2\n");
}

// A spline-fit polyline lists its frame after its fitted vertices, a curve-fit one has arcs through extra vertices:
// the copies draw the curves, not the frame. A mesh picked afterwards is refused in the balloon and the dialog keeps
// the previous values.
TEST(FaithfulCopyE2e, FittedPolylinesDrawTheirCurvesAndAMeshIsRefused) {
  TSession s(Scenario("polyline 0,0 3,1 6,0 9,-1 12,0 0,0 6,4 12,0 flags=4 vertex-flags=8,8,8,8,8,16,16,16\n"
                      "polyline 20,0 23,2 26,0 29,2 flags=2 vertex-flags=0,1,0,1 bulges=0.2,0.3,-0.2",
                      "pick never"));
  CaptureAll(s);
  ExpectMeasurement(s, L"回転処理　多角線", L"3.162278", L"18.43494882", L"18", L"26", L"5.815763");
  SetNewAngle(s, L"-20", L"0", L"0");
  s.SetField(IdKyori, L"10");
  EXPECT_TRUE(s.Press(IdButton1).empty());
  EXPECT_EQ(Oracle(s, "fitted", -20, 10), "ok 2\n");

  s.HostControl("polyline 0,30,0 5,30,0 0,35,0 5,35,0 flags=16");
  s.HostControl("pick 4 150");  // after the two originals and their copies
  EXPECT_TRUE(s.Press(IdButton2).empty());
  EXPECT_EQ(VisibleNotice(s), L"ポリゴン メッシュとポリフェイス メッシュは回転できません。表示は前の値のままです。");
  const TFields kept = ReadFields(s);
  EXPECT_EQ(kept.Kakudo, L"18.43494882");
  EXPECT_EQ(kept.Byo, L"5.815763");
  EXPECT_EQ(kept.Kyori, L"10");
  EXPECT_EQ(kept.Do2, L"-20");
}

// 3D polylines, one closed, are copied with 3DPOLY: every vertex keeps its height.
TEST(FaithfulCopyE2e, ThreeDPolylinesKeepTheirHeights) {
  TSession s(Scenario("polyline closed 0,0,1 10,0,2 10,10,5 0,10,3 flags=8\n"
                      "polyline 20,0,0 30,0,-4 35,5,6 flags=8",
                      "pick never"));
  CaptureAll(s);
  SetNewAngle(s, L"45", L"0", L"0");
  EXPECT_TRUE(s.Press(IdButton1).empty());
  EXPECT_EQ(Oracle(s, "3d", 45, 10), "ok 2\n");
}

// The UCS is moved and turned between 取込 and 作成: the copies land where the originals, turned in the UCS of the
// capture, belong in the world, and the measured fields stay as captured.
TEST(FaithfulCopyE2e, AUcsChangedAfterTheCaptureDoesNotMoveTheCopies) {
  TSession s(Scenario("ucs-xdir 0.6,0.8,0\nucs-ydir -0.8,0.6,0\n"
                      "lwpolyline 10,10 16,18 20,10 bulges=0.3,0\n"
                      "line 0,0,2 6,8,2",
                      "pick never"));
  CaptureAll(s);
  ExpectMeasurement(s, L"回転処理　線", L"10.000000", L" 0.00000000", L"0", L"0", L"0.000000");
  for (const char* line : {"ucs-origin 100,50,0", "ucs-xdir 1,0,0", "ucs-ydir 0,1,0"}) s.HostControl(line);
  SetNewAngle(s, L"90", L"0", L"0");
  EXPECT_TRUE(s.Press(IdButton1).empty());
  EXPECT_EQ(Oracle(s, "ucs-changed", 90, 10), "ok 2\n");
  const TFields f = ReadFields(s);
  EXPECT_EQ(f.Kakudo, L" 0.00000000");
  EXPECT_EQ(f.Do, L"0");
}

}  // namespace
}  // namespace swivex::e2e
