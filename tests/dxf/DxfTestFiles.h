// Builds DXF bytes for the reader tests, so they need no files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace swivex::test {

// Fields split at '|': code, value, code, value... Codes are written right-aligned in three columns as AutoCAD
// writes them ("  0", " 10", "100"). Every line ends with eol.
inline std::string Dxf(std::string_view fields, std::string_view eol = "\r\n") {
  std::string out;
  std::size_t start = 0;
  bool isCode = true;
  while (start <= fields.size()) {
    std::size_t bar = fields.find('|', start);
    if (bar == std::string_view::npos) bar = fields.size();
    std::string_view field = fields.substr(start, bar - start);
    if (isCode && field.size() < 3) out.append(3 - field.size(), ' ');
    out.append(field);
    out.append(eol);
    isCode = !isCode;
    start = bar + 1;
  }
  return out;
}

// An ENTITIES section around the given pairs, with an EOF after it.
inline std::string InEntities(std::string_view fields) {
  return Dxf("0|SECTION|2|ENTITIES|" + std::string(fields) + "|0|ENDSEC|0|EOF");
}

// A STYLE table holding the given style pairs, then an ENTITIES section with the given pairs.
inline std::string WithStyles(std::string_view stylePairs, std::string_view entityPairs) {
  const std::string entities = entityPairs.empty() ? "" : std::string(entityPairs) + "|";
  return Dxf("0|SECTION|2|TABLES|0|TABLE|2|STYLE|70|2|" + std::string(stylePairs) +
             "|0|ENDTAB|0|ENDSEC|0|SECTION|2|ENTITIES|" + entities + "0|ENDSEC|0|EOF");
}

// Lines as they are, each followed by eol.
inline std::string RawLines(const std::vector<std::string>& lines, std::string_view eol = "\n") {
  std::string out;
  for (const auto& line : lines) out += line + std::string(eol);
  return out;
}

}  // namespace swivex::test
