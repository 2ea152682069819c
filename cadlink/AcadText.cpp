#include "cadlink/AcadText.h"

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

bool IsMainFrameClass(std::string_view className) {
  return IsAfxClassWith(className, ":8:") || Contains(className, "AfxMDIFrame90u") ||
         Contains(className, "AfxMDIFrame100u");
}

bool IsTextWindow(std::string_view title, std::string_view className, TLeadByteTest isLead, TTextEqual equal) {
  return BeginsWithByLocale(title, "AutoCAD ", equal) && IsAfxClassWith(className, ":b:") &&
         ContainsAsText(title, kTextWindowWords.View(), isLead, equal);
}

bool IsFloatingCommandLine(std::string_view title, std::string_view className, TLeadByteTest isLead,
                           TTextEqual equal) {
  return ContainsAsText(title, kFloatingCommandLineWords.View(), isLead, equal) && IsAfxClassWith(className, ":8:");
}

}  // namespace swivex
