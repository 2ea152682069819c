// Timing of the tool's workflows beside the stand-in host (not a test). The workflows run in this process on a
// hidden copy of the dialog's fields, step by step, so that each step can be timed:
//   capture: the wait from the pick's completion in the host to the end of the polling, and the tool's own work
//            (UCS queries, history and export, read, projection, display);
//   redraw:  one 1000-vertex polyline, and 100 lines.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "E2eHarness.h"
#include "cadlink/AcadLink.h"
#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "geometry/Angles.h"
#include "workflows/CaptureGlue.h"
#include "workflows/Redraw.h"
#include "workflows/RedrawGlue.h"
#include "workflows/WinText.h"

using namespace swivex;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPickDelayMs = 300;
constexpr int kRuns = 5;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

TDialogFields HiddenFields() {
  TDialogFields f;
  f.Form = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  HWND* edits[] = {&f.eKakudo, &f.eKyori, &f.eDo, &f.eFun, &f.eByo, &f.eDo2, &f.eFun2, &f.eByo2, &f.eKakudo2};
  for (HWND* e : edits) *e = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 80, 20, f.Form, nullptr, nullptr, nullptr);
  return f;
}

struct TCaptureTimes {
  std::vector<double> Ucs, PollWait, Export, Read, Project, Show, OwnWork;
};

void BenchCapture(const char* label, const std::string& objects, const TDialogFields& fields) {
  e2e::TSession host(objects + "\npick 0 " + std::to_string(kPickDelayMs) + "\n", true, L"", false);
  TCaptureTimes t;
  for (int run = 0; run < kRuns; ++run) {
    SetWindowTextW(fields.eKyori, L"");
    const auto t0 = Clock::now();
    const std::string name = PrepareTempDxfName();
    if (!AcadReady()) {
      std::printf("the host is not ready\n");
      return;
    }
    const TEchoedUcs ucs = QueryUcs();
    const auto t1 = Clock::now();  // the selection goes out now; the host picks kPickDelayMs after it
    PickOneObject(fields.Form);
    const auto t2 = Clock::now();
    ExportPick(name);
    const auto t3 = Clock::now();
    ReadDxfEntities(name);
    const auto t4 = Clock::now();
    const TSegmentSource source = ProjectEntityStore(ChooseUcs(ucs, ExportedUcs()));
    const auto t5 = Clock::now();
    ShowMeasurement(fields, source == TSegmentSource::Polyline, RefSegment.First, RefSegment.Second);
    const auto t6 = Clock::now();
    t.Ucs.push_back(Ms(t0, t1));
    t.PollWait.push_back(Ms(t1, t2) - kPickDelayMs);
    t.Export.push_back(Ms(t2, t3));
    t.Read.push_back(Ms(t3, t4));
    t.Project.push_back(Ms(t4, t5));
    t.Show.push_back(Ms(t5, t6));
    t.OwnWork.push_back(Ms(t0, t1) + Ms(t2, t6));
    DeleteFileW(AnsiToWide(name).c_str());
    if (GetWindowAnsi(fields.eKyori).empty()) std::printf("   (run %d showed nothing)\n", run);
  }
  std::printf("capture of %s (median of %d, ms):\n", label, kRuns);
  std::printf("   pick done → polling ends (wait)      %8.1f\n", Median(t.PollWait));
  std::printf("   own work, all                        %8.1f\n", Median(t.OwnWork));
  std::printf("     activate + prompt + UCS queries    %8.1f\n", Median(t.Ucs));
  std::printf("     history + FILEDIA/DXFOUT/FILEDIA   %8.1f\n", Median(t.Export));
  std::printf("     DXF read                           %8.1f\n", Median(t.Read));
  std::printf("     projection                         %8.3f\n", Median(t.Project));
  std::printf("     display                            %8.3f\n", Median(t.Show));
  std::printf("   pick done → fields filled            %8.1f\n",
              Median(t.PollWait) + Median(t.Export) + Median(t.Read) + Median(t.Project) + Median(t.Show));
}

void BenchRedraw(const TDialogFields& fields) {
  SetWindowTextW(fields.eDo2, L"30");
  SetWindowTextW(fields.eFun2, L"0");
  SetWindowTextW(fields.eByo2, L"0");
  SetWindowTextW(fields.eKyori, L"10");
  // A fresh host for each kind: the host's own history grows with every point typed and slows it down.
  auto time = [&](const char* label) {
    e2e::TSession host("", true, L"", false);
    std::vector<double> runs;
    for (int run = 0; run < 3; ++run) {
      const auto t0 = Clock::now();
      Button1Click(fields);
      runs.push_back(Ms(t0, Clock::now()));
    }
    // The tool's own part: the same commands built without sending them.
    const auto b0 = Clock::now();
    std::size_t sent = 0, chars = 0;
    SendRedrawCommands(DegToRad(30.0), [] { return 10.0; }, [&](const std::string& c) { ++sent; chars += c.size(); });
    const double build = Ms(b0, Clock::now());
    // The channel and the host alone: as many one-character commands.
    const auto c0 = Clock::now();
    for (std::size_t i = 0; i < sent; ++i) AcadSendCommand(L"\x03");
    const double bare = Ms(c0, Clock::now());
    std::printf("redraw of %-24s %8.1f ms (median of 3); building the %zu command(s), %zu chars: %.2f ms; "
                "%zu bare sends: %.1f ms\n", label, Median(runs), sent, chars, build, sent, bare);
  };
  Lines.clear();
  LineCount = 0;
  Polylines.assign(1, TPolylineRec{});
  for (int i = 0; i < kMaxVertices; ++i) AppendVertex(Polylines[0], {1000.0 + i, 2000.0 + (i % 7), 0});
  PolylineCount = 1;
  time("a 1000-vertex polyline");
  PolylineCount = 0;
  Lines.resize(100);
  for (int i = 0; i < 100; ++i) Lines[i] = {{1.0 * i, 0, 0}, {1.0 * i, 5.0 + i, 0}, {}, {}};
  LineCount = 100;
  time("100 lines");
}

}  // namespace

int wmain() {
  try {
    const TDialogFields fields = HiddenFields();
    AcadSetClipboardOwner(fields.Form);
    BenchCapture("a 5-vertex polyline", "lwpolyline 0,0 10,10 20,0 30,10 40,0", fields);
    std::string big = "lwpolyline";
    for (int i = 0; i < kMaxVertices; ++i) big += " " + std::to_string(i) + "," + std::to_string(i % 7);
    BenchCapture("a 1000-vertex polyline", big, fields);
    BenchRedraw(fields);
  } catch (const std::exception& e) {
    std::printf("benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
