// The CAD host link against the stand-in host under Wine (code page 932): every window flavour, the window
// tests' negative cases, the command channel's bytes, the history copy and the clipboard, the user's clipboard
// kept across a capture, the UCS query, a restarted host and a host that stops answering.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "StandinProcess.h"
#include "tests/cadlink/ClipboardChecks.h"
#include "cadlink/AcadLink.h"
#include "cadlink/AcadStatus.h"
#include "cadlink/ClipboardKeeper.h"
#include "cadlink/SilentAbort.h"
#include "text/NumText.h"
#include "text/Sjis.h"

namespace swivex {
namespace {

const std::string kIdle(Sjis(u8"コマンド: ").View());

void ForgetHost() {
  AcadMainWindow = nullptr;
  AcadProcessId = 0;
  AcadTextWindow = AcadFloatingCommandLine = AcadPromptLine = AcadCommandLine = nullptr;
}

bool ClipboardIsEmpty() {
  if (!OpenClipboard(nullptr)) return false;
  const int formats = CountClipboardFormats();
  CloseClipboard();
  return formats == 0;
}

// The log line of the last WM_COPYDATA the host received.
std::string LastCopyData(const TStandin& s) {
  const std::string log = StandinLog(s);
  const auto at = log.rfind("copydata ");
  return at == std::string::npos ? "" : log.substr(at, log.find('\n', at) - at);
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override { ForgetHost(); }
  void TearDown() override {
    for (auto* s : {&Host, &Other}) StopStandin(*s);
    ForgetHost();
  }
  void Start(TStandin& s, const std::string& scenario) {
    std::string error;
    ASSERT_TRUE(StartStandin(s, scenario, error)) << error;
  }
  TStandin Host, Other;
};

struct TFlavour {
  const char* Name;
  const char* Scenario;
  bool Unicode;
  bool Floating;
};

class FlavourTest : public HostTest, public ::testing::WithParamInterface<TFlavour> {};

TEST_P(FlavourTest, FindsEveryWindowAndTypesIntoIt) {
  const TFlavour& f = GetParam();
  Start(Host, f.Scenario);
  EXPECT_EQ(AcadFindTextWindow(), nullptr);  // no main frame search has succeeded yet
  ASSERT_EQ(AcadFindMainWindow(), Host.Main);
  EXPECT_EQ(AcadProcessId, Host.Process.dwProcessId);
  EXPECT_EQ(IsWindowUnicode(AcadMainWindow) != 0, f.Unicode);
  EXPECT_EQ(AcadFindTextWindow(), Host.Text);
  EXPECT_EQ(AcadFindPromptLine(), Host.Prompt);
  EXPECT_EQ(AcadCommandLine, Host.Command);  // one child search fills both
  EXPECT_EQ(AcadFindCommandLine(), Host.Command);
  if (f.Floating) {
    EXPECT_EQ(AcadFloatingCommandLine, Host.Floating);
  }
  EXPECT_EQ(AcadPromptText(), kIdle);
  EXPECT_TRUE(AcadActivate());

  // U+0003 "UCSORG ": 8 code units; 18 bytes to a Unicode frame, 9 to an ANSI one.
  AcadSendCommand(L"\x0003UCSORG ");
  EXPECT_EQ(LastCopyData(Host),
            f.Unicode ? "copydata dwData=1 cbData=18 bytes=03 00 55 00 43 00 53 00 4F 00 52 00 47 00 20 00 00 00 text=\\x03UCSORG "
                      : "copydata dwData=1 cbData=9 bytes=03 55 43 53 4F 52 47 20 00 text=\\x03UCSORG ");
  EXPECT_EQ(AcadLastHistoryLine(), AnsiFromUtf8("UCSORG = 10.5000,-3.0000,0.0000 (読み込み専用)"));
  EXPECT_TRUE(ClipboardIsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Flavours, FlavourTest,
    ::testing::Values(
        TFlavour{"UnicodeAfxDocked", "charset unicode\nframe-class afx\ncommand-line docked\nucs-origin 10.5,-3,0", true, false},
        TFlavour{"AnsiMdi100Floating", "charset ansi\nframe-class mdi100\ncommand-line floating\nucs-origin 10.5,-3,0\n"
                                       "title Autodesk AutoCAD 2010 - [Drawing1.dwg]", false, true},
        TFlavour{"UnicodeMdi90Floating", "charset unicode\nframe-class mdi90\ncommand-line floating\nucs-origin 10.5,-3,0\n"
                                         "title ACAD-2008", true, true},
        TFlavour{"AnsiAfxDocked", "charset ansi\nframe-class afx\ncommand-line docked\nucs-origin 10.5,-3,0", false, false},
        TFlavour{"UnicodeMdi140Docked2027", "frame-class mdi140\nucs-origin 10.5,-3,0\n"
                                            "title Autodesk AutoCAD 2027 - [Drawing1.dwg]", true, false},
        TFlavour{"AnsiMdi140FloatingLt2024", "charset ansi\nframe-class mdi140\ncommand-line floating\n"
                                             "floating-class AfxMDIFrame140u\nucs-origin 10.5,-3,0\n"
                                             "title Autodesk AutoCAD LT 2024 - [図面1.dwg]\n"
                                             "text-title AutoCAD テキスト ウィンドウ - 図面1.dwg", false, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(HostTest, WindowsThatLookAlmostRightAreNotTaken) {
  Start(Host, "title autocad 2008 - [Drawing1.dwg]");
  EXPECT_EQ(AcadFindMainWindow(), nullptr);
  EXPECT_FALSE(AcadActivate());
  EXPECT_EQ(AcadPromptText(), "");
  EXPECT_EQ(AcadLastHistoryLine(), "");
  StopStandin(Host);
  // The text window's kind of class on a main frame title.
  Start(Host, "frame-class Afx:400000:b:10011:6:0\ntext-class Afx:400000:b:20000:6:0");
  EXPECT_EQ(AcadFindMainWindow(), nullptr);
  StopStandin(Host);

  // A text window of another process than the main frame's is not AutoCAD's text window.
  Start(Host, "text-title Something else");
  Start(Other, "title autocad 2008 - [Drawing1.dwg]");
  ASSERT_EQ(AcadFindMainWindow(), Host.Main);
  EXPECT_EQ(AcadFindTextWindow(), nullptr);
  PutText("the user's text");
  EXPECT_EQ(AcadCopyHistory(), "");
  EXPECT_EQ(ClipboardText(), "the user's text");  // untouched when there is no text window
}

TEST_F(HostTest, FoundHandlesAreKeptWhileAliveAndDeadOnesReturned) {
  Start(Host, "");
  ASSERT_EQ(AcadFindMainWindow(), Host.Main);
  Start(Other, "frame-class mdi100");
  EXPECT_EQ(AcadFindMainWindow(), Host.Main);  // kept: no new search while it is a window
  const HWND first = Host.Main;
  StopStandin(Host);
  StopStandin(Other);
  EXPECT_EQ(AcadFindMainWindow(), first);  // nothing new found: the old, dead handle
  EXPECT_FALSE(IsWindow(first));
  EXPECT_FALSE(AcadActivate());
  EXPECT_FALSE(AcadPostCommand(L"\x0003UCSORG ", true));
  EXPECT_FALSE(AcadPostCommandA(L"\x0003UCSORG "));
  EXPECT_FALSE(AcadPostCommandW(L"\x0003UCSORG "));
  AcadSendCommand(L"\x0003UCSORG ");  // says nothing
  TPoint3D origin{1, 2, 3}, x, y;
  try {
    AcadQueryUcs(origin, x, y);
    ADD_FAILURE() << "no conversion error without AutoCAD";
  } catch (const TConvertError& e) {
    EXPECT_EQ(e.Text(), "");
  }
  EXPECT_EQ(origin.x, 1.0);
}

TEST_F(HostTest, RestartedHostIsFoundWithBothCommandLineWindows) {
  Start(Host, "command-line docked");
  ASSERT_EQ(AcadFindPromptLine(), Host.Prompt);
  ASSERT_EQ(AcadFindCommandLine(), Host.Command);
  StopStandin(Host);
  Start(Host, "command-line floating\ncharset ansi");
  // The prompt search comes first; the command line must not be left dead behind it.
  EXPECT_EQ(AcadFindPromptLine(), Host.Prompt);
  EXPECT_EQ(AcadMainWindow, Host.Main);
  EXPECT_EQ(AcadCommandLine, Host.Command);
  EXPECT_TRUE(IsWindow(AcadCommandLine));
  EXPECT_EQ(AcadFindCommandLine(), Host.Command);
  EXPECT_EQ(AcadPromptText(), kIdle);
  StopStandin(Host);
  Start(Host, "command-line docked");
  EXPECT_EQ(AcadFindCommandLine(), Host.Command);  // this time the command line is asked for first
  EXPECT_EQ(AcadPromptLine, Host.Prompt);
  AcadSendCommand(L"\x0003UCSXDIR ");
  EXPECT_EQ(AcadLastHistoryLine(), AnsiFromUtf8("UCSXDIR = 1.0000,0.0000,0.0000 (読み込み専用)"));
}

TEST_F(HostTest, CharactersOutsideTheCodePageArriveAsTheDefaultCharacter) {
  CPINFO info{};
  ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
  const std::string fallback(1, static_cast<char>(info.DefaultChar[0]));
  for (const char* charset : {"unicode", "ansi"}) {
    Start(Host, std::string("charset ") + charset);
    ASSERT_TRUE(IsWindow(AcadFindMainWindow()));
    AcadSendCommand(L"\x0003" L"FOO\x0E01\x00E5X ");  // a Thai letter and a-ring: neither is in code page 932
    const std::string line = LastCopyData(Host);
    EXPECT_NE(line.find("text=\\x03FOO" + fallback), std::string::npos) << charset << ": " << line;
    EXPECT_EQ(line.find("\xE0\xB8\x81"), std::string::npos) << line;  // the Thai letter did not get through
    StopStandin(Host);
    ForgetHost();
  }
}

TEST_F(HostTest, LongCommandsArriveWhole) {
  std::wstring command = L"\x0003PLINE ";
  std::string expected = "\\x03PLINE ";
  for (int i = 0; i < 34; ++i) {
    const std::string point = std::to_string(i) + "0.000000," + std::to_string(i % 7) + ".500000 ";
    command += std::wstring(point.begin(), point.end());
    expected += point;
  }
  command += L"\r";
  expected += "\\x0D";
  ASSERT_GT(command.size(), 600u);
  for (const char* charset : {"unicode", "ansi"}) {
    Start(Host, std::string("charset ") + charset);
    ASSERT_TRUE(IsWindow(AcadFindMainWindow()));
    AcadSendCommand(command);
    const std::string line = LastCopyData(Host);
    const std::size_t units = command.size() + 1;
    EXPECT_NE(line.find("cbData=" + std::to_string(std::string(charset) == "unicode" ? 2 * units : units) + " "),
              std::string::npos) << line.substr(0, 60);
    EXPECT_EQ(line.substr(line.find(" text=") + 6), expected) << charset;
    EXPECT_EQ(AcadPromptText(), kIdle);  // the PLINE has ended
    StopStandin(Host);
    ForgetHost();
  }
}

TEST_F(HostTest, PromptFollowsTheCommand) {
  Start(Host, "line 0,0 1,1\npick never");
  ASSERT_EQ(AcadFindMainWindow(), Host.Main);
  AcadSendCommand(L"\x0003SELECT SINGLE ");
  EXPECT_EQ(AcadPromptText(), std::string(Sjis(u8"オブジェクトを選択: ").View()));
  ASSERT_TRUE(StandinControl(Host, "pick-now 0"));
  EXPECT_EQ(AcadPromptText(), kIdle);
  EXPECT_EQ(AcadLastHistoryLine(), AnsiFromUtf8("オブジェクトを選択: 1 個を検出"));
  AcadSendCommand(L"\x0003SELECT SINGLE ");
  AcadSendCommand(L"\x0003");
  EXPECT_EQ(AcadLastHistoryLine(), AnsiFromUtf8("オブジェクトを選択: *キャンセル*"));
  EXPECT_TRUE(ClipboardIsEmpty());
}

TEST_F(HostTest, HistoryEdgeCasesAndTheClipboardLeftEmpty) {
  Start(Host, "");
  ASSERT_EQ(AcadFindMainWindow(), Host.Main);  // the text window is looked for in the main frame's process
  struct TCase {
    const char* Control;
    std::string Expected;
  } cases[] = {
      {"history-raw UCSORG = 1,2,3\\r\\nコマンド: \\r\\n", AnsiFromUtf8("コマンド: ")},
      {"history-raw a\\r\\nb\\r\\n\\r\\n", "b"},
      {"history-raw a\\rb\\nc", "c"},
      {"history-raw \\r\\n\\r\\n\\n", ""},
      {"history-raw \\x20\\x20\\r\\n", "  "},
      {"history-raw", ""},
      {"history-copy none", ""},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(StandinControl(Host, c.Control)) << c.Control << StandinLog(Host);
    PutText("the user's text");
    EXPECT_EQ(AcadLastHistoryLine(), c.Expected) << c.Control;
    EXPECT_TRUE(ClipboardIsEmpty()) << c.Control;
  }
  // The clipboard owner named by the shell is used.
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  AcadSetClipboardOwner(owner);
  ASSERT_TRUE(StandinControl(Host, "history-copy normal"));
  AcadSendCommand(L"\x0003UCSYDIR ");
  EXPECT_EQ(AcadLastHistoryLine(), AnsiFromUtf8("UCSYDIR = 0.0000,1.0000,0.0000 (読み込み専用)"));
  EXPECT_TRUE(ClipboardIsEmpty());
  AcadSetClipboardOwner(nullptr);
  DestroyWindow(owner);
}

TEST_F(HostTest, ClipboardHeldByAnotherProgramEndsTheActionSilently) {
  Start(Host, "ucs-origin 7,8,9");
  ASSERT_TRUE(IsWindow(AcadFindMainWindow()));
  PutText("the user's text");
  PROCESS_INFORMATION holder{};
  std::string error;
  ASSERT_TRUE(StartClipboardHolder(holder, 2000, error)) << error;
  EXPECT_THROW(AcadCopyHistory(), TSilentAbort);
  TPoint3D origin{1, 2, 3}, x{4, 5, 6}, y{7, 8, 9};
  EXPECT_THROW(AcadQueryUcs(origin, x, y), TSilentAbort);
  EXPECT_EQ(origin.x, 1.0);  // nothing stored
  EXPECT_EQ(origin.z, 3.0);
  EXPECT_EQ(x.x, 4.0);
  WaitAndClose(holder, 15000);
  EXPECT_EQ(ClipboardText(), "the user's text");  // the user's clipboard was never half-changed
  AcadQueryUcs(origin, x, y);                     // and once it is free, all is well again
  EXPECT_EQ(origin.x, 7.0);
  EXPECT_EQ(origin.z, 9.0);
  EXPECT_TRUE(ClipboardIsEmpty());
}

TEST_F(HostTest, UcsQueryReadsEveryEchoForm) {
  Start(Host, "ucs-origin 1e5,-2.25,0.125\nucs-xdir 0.6,0.8,0\nucs-ydir -0.8,0.6,0\necho-style exponent\n"
              "echo-decimals 6\necho-remark");
  TPoint3D origin, x, y;
  AcadQueryUcs(origin, x, y);
  EXPECT_EQ(origin.x, 1e5);
  EXPECT_EQ(origin.y, -2.25);
  EXPECT_EQ(origin.z, 0.125);
  EXPECT_EQ(x.y, 0.8);
  EXPECT_EQ(y.x, -0.8);
  ASSERT_TRUE(StandinControl(Host, "echo-style shortest"));
  ASSERT_TRUE(StandinControl(Host, "echo-remark (読み込み専用)"));
  ASSERT_TRUE(StandinControl(Host, "echo UCSYDIR UCSYDIR = 3,4,5,6 (読み込み専用)"));
  TPoint3D o2, x2, y2{-1, -1, -1};
  try {
    AcadQueryUcs(o2, x2, y2);
    ADD_FAILURE() << "four numbers converted";
  } catch (const TConvertError& e) {
    EXPECT_EQ(e.Text(), "5,6 ");
  }
  EXPECT_EQ(o2.x, 1e5);
  EXPECT_EQ(x2.x, 0.6);
  EXPECT_EQ(y2.x, 3.0);  // stored before the failing piece
  EXPECT_EQ(y2.y, 4.0);
  EXPECT_EQ(y2.z, -1.0);
}

// With neither the main frame's children, a floating command line nor a text window to search, the last
// fallback enumerates with a null parent: the top-level windows, where "Headlands" and "MountTam" are then taken.
TEST_F(HostTest, LastFallbackLooksAmongTheTopLevelWindows) {
  Start(Host, "command-line floating\nfloating-title Other\ntext-title Other");
  ASSERT_EQ(AcadFindMainWindow(), Host.Main);
  EXPECT_EQ(AcadFindPromptLine(), nullptr);  // the host's own pair sits in a window no test recognises
  EXPECT_EQ(AcadFindTextWindow(), nullptr);
  const HWND prompt = CreateWindowExW(0, L"STATIC", L"Headlands", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const HWND input = CreateWindowExW(0, L"STATIC", L"MountTam", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(AcadFindPromptLine(), prompt);
  EXPECT_EQ(AcadCommandLine, input);
  DestroyWindow(prompt);
  DestroyWindow(input);
}

// The text window's title is compared by the user's locale, case, width and kana kind included.
TEST_F(HostTest, TextWindowTitleComparedByLocaleKeepsCaseWidthAndKana) {
  for (const char* title : {"autocad テキスト ウィンドウ - Drawing1.dwg", "AutoCAD ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - Drawing1.dwg",
                            "AutoCAD てきすと ウィンドウ - Drawing1.dwg", "ＡｕｔｏＣＡＤ テキスト ウィンドウ"}) {
    Start(Host, std::string("text-title ") + title);
    ASSERT_EQ(AcadFindMainWindow(), Host.Main);
    EXPECT_EQ(AcadFindTextWindow(), nullptr) << title;
    StopStandin(Host);
    ForgetHost();
  }
}

// A capture keeps the user's clipboard: text, a DIB and an enhanced metafile come back byte for byte once the
// keeper ends, though every history copy in between emptied the clipboard; another program's content stays.
TEST_F(HostTest, KeeperPutsTheUsersClipboardBackAndLeavesAnotherProgramsContent) {
  Start(Host, "ucs-origin 7,8,9");
  ASSERT_TRUE(IsWindow(AcadFindMainWindow()));
  PutUsersClipboard("the user's text");
  {
    TClipboardKeeper keeper;
    TPoint3D origin, x, y;
    AcadQueryUcs(origin, x, y);
    EXPECT_EQ(origin.z, 9.0);
    EXPECT_TRUE(ClipboardIsEmpty());
  }
  EXPECT_EQ(ClipboardText(), "the user's text");
  EXPECT_EQ(ClipboardBytes(CF_DIB, SmallDib().size()), SmallDib());
  EXPECT_EQ(ClipboardEmf(), SmallEmf());
  {
    TClipboardKeeper keeper;  // no history copy: the clipboard is not touched
    PutText("copied meanwhile");
  }
  EXPECT_EQ(ClipboardText(), "copied meanwhile");

  // What another program puts on the clipboard during the capture stays: after the last history copy it is left
  // alone; before a later history copy it is kept in the user's place.
  PutUsersClipboard("the user's text");
  {
    TClipboardKeeper keeper;
    AcadSendCommand(L"\x0003UCSORG ");
    AcadLastHistoryLine();
    PutText("another program's text");
  }
  EXPECT_EQ(ClipboardText(), "another program's text");
  EXPECT_EQ(ClipboardBytes(CF_DIB, 1), "(none)");
  {
    TClipboardKeeper keeper;
    AcadLastHistoryLine();
    PutText("copied between two history copies");
    EXPECT_EQ(AcadLastHistoryLine(), AnsiFromUtf8("UCSORG = 7.0000,8.0000,9.0000 (読み込み専用)"));
  }
  EXPECT_EQ(ClipboardText(), "copied between two history copies");
}

// A host that stops answering: the message gives up after the time-out and says so, as NotAnswering; a window
// that is gone is not taken for a hung one.
TEST_F(HostTest, HostThatStopsAnsweringRaisesNotAnswering) {
  Start(Host, "hang-after 2 forever");
  ASSERT_TRUE(IsWindow(AcadFindMainWindow()));
  AcadSendCommand(L"\x0003UCSORG ");  // answered
  const ULONGLONG start = GetTickCount64();
  try {
    AcadSendCommand(L"\x0003UCSXDIR ");  // taken, but never answered
    ADD_FAILURE() << "no time-out";
  } catch (const TAcadUnavailable& e) {
    EXPECT_EQ(e.Failure(), TAcadFailure::NotAnswering);
  }
  const ULONGLONG waited = GetTickCount64() - start;
  EXPECT_GE(waited, kAcadAnswerTimeoutMs - 100);
  EXPECT_LT(waited, kAcadAnswerTimeoutMs + 3000);
  // Every other message to the hung host fails the same way.
  EXPECT_THROW(AcadPromptText(), TAcadUnavailable);
  EXPECT_THROW(AcadCopyHistory(), TAcadUnavailable);
  TerminateProcess(Host.Process.hProcess, 1);
  WaitForSingleObject(Host.Process.hProcess, 5000);
  EXPECT_EQ(AcadPromptText(), "");  // gone, not hung
}

}  // namespace
}  // namespace swivex
