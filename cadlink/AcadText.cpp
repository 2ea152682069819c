#include "cadlink/AcadText.h"

#include <string>

namespace swivex {

bool IsSjisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool BytesEqual(std::string_view a, std::string_view b) { return a == b; }

bool BeginsWith(std::string_view text, std::string_view literal) { return text.substr(0, literal.size()) == literal; }

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool BeginsWithByLocale(std::string_view text, std::string_view literal, TTextEqual equal) {
  return equal(text.substr(0, literal.size()), literal);
}

bool ContainsAsText(std::string_view text, std::string_view part, TLeadByteTest isLead, TTextEqual equal) {
  if (part.empty()) return true;
  for (std::size_t i = 0; i + part.size() <= text.size();) {
    if (equal(text.substr(i, part.size()), part)) return true;
    // Step over a whole character: a lead byte takes its trail byte with it.
    i += isLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  }
  return false;
}

bool IsMainFrameTitle(std::string_view title) {
  return BeginsWith(title, "AutoCAD ") || BeginsWith(title, "Autodesk ") || BeginsWith(title, "ACAD");
}

bool IsAfxClassWith(std::string_view className, std::string_view mark) {
  return BeginsWith(className, "Afx:") && Contains(className, mark);
}

bool IsMfcMdiFrameClass(std::string_view className) {
  constexpr std::string_view kMdiFrame = "AfxMDIFrame";
  for (auto at = className.find(kMdiFrame); at != std::string_view::npos; at = className.find(kMdiFrame, at + 1)) {
    // MFC names the class "AfxMDIFrame" + its version (80, 90, 100, 110, 140) + "u" in a Unicode build.
    const std::size_t digits = at + kMdiFrame.size();
    if (digits < className.size() && className[digits] >= '0' && className[digits] <= '9') return true;
  }
  return false;
}

bool IsMainFrameClass(std::string_view className) {
  return IsAfxClassWith(className, ":8:") || IsMfcMdiFrameClass(className);
}

std::string_view WhyNotMainFrame(std::string_view title, std::string_view className) {
  if (title.empty()) return "タイトルがない";
  if (!IsMainFrameTitle(title)) return "タイトルが \"AutoCAD \"、\"Autodesk \"、\"ACAD\" のどれでも始まらない";
  if (!IsMainFrameClass(className))
    return "クラス名が \"Afx:\" で始まり \":8:\" を含むものでも、\"AfxMDIFrame\" と版の数字を含むものでもない";
  return {};
}

bool IsAcadImageName(std::string_view imageFileName) {
  std::string lower(imageFileName);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower == "acad.exe" || lower == "acadlt.exe";
}

std::string_view WhyNotAcadProcess(std::string_view imageFileName) {
  if (imageFileName.empty()) return "プロセスのイメージ名が読めない";
  if (!IsAcadImageName(imageFileName)) return "プロセスが acad.exe でも acadlt.exe でもない (AutoCAD ではない Autodesk のプログラム)";
  return {};
}

bool IsTextWindow(std::string_view title, std::string_view className, TLeadByteTest isLead, TTextEqual equal) {
  return BeginsWithByLocale(title, "AutoCAD ", equal) && IsAfxClassWith(className, ":b:") &&
         ContainsAsText(title, kTextWindowWords.View(), isLead, equal);
}

bool IsFloatingCommandLine(std::string_view title, std::string_view className, TLeadByteTest isLead,
                           TTextEqual equal) {
  return ContainsAsText(title, kFloatingCommandLineWords.View(), isLead, equal) && IsMainFrameClass(className);
}

}  // namespace swivex
