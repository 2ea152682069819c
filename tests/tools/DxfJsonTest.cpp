// dxfdump's JSON pieces: Shift-JIS decoding with U+FFFD, string escapes, round-tripping numbers, the store as
// JSON with exactly the documented keys (the header's absent values as null), and the error reports.
#include <gtest/gtest.h>

#include <sstream>

#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "text/NumText.h"
#include "tools/DxfJson.h"

namespace swivex {
namespace {

TEST(DxfJsonTest, DecodesShiftJisAndMarksBadBytes) {
  EXPECT_EQ(SjisToUtf8("\x95\xC7 A"), "壁 A");
  EXPECT_EQ(SjisToUtf8("\x83\xD3"), "φ");
  EXPECT_EQ(SjisToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(SjisToUtf8("a\x83"), "a\xEF\xBF\xBD");  // lead byte cut off at the end
  EXPECT_EQ(JsonString("q\"\\\n\x01"), "\"q\\\"\\\\\\u000a\\u0001\"");
}

TEST(DxfJsonTest, NumbersRoundTrip) {
  for (double v : {0.1, -1.0 / 3.0, 1e-300, 123456789.12345678, 0.0, -0.0, 8.796097212416e12}) {
    const std::string text = JsonNumber(v, 17);
    EXPECT_EQ(std::stod(text), v) << text;
  }
  EXPECT_EQ(JsonNumber(1.5, 17), "1.5");
  EXPECT_EQ(JsonNumber(1.0 / 0.0, 17), "null");
}

TEST(DxfJsonTest, StoreAsJson) {
  const std::string file =
      "  0\nSECTION\n  2\nHEADER\n  9\n$CLAYER\n  8\n\x95\xC7\n  9\n$UCSORG\n 10\n1\n 20\n2\n 30\n0\n  0\nENDSEC\n"
      "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nSTYLE\n  0\nSTYLE\n  2\nStandard\n 40\n2.5\n  0\nENDTAB\n"
      "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n\x95\xC7\n 10\n0.1\n 11\n2\n"
      "  0\nPOLYLINE\n 70\n1\n 62\n1\n  0\nVERTEX\n 10\n1\n 20\n2\n 70\n32\n 42\n0.5\n 41\n2\n  0\nSEQEND\n"
      "  0\nTEXT\n  1\nab\\U+03C6\n  0\nARC\n 40\n1\n 50\n90\n  0\nCIRCLE\n 40\n3\n  0\nENDSEC\n";
  std::int32_t styleCount = 0;
  ReadDxfBytes(file, styleCount);
  std::ostringstream out;
  WriteStoreJson(out, styleCount);
  EXPECT_EQ(out.str(),
            "{\"lines\":[{\"start\":[0.10000000000000001,0,0],\"end\":[2,0,0],\"layer\":\"壁\","
            "\"props\":{\"color\":256,\"linetype\":\"\",\"lineweight\":-1,\"linetype_scale\":1,\"thickness\":0}}],"
            "\"polylines\":[{\"layer\":\"\",\"flags\":1,\"vertices\":[[1,2]],\"vertex_flags\":[32],"
            "\"bulges\":[0.5],\"start_widths\":[0],\"end_widths\":[2],\"constant_width\":0,\"elevation\":0,"
            "\"props\":{\"color\":1,\"linetype\":\"\",\"lineweight\":-1,\"linetype_scale\":1,\"thickness\":0}}],"
            "\"texts\":[{\"insert\":[0,0,0],\"align\":[0,0,0],\"text\":\"abφ\",\"hjust\":0,\"vjust\":0,"
            "\"height\":2.5}],"
            "\"arcs\":[{\"center\":[0,0,0],\"radius\":1,\"start_angle\":90,\"end_angle\":0,\"layer\":\"\"}],"
            "\"circles\":[{\"center\":[0,0,0],\"radius\":3,\"layer\":\"\"}],"
            "\"styles\":[{\"name\":\"Standard\",\"height\":2.5}],"
            "\"header\":{\"clayer\":\"壁\",\"cecolor\":256,\"celtype\":\"\",\"celweight\":-1,\"celtscale\":1,"
            "\"thickness\":0,\"plinewid\":0,\"elevation\":0,\"ucsorg\":[1,2,0],\"ucsxdir\":null,\"ucsydir\":null}}\n");
  ReleaseEntityStore();
}

TEST(DxfJsonTest, ErrorReports) {
  const TConvertError convert(TNumberKind::Real, "\x95\xC7", 12);
  EXPECT_EQ(ReadErrorReport(convert, "a.dxf"), "a.dxf:12: '壁' は浮動小数点数ではありません.");
  const TDxfReadError tooMany(std::string(kTooManyVerticesMessage), "a.dxf", 7);
  EXPECT_EQ(ReadErrorReport(tooMany, "a.dxf"), "a.dxf:7: ポリラインの頂点が 1000 を超えています.");
  const TDxfReadError unreadable(FileReadErrorMessageUtf8("\x95\xC7.dxf"), "\x95\xC7.dxf", 0);
  EXPECT_EQ(ReadErrorReport(unreadable, "\x95\xC7.dxf"), "壁.dxf: ファイル '壁.dxf' を読み込めません.");
  EXPECT_EQ(ReadErrorReport(std::runtime_error("x"), "a.dxf"), "");
}

}  // namespace
}  // namespace swivex
