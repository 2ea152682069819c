// The scripted demonstration: the stand-in host with a sample drawing and swivex.exe side by side; everything is
// selected, captured, given a new direction and drawn. Screenshots are taken by the calling script when this
// program asks for them (a marker file, answered by "<marker>.done"); fields and commands are printed.
// demo.exe OUT-FOLDER SCENARIO-FILE [SCALE-NAME [--short]]
// SCALE-NAME (e.g. "96dpi") names one more screenshot after 作成, with the dialog's client size printed; --short
// (the run at another scale) takes only that one and leaves the drawing's files alone.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "E2eHarness.h"
#include "app/ControlIds.h"

using namespace swivex;
using namespace swivex::e2e;

namespace {

std::wstring OutFolder;

void Print(const std::string& utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Asks the script for a screenshot and waits until it has been taken.
void Screenshot(const std::wstring& name) {
  const std::wstring marker = OutFolder + L".shot-" + name;
  std::ofstream(std::filesystem::path(marker)) << "\n";
  for (int i = 0; i < 300 && !std::filesystem::exists(std::filesystem::path(marker + L".done")); ++i) Sleep(100);
  std::filesystem::remove(std::filesystem::path(marker));
  std::filesystem::remove(std::filesystem::path(marker + L".done"));
}

std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\x03') out += "^C";
    else if (c == '\r') out += "<CR>";
    else out += c;
  }
  return out;
}

void PrintClientSize(const TSession& s, const std::wstring& scale) {
  RECT client{};
  GetClientRect(s.Form(), &client);
  Print("-- the dialog at " + Narrow(scale) + ": client area " + std::to_string(client.right) + " x " +
        std::to_string(client.bottom));
}

void PrintFields(const TSession& s, const char* when) {
  Print(std::string("-- ") + when + ": caption \"" + Narrow(s.Caption()) + "\"");
  const std::pair<const char*, int> fields[] = {{"eKyori", IdKyori}, {"eKakudo", IdKakudo}, {"eDo", IdDo},
                                                {"eFun", IdFun},     {"eByo", IdByo},       {"eDo2", IdDo2},
                                                {"eFun2", IdFun2},   {"eByo2", IdByo2},     {"eKakudo2", IdKakudo2}};
  for (const auto& [name, id] : fields) Print(std::string("   ") + name + " = \"" + Narrow(s.Field(id)) + "\"");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    Print("usage: swivex_demo OUT-FOLDER SCENARIO-FILE [SCALE-NAME [--short]]");
    return 2;
  }
  const std::wstring scale = argc > 3 ? argv[3] : L"";
  const bool shortRun = argc > 4 && std::wstring(argv[4]) == L"--short";
  OutFolder = argv[1];
  if (OutFolder.back() != L'\\') OutFolder += L'\\';
  std::ifstream in(std::filesystem::path(argv[2]), std::ios::binary);
  std::stringstream scenario;
  scenario << in.rdbuf();
  try {
    TSession s(scenario.str(), true, OutFolder + (shortRun ? L"swivex-" + scale : L"swivex") + L"\\");
    // Side by side: the dialog stays at its designed place, the host to its right (further right for the larger
    // dialog of the run at another scale).
    SetWindowPos(s.HostFrame(), nullptr, shortRun ? 700 : 480, 40, 520, 460, SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(800);
    if (!shortRun) Screenshot(L"start");

    Print("== 取込: everything is selected (ALL typed at the selection prompt)");
    s.PressNoWait(IdButton2);
    const auto selecting = [&] {
      for (const auto& c : s.Commands())
        if (c == "\x03SELECT SINGLE ") return true;
      return false;
    };
    for (int i = 0; i < 200 && !selecting(); ++i) Sleep(100);
    Sleep(800);
    s.TypeIntoHost(L"ALL ");
    for (int i = 0; i < 200 && s.Field(IdKyori).empty(); ++i) Sleep(100);
    Sleep(500);
    for (const auto& b : s.TakeMessageBoxes()) Print("message box: " + Narrow(b.Text));
    PrintFields(s, "after 取込");
    // The line gave the measurement; the polyline's first segment keeps its own length of 50.
    s.SetField(IdKyori, L"50.000000");
    s.SetField(IdDo2, L"30");
    s.SetField(IdFun2, L"0");
    s.SetField(IdByo2, L"0");
    PrintFields(s, "new direction typed");
    Sleep(500);
    if (!shortRun) Screenshot(L"before");

    const std::size_t before = s.CopyData().size();
    Print("== 作成");
    for (const auto& b : s.Press(IdButton1)) Print("message box: " + Narrow(b.Text));
    PrintFields(s, "after 作成");
    Sleep(800);
    if (!shortRun) Screenshot(L"after");
    if (!scale.empty()) {
      PrintClientSize(s, scale);
      Screenshot(scale);
      // The widest texts the fields show: a sign and three digits of degrees, signed minutes, six decimals of
      // signed seconds, every digit of which must be readable.
      for (int id : {IdDo, IdDo2}) s.SetField(id, L"-229");
      for (int id : {IdFun, IdFun2}) s.SetField(id, L"-59");
      for (int id : {IdByo, IdByo2}) s.SetField(id, L"-59.999999");
      for (int id : {IdKakudo, IdKakudo2}) s.SetField(id, L"-139.84222222");
      s.SetField(IdKyori, L"12345.678901");
      Sleep(500);
      Screenshot(scale + L"-widest");
    }
    if (shortRun) return 0;

    Print("== commands the host received (WM_COPYDATA, dwData 1)");
    const auto entries = s.CopyData();
    for (std::size_t i = 0; i < entries.size(); ++i)
      if (entries[i].DwData == 1)
        Print(std::string(i >= before ? "   [作成] " : "   [取込] ") + Visible(entries[i].TextUtf8) +
              "   (cbData " + std::to_string(entries[i].CbData) + ")");
    s.Drawing();  // the host writes its drawing (JSON and DXF) now
    std::filesystem::copy_file(std::filesystem::path(s.Folder() + L"host\\drawing.dxf"),
                               std::filesystem::path(OutFolder + L"rotated.dxf"),
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(std::filesystem::path(s.Folder() + L"host\\drawing.json"),
                               std::filesystem::path(OutFolder + L"rotated.json"),
                               std::filesystem::copy_options::overwrite_existing);
    Print("== new objects in the host's drawing");
    for (const auto& o : s.Drawing()) {
      if (!o.New) continue;
      std::string line = "   " + o.Type;
      for (const auto& p : o.Points) {
        char buf[64];
        std::snprintf(buf, sizeof buf, " (%.6f, %.6f)", p[0], p[1]);
        line += buf;
      }
      Print(line);
    }
  } catch (const std::exception& e) {
    Print(std::string("demo failed: ") + e.what());
    return 1;
  }
  return 0;
}
