// The window tests on titles and class names, and the reading of history and UCS echoes (portable parts).
#include <gtest/gtest.h>

#include <string>

#include "cadlink/AcadEcho.h"
#include "cadlink/AcadText.h"
#include "text/NumText.h"

namespace swivex {
namespace {

const std::string kTextTitle = "AutoCAD " + std::string(Sjis(u8"テキスト ウィンドウ").View()) + " - Drawing1.dwg";

TEST(WindowTests, MainFrameTitleNeedsOneOfThreeExactPrefixes) {
  EXPECT_TRUE(IsMainFrameTitle("AutoCAD 2008 - [Drawing1.dwg]"));
  EXPECT_TRUE(IsMainFrameTitle("Autodesk AutoCAD 2010"));
  EXPECT_TRUE(IsMainFrameTitle("ACADLT"));  // only the first 4 bytes count
  EXPECT_FALSE(IsMainFrameTitle("autocad 2008 - [Drawing1.dwg]"));
  EXPECT_FALSE(IsMainFrameTitle("AutoCAD"));     // the trailing blank belongs to the prefix
  EXPECT_FALSE(IsMainFrameTitle("Autodesk"));
  EXPECT_FALSE(IsMainFrameTitle(" AutoCAD 2008"));
  EXPECT_FALSE(IsMainFrameTitle(""));
  // Today's titles.
  EXPECT_TRUE(IsMainFrameTitle("Autodesk AutoCAD 2027 - [Drawing1.dwg]"));
  EXPECT_TRUE(IsMainFrameTitle("Autodesk AutoCAD LT 2024 - [\x90\x7D\x96\xCA" "1.dwg]"));  // 図面1.dwg
}

TEST(WindowTests, MainFrameClassForms) {
  EXPECT_TRUE(IsMainFrameClass("Afx:400000:8:10011:0:0"));
  EXPECT_TRUE(IsMainFrameClass("Afx:00400000:8:00010011:00000000:01230ABC"));
  EXPECT_TRUE(IsMainFrameClass("AfxMDIFrame90u"));
  EXPECT_TRUE(IsMainFrameClass("AfxMDIFrame90uExtra"));
  EXPECT_TRUE(IsMainFrameClass("xAfxMDIFrame100u"));
  EXPECT_FALSE(IsMainFrameClass("Afx:400000:b:10011:6:0"));  // the text window's kind
  EXPECT_FALSE(IsMainFrameClass("AfxFrame:8:10011"));         // ":8:" without "Afx:" first
  EXPECT_FALSE(IsMainFrameClass("afx:400000:8:10011"));
  EXPECT_FALSE(IsMainFrameClass(""));
  // Every MFC version since: the digits after "AfxMDIFrame" decide, with or without the Unicode "u".
  for (const char* name : {"AfxMDIFrame80u", "AfxMDIFrame110u", "AfxMDIFrame140u", "AfxMDIFrame150u", "AfxMDIFrame140"})
    EXPECT_TRUE(IsMainFrameClass(name)) << name;
  EXPECT_TRUE(IsMainFrameClass("AfxMDIFrameX AfxMDIFrame140u"));  // a later occurrence counts
  EXPECT_FALSE(IsMainFrameClass("AfxMDIFrame"));
  EXPECT_FALSE(IsMainFrameClass("AfxMDIFrameu140"));
  EXPECT_FALSE(IsMainFrameClass("AfxFrameOrView140u"));
  EXPECT_EQ(WhyNotMainFrame("Autodesk AutoCAD 2027 - [Drawing1.dwg]", "AfxMDIFrame140u"), "");
  EXPECT_NE(WhyNotMainFrame("Autodesk AutoCAD 2027 - [Drawing1.dwg]", "AfxFrameOrView140u"), "");
  EXPECT_NE(WhyNotMainFrame("autocad", "AfxMDIFrame140u"), WhyNotMainFrame("AutoCAD ", "AfxFrameOrView140u"));
}

// Only AutoCAD's and AutoCAD LT's images: Inventor, TrueView or a file merely named like them are not.
TEST(AcadText, AcadImageNames) {
  for (const char* name : {"acad.exe", "ACAD.EXE", "AcadLT.exe"}) EXPECT_TRUE(IsAcadImageName(name)) << name;
  for (const char* name : {"Inventor.exe", "dwgviewr.exe", "acad.exe.bak", "xacad.exe", "acad", ""})
    EXPECT_FALSE(IsAcadImageName(name)) << name;
  EXPECT_EQ(WhyNotAcadProcess("acadlt.exe"), "");
  EXPECT_NE(WhyNotAcadProcess("Inventor.exe"), WhyNotAcadProcess(""));
}

TEST(WindowTests, ShiftJisLeadBytes) {
  for (int b : {0x81, 0x9F, 0xE0, 0xFC, 0x83, 0x95}) EXPECT_TRUE(IsSjisLeadByte(static_cast<unsigned char>(b))) << b;
  for (int b : {0x00, 0x41, 0x7F, 0x80, 0xA0, 0xB1, 0xDF, 0xFD, 0xFF})
    EXPECT_FALSE(IsSjisLeadByte(static_cast<unsigned char>(b))) << b;
}

TEST(WindowTests, ContainsAsTextMatchesOnlyOnCharacterBoundaries) {
  const std::string words(kTextWindowWords.View());
  EXPECT_TRUE(ContainsAsText("x" + words, words));
  EXPECT_TRUE(ContainsAsText(std::string(Sjis(u8"コマンド").View()) + words, words));
  // 0x95 is a lead byte: the first byte of the words (0x83) becomes its trail byte.
  const std::string shifted = "\x95" + words;
  EXPECT_TRUE(Contains(shifted, words));
  EXPECT_FALSE(ContainsAsText(shifted, words));
  EXPECT_FALSE(ContainsAsText("AutoCAD", words));
  EXPECT_TRUE(ContainsAsText("abc", ""));
  // A lead byte at the very end does not step past the text.
  EXPECT_FALSE(ContainsAsText("ab\x83", "b\x83x"));
}

TEST(WindowTests, ContainsAsTextUsesTheGivenComparison) {
  const auto caseBlind = [](std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
  };
  EXPECT_TRUE(ContainsAsText("xxABCxx", "abc", IsSjisLeadByte, caseBlind));
  EXPECT_FALSE(ContainsAsText("xxABCxx", "abc"));
  EXPECT_TRUE(BeginsWithByLocale("AUTOCAD x", "autocad ", caseBlind));
  EXPECT_FALSE(BeginsWithByLocale("AUTOCAD x", "autocad "));
}

TEST(WindowTests, TextWindowAndFloatingCommandLine) {
  EXPECT_TRUE(IsTextWindow(kTextTitle, "Afx:400000:b:10011:6:0"));
  EXPECT_FALSE(IsTextWindow(kTextTitle, "Afx:400000:8:10011:0:0"));
  EXPECT_FALSE(IsTextWindow(kTextTitle, "AfxMDIFrame100u:b:"));
  EXPECT_FALSE(IsTextWindow("autocad " + kTextTitle.substr(8), "Afx:400000:b:10011:6:0"));
  EXPECT_FALSE(IsTextWindow("AutoCAD 2008 - [Drawing1.dwg]", "Afx:400000:b:10011:6:0"));
  // An ideographic space (81 40) in the place of the ASCII one is another title.
  std::string ideographic = kTextTitle;
  ideographic.replace(ideographic.find(' ', 9), 1, "\x81\x40");
  EXPECT_FALSE(IsTextWindow(ideographic, "Afx:400000:b:10011:6:0"));

  const std::string floating(kFloatingCommandLineWords.View());
  EXPECT_TRUE(IsFloatingCommandLine(floating, "Afx:400000:8:10003:0:0"));
  EXPECT_TRUE(IsFloatingCommandLine("AutoCAD " + floating, "Afx:1:8:2"));
  EXPECT_FALSE(IsFloatingCommandLine(floating, "Afx:400000:b:10003:0:0"));
  EXPECT_FALSE(IsFloatingCommandLine("\x95" + floating, "Afx:400000:8:10003:0:0"));
  EXPECT_FALSE(IsFloatingCommandLine("Command Line", "Afx:400000:8:10003:0:0"));
  EXPECT_TRUE(IsFloatingCommandLine(floating, "AfxMDIFrame140u"));
}

TEST(HistoryLines, SplittingAtEveryKindOfLineBreak) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(SplitHistoryLines("a\r\n\r\nb"), (V{"a", "", "b"}));
  EXPECT_EQ(SplitHistoryLines("a\n\rb"), (V{"a", "", "b"}));
  EXPECT_EQ(SplitHistoryLines("a\rb\n"), (V{"a", "b"}));
  EXPECT_EQ(SplitHistoryLines("a\r\n"), (V{"a"}));
  EXPECT_EQ(SplitHistoryLines(std::string_view("a\nb\0c\n", 6)), (V{"a", "b"}));
  EXPECT_TRUE(SplitHistoryLines("").empty());
}

TEST(HistoryLines, LastNonEmptyLine) {
  const std::string command(Sjis(u8"コマンド: ").View());
  EXPECT_EQ(LastNonEmptyLine("UCSORG = 1,2,3\r\n" + command + "\r\n"), command);  // empty last line
  EXPECT_EQ(LastNonEmptyLine("x\r\ny\r\n\r\n"), "y");                          // two line breaks at the end
  EXPECT_EQ(LastNonEmptyLine("x\ny"), "y");
  EXPECT_EQ(LastNonEmptyLine("x\r\n  \r\n"), "  ");  // blanks are not empty
  EXPECT_EQ(LastNonEmptyLine("\r\n\r\n\n\r"), "");
  EXPECT_EQ(LastNonEmptyLine(""), "");
  EXPECT_EQ(LastNonEmptyLine(std::string_view("x\r\n\0late\r\n", 10)), "x");
  EXPECT_EQ(LastNonEmptyLine(std::string_view("\0x", 2)), "");
}

TEST(UcsEcho, CuttingAtCommaAndParenthesis) {
  std::string rest = " 10.5,-3,0 (r)", head;
  CutAtComma(rest, head);
  EXPECT_EQ(head, "10.5");
  EXPECT_EQ(rest, "-3,0 (r)");
  rest = "\t\x01 1 ,2\r\n";
  CutAtComma(rest, head);
  EXPECT_EQ(head, "1 ");  // the blank before the comma stays
  EXPECT_EQ(rest, "2");
  rest = "  abc  ";
  CutAtComma(rest, head);
  EXPECT_EQ(head, "abc");
  EXPECT_EQ(rest, "");
  rest = "0 (x(y)";
  CutAtParen(rest, head);
  EXPECT_EQ(head, "0 ");
  EXPECT_EQ(rest, "x(y)");
  rest = "";
  CutAtParen(rest, head);
  EXPECT_EQ(head, "");
}

// The remark (読み込み専用) in Shift-JIS: its bytes never hold '(' or ',' as a trail byte.
const std::string kRemark = "(\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x90\xEA\x97\x70)";

TEST(UcsEcho, NumbersWithAndWithoutRemark) {
  TPoint3D p;
  ReadUcsEcho("UCSORG = 10.5,-3,0 " + kRemark, p);
  EXPECT_EQ(p.x, 10.5);
  EXPECT_EQ(p.y, -3.0);
  EXPECT_EQ(p.z, 0.0);
  ReadUcsEcho("UCSXDIR = 0.7071,0.7071,0.0000", p);
  EXPECT_EQ(p.x, 0.7071);
  EXPECT_EQ(p.z, 0.0);
  ReadUcsEcho("UCSYDIR = 1.5E+02,-2.5e-1,3e0" + kRemark, p);
  EXPECT_EQ(p.x, 150.0);
  EXPECT_EQ(p.y, -0.25);
  EXPECT_EQ(p.z, 3.0);
  ReadUcsEcho("1,2,3", p);  // no "=": cut from the start
  EXPECT_EQ(p.y, 2.0);
  ReadUcsEcho("X = +1 , 2 ,3 " + kRemark, p);  // blanks around the numbers are allowed
  EXPECT_EQ(p.x, 1.0);
  EXPECT_EQ(p.y, 2.0);
}

TEST(UcsEcho, RoundingIsHalfTheLastShownDecimal) {
  EXPECT_DOUBLE_EQ(HalfLastDecimal("0.8660"), 0.00005);
  EXPECT_DOUBLE_EQ(HalfLastDecimal("-3"), 0.5);
  EXPECT_DOUBLE_EQ(HalfLastDecimal("8.660E-01"), 0.00005);
  EXPECT_DOUBLE_EQ(HalfLastDecimal("+2e3"), 500.0);
  EXPECT_DOUBLE_EQ(HalfLastDecimal(" 1.50 "), 0.005);  // blanks around the number do not count
  TPoint3D p, rounding;
  ReadUcsEcho("UCSXDIR = 0.86603,5.0E-01,0 " + kRemark, p, rounding);
  EXPECT_EQ(p.x, 0.86603);
  EXPECT_DOUBLE_EQ(rounding.x, 0.000005);
  EXPECT_DOUBLE_EQ(rounding.y, 0.005);
  EXPECT_DOUBLE_EQ(rounding.z, 0.5);
}

// Expects the conversion error for `line`, quoting `piece`, and the point as given.
void ExpectEchoError(const std::string& line, const std::string& piece, TPoint3D expected) {
  TPoint3D p{-7, -8, -9};
  try {
    ReadUcsEcho(line, p);
    ADD_FAILURE() << "no error for " << line;
  } catch (const TConvertError& e) {
    EXPECT_EQ(e.Kind(), TNumberKind::Real);
    EXPECT_EQ(e.Text(), piece) << line;
    EXPECT_EQ(std::string(e.what()), "'" + piece + "' は浮動小数点数ではありません");
  }
  EXPECT_EQ(p.x, expected.x) << line;
  EXPECT_EQ(p.y, expected.y) << line;
  EXPECT_EQ(p.z, expected.z) << line;
}

TEST(UcsEcho, ConversionErrorsQuoteThePieceAndKeepWhatConverted) {
  const std::string cancelled(Sjis(u8"コマンド: *キャンセル*").View());
  ExpectEchoError("", "", {-7, -8, -9});                                     // empty history
  ExpectEchoError(cancelled, cancelled, {-7, -8, -9});                     // no comma: the whole line
  ExpectEchoError("abc, 1, 2", "abc", {-7, -8, -9});                         // up to the first comma
  ExpectEchoError("UCSORG = 1,2", "", {1, 2, -9});                          // two numbers: the third piece is empty
  ExpectEchoError("UCSORG = 1,2 " + kRemark, "2 " + kRemark, {1, -8, -9});   // with a remark the second piece holds it
  ExpectEchoError("UCSORG = 1,2,3,4 " + kRemark, "3,4 ", {1, 2, -9});        // four: the third holds a comma
  ExpectEchoError("UCSORG = 1\t,2,3", "1\t", {-7, -8, -9});                  // a tab before the comma
  ExpectEchoError("UCSORG = 5,x,7", "x", {5, -8, -9});                       // stored as soon as converted
  ExpectEchoError("UCSORG = 1,2,3e", "3e", {1, 2, -9});
  ExpectEchoError("UCSORG = 1,2,1.2.3", "1.2.3", {1, 2, -9});
  ExpectEchoError("A = 1 = 2,3,4", "1 = 2", {-7, -8, -9});
}

}  // namespace
}  // namespace swivex
