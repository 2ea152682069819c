// Timing of the tool's workflows beside the stand-in host (not a test). The workflows run in this process on a
// hidden copy of the dialog's fields, step by step, so that each step can be timed:
//   capture: the wait from the pick's completion in the host to the end of the polling, and the tool's own work
//            (UCS queries, history and export, read, projection, display), with a host that answers at once and
//            with one whose prompt shows 150 ms late;
//   redraw:  one 1000-vertex polyline, and 100 lines.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "E2eHarness.h"
#include "cadlink/AcadLink.h"
#include "cadlink/AcadStatus.h"
#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "geometry/Angles.h"
#include "workflows/CaptureGlue.h"
#include "workflows/Redraw.h"
#include "workflows/RedrawGlue.h"
#include "workflows/WinText.h"
#include "win32/CodePage.h"

using namespace swivex;
using Clock = std::chrono::steady_clock;

namespace {

// The workflows' own check of the host, as a yes or no for the timing loops.
bool AcadReady() {
  try {
    RequireAcadReady();
    return true;
  } catch (const TAcadUnavailable&) {
    return false;
  }
}

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

// promptLagMs: a busy host that shows each prompt this much later (0: one that answers at once).
void BenchCapture(const char* label, const std::string& objects, const TDialogFields& fields, int promptLagMs = 0) {
  e2e::TSession host(objects + "\npick 0 " + std::to_string(kPickDelayMs) + "\nprompt-lag " +
                         std::to_string(promptLagMs) + "\n",
                     true, L"", false);
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
    const TPickWaitEnd waitEnd = PickOneObject(fields.Form);
    const auto t2 = Clock::now();
    if (ExportPick(waitEnd, name) != TPickStatus::Exported) std::printf("   (run %d: no finished pick)\n", run);
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
  std::printf("capture of %s, %s (median of %d, ms):\n", label,
              promptLagMs ? ("a host whose prompt lags " + std::to_string(promptLagMs) + " ms").c_str()
                          : "a host that answers at once",
              kRuns);
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

// The commands today's redraw sent for the store's objects before copies kept arcs and properties: the same
// vertices straight, no _non, no CHPROP, no UNDO group.
std::vector<std::wstring> EarlierCommands() {
  const auto polylines = Polylines;
  const auto lines = Lines;
  for (auto& p : Polylines) {
    p = [&] { TPolylineRec plain; for (const auto& v : p.Vertices) AppendVertex(plain, v); return plain; }();
  }
  for (auto& l : Lines) l = {l.StartPt, l.EndPt, {}, {}};
  std::vector<std::wstring> commands;
  SendRedrawCommands(DegToRad(30.0), [] { return 10.0; }, [&](const std::string& c) {
    if (c == kUndoBeginCommand || c == kUndoEndCommand) return;
    std::string old;
    for (std::size_t at = 0; at < c.size();) {
      if (c.compare(at, 5, "_non ") == 0) { at += 5; continue; }
      old += c[at++];
    }
    commands.push_back(AnsiToWide(old));
  });
  Polylines = polylines;
  Lines = lines;
  return commands;
}

// The layer and linetype the copies with properties go to.
constexpr char kRedrawDrawing[] = "layer WALLS\nlinetype DASHED\n";

void BenchRedraw(const TDialogFields& fields) {
  DxfHeader = TDxfHeader{};
  DxfHeader.CLayer.Assign("0");
  DxfHeader.HasCLayer = true;
  SetWindowTextW(fields.eDo2, L"30");
  SetWindowTextW(fields.eFun2, L"0");
  SetWindowTextW(fields.eByo2, L"0");
  SetWindowTextW(fields.eKyori, L"10");
  // Each round a fresh host (its drawing, history and undo steps grow with every command and slow it down), the
  // earlier commands and today's redraw one after the other, in turns first; the machine's load varies, so the
  // least time of the rounds is compared.
  auto time = [&](const char* label) {
    constexpr int kRounds = 7;
    std::vector<double> earlier, now;
    const auto commands = EarlierCommands();
    for (int round = 0; round < kRounds; ++round) {
      e2e::TSession host(kRedrawDrawing, true, L"", false);
      for (int turn = 0; turn < 2; ++turn) {
        const auto t0 = Clock::now();
        if ((turn + round) % 2 == 0) {
          if (!AcadReady()) return;  // as 作成 checks the host first
          for (const auto& c : commands) AcadSendCommand(c);
          earlier.push_back(Ms(t0, Clock::now()));
        } else {
          Button1Click(fields);
          now.push_back(Ms(t0, Clock::now()));
        }
      }
    }
    std::size_t earlierChars = 0;
    for (const auto& c : commands) earlierChars += c.size();
    const double least = *std::min_element(now.begin(), now.end());
    const double leastEarlier = *std::min_element(earlier.begin(), earlier.end());
    // The tool's own part: the same commands built without sending them.
    const auto b0 = Clock::now();
    std::size_t sent = 0, chars = 0;
    SendRedrawCommands(DegToRad(30.0), [] { return 10.0; }, [&](const std::string& c) { ++sent; chars += c.size(); });
    const double build = Ms(b0, Clock::now());
    // The channel and the host alone: as many one-character commands.
    const auto c0 = Clock::now();
    for (std::size_t i = 0; i < sent; ++i) AcadSendCommand(L"\x03");
    const double bare = Ms(c0, Clock::now());
    std::printf("redraw of %-40s %7.1f ms (least of %d, median %.1f), the same objects as drawn before: %7.1f ms "
                "(median %.1f), ratio %.2f; %zu send(s) of %zu chars (before: %zu of %zu), built in %.2f ms; %zu bare "
                "sends: %.1f ms\n",
                label, least, kRounds, Median(now), leastEarlier, Median(earlier), least / leastEarlier, sent, chars,
                commands.size(), earlierChars, build, sent, bare);
  };
  Lines.clear();
  LineCount = 0;
  Polylines.assign(1, TPolylineRec{});
  for (int i = 0; i < kMaxVertices; ++i) AppendVertex(Polylines[0], {1000.0 + i, 2000.0 + (i % 7), 0});
  PolylineCount = 1;
  time("a 1000-vertex polyline");
  // Arcs turning both ways on every other segment, closed by an arc.
  for (int i = 0; i < kMaxVertices; ++i) Polylines[0].Bulges[static_cast<std::size_t>(i)] = i % 2 ? 0.0 : (i % 4 ? -0.4 : 0.3);
  Polylines[0].Flags = kPolylineClosed;
  time("a closed 1000-vertex polyline, 500 arcs");
  PolylineCount = 0;
  Lines.resize(100);
  for (int i = 0; i < 100; ++i) Lines[i] = {{1.0 * i, 0, 0}, {1.0 * i, 5.0 + i, 0}, {}, {}};
  LineCount = 100;
  time("100 lines");
  for (auto& l : Lines) {
    l.Layer.Assign("WALLS");
    l.Props.Color = 1;
    l.Props.Linetype.Assign("DASHED");
  }
  time("100 lines on layer WALLS, red, DASHED");
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
    BenchCapture("a 5-vertex polyline", "lwpolyline 0,0 10,10 20,0 30,10 40,0", fields, 150);
    BenchRedraw(fields);
  } catch (const std::exception& e) {
    std::printf("benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
