// The CAD host link's tests on window titles and class names, as byte strings in the ANSI code page
// (Shift-JIS on the target). Portable: the locale comparison and the lead-byte test are passed in, so the Win32
// side uses CompareStringA and IsDBCSLeadByte while the native tests use the Shift-JIS rules below.
#pragma once

#include <string_view>

#include "text/Sjis.h"

namespace swivex {

inline constexpr std::string_view kPromptLineTitle = "Headlands";
inline constexpr std::string_view kCommandLineTitle = "MountTam";
inline constexpr auto kTextWindowWords = Sjis(u8"テキスト ウィンドウ");
inline constexpr auto kFloatingCommandLineWords = Sjis(u8"コマンド ライン");

using TLeadByteTest = bool (*)(unsigned char);
using TTextEqual = bool (*)(std::string_view, std::string_view);

// Shift-JIS lead bytes: 0x81-0x9F and 0xE0-0xFC.
bool IsSjisLeadByte(unsigned char b);
bool BytesEqual(std::string_view a, std::string_view b);

// "begins with": the first bytes equal the literal, case-sensitive.
bool BeginsWith(std::string_view text, std::string_view literal);
// "contains": byte substring search.
bool Contains(std::string_view text, std::string_view part);
// "begins with, by locale": the first literal.size() bytes (fewer when the text is shorter) compared by `equal`.
bool BeginsWithByLocale(std::string_view text, std::string_view literal, TTextEqual equal = BytesEqual);
// "contains, as text": a match that starts on a character boundary (never on the trail byte of a double-byte
// character), compared by `equal`.
bool ContainsAsText(std::string_view text, std::string_view part, TLeadByteTest isLead = IsSjisLeadByte,
                    TTextEqual equal = BytesEqual);

// The window tests.
bool IsMainFrameTitle(std::string_view title);  // "AutoCAD ", "Autodesk " or "ACAD" first
// The main frame's class: "Afx:" first with ":8:" inside, or "AfxMDIFrame" followed by the version digits of the
// MFC AutoCAD was built with anywhere in it (80u, 90u, 100u, 110u, 140u up to today's releases, and later ones;
// what follows the digits is not looked at). The floating command line's class is tested the same way.
bool IsMainFrameClass(std::string_view className);
bool IsMfcMdiFrameClass(std::string_view className);  // the "AfxMDIFrame" + digits form alone
// Why a top-level window is not taken as the main frame, as UTF-8 for the connection report; empty when it is.
std::string_view WhyNotMainFrame(std::string_view title, std::string_view className);
// AutoCAD's and AutoCAD LT's process image: "acad.exe" or "acadlt.exe", in any case (other Autodesk programs,
// Inventor, DWG TrueView or EPLAN, share the title and the MFC frame class).
bool IsAcadImageName(std::string_view imageFileName);
// Why a process is not AutoCAD's, as UTF-8 for the connection report; empty when it is.
std::string_view WhyNotAcadProcess(std::string_view imageFileName);
bool IsAfxClassWith(std::string_view className, std::string_view mark);  // "Afx:" first and `mark` inside
bool IsTextWindow(std::string_view title, std::string_view className, TLeadByteTest isLead = IsSjisLeadByte,
                  TTextEqual equal = BytesEqual);
bool IsFloatingCommandLine(std::string_view title, std::string_view className, TLeadByteTest isLead = IsSjisLeadByte,
                           TTextEqual equal = BytesEqual);

}  // namespace swivex
