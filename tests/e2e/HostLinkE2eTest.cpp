// The real swivex.exe beside today's AutoCAD flavours, a host that stops answering for a while or for good, and
// the user's clipboard across a capture.
#include <gtest/gtest.h>

#include "E2eChecks.h"
#include "tests/cadlink/ClipboardChecks.h"

namespace swivex::e2e {
namespace {

const std::wstring kLineCaption = L"回転処理　線";
const std::wstring kNotAnswering = L"AutoCAD が応答しません。ウィンドウ メニューの「接続の診断...」で原因を確認できます。";
constexpr DWORD kAnswerTimeoutMs = 5000;  // the link's time-out for one message

void ExpectThreeFourFive(const TSession& s) {
  ExpectMeasurement(s, kLineCaption, L"5.000000", L"53.13010235", L"53", L"7", L"48.368475");
}

bool HostLogHas(const TSession& s, const std::string& line) {
  for (const auto& l : s.LogLines())
    if (l == line) return true;
  return false;
}

// An ANSI AutoCAD LT 2024 with its command line floating and a Japanese drawing name: found, captured, drawn.
TEST(HostLinkE2e, TodaysAutoCadLtCapturesAndRedraws) {
  TSession s(Scenario("charset ansi\nframe-class mdi140\ncommand-line floating\nfloating-class AfxMDIFrame140u\n"
                      "title Autodesk AutoCAD LT 2024 - [図面1.dwg]\ntext-title AutoCAD テキスト ウィンドウ - 図面1.dwg\n"
                      "line 0,0 3,4"));
  EXPECT_TRUE(s.Press(IdButton2).empty());
  ExpectThreeFourFive(s);
  SetNewAngle(s, L"90", L"0", L"0");
  EXPECT_TRUE(s.Press(IdButton1).empty());
  const auto drawn = NewObjects(s);
  ASSERT_EQ(drawn.size(), 1u);
  ExpectPoint(drawn[0].Points[0], 0, 0);
  ExpectPoint(drawn[0].Points[1], 0, 5);
}

// An AutoCAD 2027 whose user-interface thread sleeps 8 s: the capture gives up after the link's time-out with the balloon,
// the dialog answers what is sent to it and paints meanwhile, and once the host is back the next capture works and
// gives the user's clipboard back.
TEST(HostLinkE2e, HostBusyForAWhileEndsTheCaptureAndTheNextOneWorks) {
  TSession s(Scenario("frame-class mdi140\ntitle Autodesk AutoCAD 2027 - [Drawing1.dwg]\nline 0,0 3,4"));
  s.HostControl("hang 8000");
  ASSERT_TRUE(WaitFor(15000, [&] { return HostLogHas(s, "hang ms=8000"); }));
  const int before = s.ActionsDone();
  const ULONGLONG start = GetTickCount64();
  s.PressNoWait(IdButton2);
  Sleep(1000);
  const ULONGLONG asked = GetTickCount64();
  EXPECT_EQ(s.Field(IdKyori), L"");
  EXPECT_LT(GetTickCount64() - asked, 2000u) << "the dialog did not answer while the tool waited";
  // It paints, too: what is uncovered is drawn again at once, not when the wait is over.
  RedrawWindow(s.Form(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  EXPECT_TRUE(WaitFor(2000, [&] { return !GetUpdateRect(s.Form(), nullptr, FALSE); }))
      << "the dialog did not paint while the tool waited";
  ASSERT_TRUE(WaitFor(kAnswerTimeoutMs + 3000, [&] { return s.ActionsDone() > before; }));
  EXPECT_GE(GetTickCount64() - start, kAnswerTimeoutMs - 100);
  EXPECT_TRUE(s.TakeMessageBoxes().empty());
  EXPECT_EQ(VisibleNotice(s), kNotAnswering);
  EXPECT_EQ(s.Caption(), L"回転処理");

  ASSERT_TRUE(WaitFor(8000, [&] { return HostLogHas(s, "hang over"); }));
  PutUsersClipboard("the user's text");
  EXPECT_TRUE(s.Press(IdButton2).empty());
  ExpectThreeFourFive(s);
  EXPECT_EQ(ClipboardText(), "the user's text");
  EXPECT_EQ(ClipboardBytes(CF_DIB, SmallDib().size()), SmallDib());  // metafiles and the rest: the link test
}

// The host never answers again after the second UCS query: the capture ends with the balloon, the user's
// clipboard comes back, a second press gives up at once and the dialog closes.
TEST(HostLinkE2e, HostThatNeverAnswersAgainEndsTheCaptureAndTheToolStillCloses) {
  TSession s(Scenario("line 0,0 3,4\nhang-after 2 forever"));
  PutUsersClipboard("the user's text");
  EXPECT_TRUE(s.Press(IdButton2, kAnswerTimeoutMs + 5000).empty());
  EXPECT_EQ(VisibleNotice(s), kNotAnswering);
  EXPECT_EQ(s.Field(IdKyori), L"");
  EXPECT_EQ(ClipboardText(), "the user's text");

  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(s.Press(IdButton2, kAnswerTimeoutMs + 5000).empty());
  EXPECT_LT(GetTickCount64() - start, kAnswerTimeoutMs) << "a host the system counts as hung is not waited for";
  EXPECT_EQ(VisibleNotice(s), kNotAnswering);

  // Under Wine without a window manager every top-level window takes about two seconds to go.
  PostMessageW(s.Form(), WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(s.ToolProcess(), 15000), WAIT_OBJECT_0) << "the tool did not exit";
  DWORD code = 1;
  GetExitCodeProcess(s.ToolProcess(), &code);
  EXPECT_EQ(code, 0u);
}

// A clipboard owner that renders a format only when asked, then one that stops answering, and a clipboard manager
// that opens the clipboard after every change: the capture works, keeps what it can within its budget, and names
// in the balloon what it could not keep.
TEST(HostLinkE2e, ClipboardOwnersThatRenderLateOrNeverAndAManagerCannotHurtTheCapture) {
  TSession s(Scenario("line 0,0 3,4"));
  PROCESS_INFORMATION manager = StartOtherProgram(s, L"manager.exe", L"--clipboard-manager 30");
  PROCESS_INFORMATION owner = StartOtherProgram(s, L"excel.exe", L"--own-clipboard delayed \"the user's text\"");
  ASSERT_TRUE(manager.hProcess && owner.hProcess);
  const UINT delayed = RegisterClipboardFormatW(L"Swivex Delayed");
  EXPECT_TRUE(s.Press(IdButton2).empty());
  ExpectThreeFourFive(s);
  EXPECT_EQ(VisibleNotice(s), L"");
  EXPECT_EQ(ClipboardText(), "the user's text");
  EXPECT_EQ(ClipboardBytes(delayed, 20), std::string("rendered on request", 20));
  EndOtherProgram(owner);

  owner = StartOtherProgram(s, L"excel.exe", L"--own-clipboard hung \"the user's text\"");
  ASSERT_TRUE(owner.hProcess);
  // Wine's X11 driver asks the clipboard's owner at every OpenClipboard, giving up on it at once only when the
  // owner has not answered for 5 s: an owner that has stopped answering a while ago (Windows never asks).
  Sleep(5500);
  s.SetField(IdKyori, L"");
  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(s.Press(IdButton2, 10000).empty());
  EXPECT_LT(GetTickCount64() - start, 4000u) << "the owner's silence held the capture up";
  ExpectThreeFourFive(s);
  const std::wstring notice = VisibleNotice(s);
  EXPECT_NE(notice.find(L"Swivex Delayed"), std::wstring::npos) << Narrow(notice);
  EXPECT_EQ(ClipboardText(), "the user's text");
  EndOtherProgram(owner);
  EndOtherProgram(manager);
}

}  // namespace
}  // namespace swivex::e2e
