// Builds DXF bytes for the reader tests, so they need no files, and the fixture and helpers they share.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "text/NumText.h"

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

// The pairs written times times, joined by '|'.
inline std::string Repeat(std::string_view pairs, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += (i ? "|" : "") + std::string(pairs);
  return out;
}

// Every test starts and ends with a store that has no slots, as at program start.
class FreshStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ReleaseEntityStore(); }
  void TearDown() override { ReleaseEntityStore(); }
};

// The conversion error a read raises, or a failure when there is none.
inline TConvertError ConvertErrorOf(const std::string& bytes) {
  try {
    ReadDxfBytes(bytes);
  } catch (const TConvertError& error) {
    return error;
  }
  ADD_FAILURE() << "no conversion error";
  return TConvertError(TNumberKind::Integer, "", -1);
}

}  // namespace swivex::test
