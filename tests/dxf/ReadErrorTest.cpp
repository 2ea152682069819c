// Conversion errors with their line, what the store holds after them, and the file cases: no file, a file that
// cannot be read, a file read from disk, and a file read in pieces (the same store as all its bytes at once,
// whatever falls on a piece's edge; a file that fails on the way).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "dxf/DxfFile.h"
#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "tests/dxf/DxfTestFiles.h"
#include "text/NumText.h"

namespace swivex {
namespace {

using test::InEntities;
using test::RawLines;

class ReadErrorTest : public test::FreshStoreTest {};

using test::ConvertErrorOf;

TEST_F(ReadErrorTest, CodeLinesMustBeWholeIntegers) {
  struct {
    const char* CodeLine;
    int Line;
  } const cases[] = {{"0 ", 3}, {"\t0", 3}, {"", 3}, {"x", 3}, {"2147483648", 3}, {"1.0", 3}};
  for (const auto& c : cases) {
    const TConvertError error = ConvertErrorOf(RawLines({"  0", "SECTION", c.CodeLine, "LINE"}));
    EXPECT_EQ(error.Kind(), TNumberKind::Integer) << c.CodeLine;
    EXPECT_EQ(error.Text(), c.CodeLine);
    EXPECT_EQ(error.Line(), c.Line);
  }
  // The lowest int32 is a code line like any other (an unknown code, skipped).
  EXPECT_EQ(ReadDxfBytes(RawLines({"-2147483648", "x", "  0", "SECTION", "  2", "ENTITIES", "  0", "LINE"})), 1);
}

TEST_F(ReadErrorTest, ValueErrorsNameTheValueLineAndKeepWhatWasRead) {
  // Lines: 1-4 section, 5-6 LINE, 7-8 group 10, 9-10 LINE, 11-12 bad group 20.
  const TConvertError error = ConvertErrorOf(InEntities("0|LINE|10|1|0|LINE|20|1,5|11|3"));
  EXPECT_EQ(error.Kind(), TNumberKind::Real);
  EXPECT_EQ(error.Text(), "1,5");
  EXPECT_EQ(error.Line(), 12);
  EXPECT_STREQ(error.what(), "'1,5' は浮動小数点数ではありません");
  EXPECT_EQ(LineCount, 2);
  EXPECT_DOUBLE_EQ(Lines[0].StartPt.x, 1.0);
  EXPECT_EQ(Lines.size(), 100u);  // not cut
}

TEST_F(ReadErrorTest, IntegerGroupsOfPolylinesAndTexts) {
  EXPECT_EQ(ConvertErrorOf(InEntities("0|POLYLINE|70|1 ")).Kind(), TNumberKind::Integer);
  EXPECT_EQ(ConvertErrorOf(InEntities("0|POLYLINE|0|VERTEX|10|1|70|a")).Line(), 12);
  EXPECT_EQ(ConvertErrorOf(InEntities("0|TEXT|72|1.0")).Text(), "1.0");
  EXPECT_EQ(ConvertErrorOf(InEntities("0|MTEXT|73|")).Line(), 8);
  EXPECT_EQ(TextCount, 1);
  EXPECT_EQ(ConvertErrorOf(InEntities("0|LINE|62|BYLAYER")).Kind(), TNumberKind::Integer);
  EXPECT_EQ(ConvertErrorOf(InEntities("0|LWPOLYLINE|70|closed")).Kind(), TNumberKind::Integer);
}

TEST_F(ReadErrorTest, VertexCountIsUpWhenItsXFails) {
  ConvertErrorOf(InEntities("0|LWPOLYLINE|10|1|20|2|10|?"));
  EXPECT_EQ(Polylines[0].VertexCount, 2);
  ConvertErrorOf(InEntities("0|POLYLINE|0|VERTEX|10|-"));
  EXPECT_EQ(Polylines[0].VertexCount, 1);
}

TEST_F(ReadErrorTest, ErrorsOfTheOtherRecords) {
  EXPECT_EQ(ConvertErrorOf(InEntities("0|ARC|50|90°")).Kind(), TNumberKind::Real);
  EXPECT_EQ(ConvertErrorOf(InEntities("0|CIRCLE|40|r")).Line(), 8);
  EXPECT_EQ(ConvertErrorOf(InEntities("0|LWPOLYLINE|10|1|20|2|42|1/2")).Line(), 12);
  EXPECT_EQ(ConvertErrorOf(InEntities("0|POLYLINE|40|w")).Kind(), TNumberKind::Real);
  EXPECT_EQ(ConvertErrorOf(test::WithStyles("0|STYLE|2|S|40|h", "")).Line(), 16);
}

std::filesystem::path TempFolder() {
  auto folder = std::filesystem::temp_directory_path() / "swivex-dxf-tests";
  std::filesystem::create_directories(folder);
  return folder;
}

TEST_F(ReadErrorTest, FileThatDoesNotExist) {
  ReadDxfBytes(InEntities("0|LINE|0|ARC|8|A|0|LWPOLYLINE|10|1|20|1"));
  const std::string missing = (TempFolder() / "missing.dxf").string();
  std::remove(missing.c_str());
  EXPECT_EQ(ReadDxfEntities(missing), 0);
  EXPECT_EQ(LineCount + ArcCount + PolylineCount, 0);
  EXPECT_TRUE(Lines.empty());
  // The other arrays keep what the previous read left.
  EXPECT_EQ(Arcs[0].Layer.View(), "A");
  EXPECT_EQ(Polylines[0].VertexCount, 1);
  EXPECT_EQ(ReadDxfEntities(""), 0);
}

TEST_F(ReadErrorTest, FileThatCannotBeRead) {
  ReadDxfBytes(InEntities("0|LINE|0|LINE"));
  Texts.resize(300);
  const std::string folder = TempFolder().string();  // exists, but is no file to read
  try {
    ReadDxfEntities(folder);
    FAIL() << "no error";
  } catch (const TDxfReadError& error) {
    EXPECT_EQ(error.FileName(), folder);
    EXPECT_EQ(error.Line(), 0);
    EXPECT_EQ(std::string(error.what()), FileReadErrorMessageUtf8(folder));
    EXPECT_NE(std::string(error.what()).find(folder), std::string::npos);
  }
  EXPECT_EQ(LineCount, 0);
  EXPECT_EQ(Lines.size(), 100u);
  EXPECT_EQ(Texts.size(), 100u);
}

TEST_F(ReadErrorTest, FileOnDisk) {
  const std::string name = (TempFolder() / "one-line.dxf").string();
  {
    std::ofstream out(name, std::ios::binary);
    out << InEntities("0|LINE|8|0|10|1|20|2|11|3|21|4");
  }
  std::int32_t styleCount = -1;
  EXPECT_EQ(ReadDxfEntities(name, styleCount), 1);
  EXPECT_EQ(styleCount, 0);
  ASSERT_EQ(Lines.size(), 1u);
  EXPECT_DOUBLE_EQ(Lines[0].EndPt.y, 4.0);
  // A conversion error from a file carries the file line as well.
  {
    std::ofstream out(name, std::ios::binary);
    out << InEntities("0|LINE|21|x");
  }
  try {
    ReadDxfEntities(name);
    FAIL() << "no error";
  } catch (const TConvertError& error) {
    EXPECT_EQ(error.Line(), 8);
  }
  std::remove(name.c_str());
}

// Bytes in memory given a few at a time; the second pass fails after failAt bytes when failAt is set.
class TPieceSource : public TDxfByteSource {
 public:
  TPieceSource(std::string bytes, std::size_t step, std::size_t failAt = 0)
      : Bytes_(std::move(bytes)), Step_(step), FailAt_(failAt) {}
  std::size_t Read(char* into, std::size_t room) override {
    if (FailAt_ > 0 && Pass_ == 2 && At_ >= FailAt_) throw TDxfReadError("failed", "piece.dxf", 0);
    const std::size_t n = std::min({room, Step_, Bytes_.size() - At_});
    std::memcpy(into, Bytes_.data() + At_, n);
    At_ += n;
    return n;
  }
  void Rewind() override {
    At_ = 0;
    ++Pass_;
  }

 private:
  std::string Bytes_;
  std::size_t Step_, FailAt_, At_ = 0;
  int Pass_ = 1;
};

std::string Props(const TEntityProps& p) {
  std::ostringstream out;
  out.precision(17);
  out << " " << p.Color << " " << p.Linetype.View() << " " << p.Lineweight << " " << p.LinetypeScale << " "
      << p.Thickness;
  return out.str();
}

// The outcome of a read and the valid records it left, as text to compare.
std::string ReadOutcome(const std::function<std::int32_t(std::int32_t&)>& read) {
  std::ostringstream out;
  std::int32_t styles = 0;
  try {
    out << "result " << read(styles);
  } catch (const TConvertError& error) {
    out << "conversion error at " << error.Line() << " '" << error.Text() << "'";
  } catch (const TDxfReadError& error) {
    out << "read error at " << error.Line() << " " << error.what();
  }
  out.precision(17);
  out << " styles " << styles << " slots " << Lines.size() << " " << Polylines.size() << " " << Texts.size();
  for (std::int32_t i = 0; i < LineCount; ++i) {
    const TLineRec& r = Lines[static_cast<std::size_t>(i)];
    out << "\nL " << r.StartPt.x << " " << r.StartPt.y << " " << r.StartPt.z << " " << r.EndPt.x << " "
        << r.EndPt.y << " " << r.EndPt.z << " " << r.Layer.View() << Props(r.Props);
  }
  for (std::int32_t i = 0; i < PolylineCount; ++i) {
    const TPolylineRec& r = Polylines[static_cast<std::size_t>(i)];
    out << "\nP " << r.Flags << " " << r.Layer.View() << " " << r.ConstantWidth << " " << r.Elevation
        << Props(r.Props);
    for (std::int32_t k = 0; k < r.VertexCount; ++k)
      out << " " << r.Vertices[k].x << "," << r.Vertices[k].y << "," << r.VertexFlags[k] << "," << r.Bulges[k]
          << "," << r.StartWidths[k] << "," << r.EndWidths[k];
  }
  for (std::int32_t i = 0; i < TextCount; ++i) {
    const TTextRec& r = Texts[static_cast<std::size_t>(i)];
    out << "\nT " << r.Text.View() << " " << r.Height << " " << r.HJust << " " << r.InsertPt.x;
  }
  const TDxfHeader& h = DxfHeader;
  out << "\nH " << h.CLayer.View() << " " << h.CeColor << " " << h.CeLtype.View() << " " << h.CeLweight << " "
      << h.CeLtScale << " " << h.Thickness << " " << h.HasUcsOrg << h.UcsOrg.x << "," << h.UcsOrg.y << ","
      << h.UcsOrg.z;
  return out.str();
}

TEST_F(ReadErrorTest, PiecesGiveWhatTheWholeBytesGive) {
  const std::string longLayer(150, 'L');
  const std::vector<std::string> files = {
      InEntities("0|LINE|8|" + longLayer + "|10|-12345.1234567890123456|20|0.0000000000000000|30|1e5|11|.5|21|+2|"
                 "31|-0|62|1|6|DASHED|370|50|48|.25|39|2|0|LWPOLYLINE|8|P|90|2|70|1|38|1.5|43|0.5|10|1.25|20|2.5|"
                 "42|-0.4142135623730951|10|0.|20|-7|40|1|41|2|0|TEXT|1|a\\U+03C6b|3|" +
                 std::string(300, 't') + "|40|2.5|72|1|0|POLYLINE|70|1|40|3|0|VERTEX|10|3|20|4|70|16|42|1|0|SEQEND"),
      test::Dxf("0|SECTION|2|HEADER|9|$CLAYER|8|" + longLayer + longLayer + "|9|$CECOLOR|62|5|9|$CELTYPE|6|ByBlock|"
          "9|$CELWEIGHT|370|-2|9|$CELTSCALE|40|0.25|9|$THICKNESS|40|1e-3|9|$UCSORG|10|1|20|-2|30|0.5|0|ENDSEC|"
          "0|SECTION|2|ENTITIES|0|LINE|0|ENDSEC|0|EOF"),
      test::RawLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", " 10", "1.5", "0000000010", "2.5", " 20"}, "\r"),
      "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE\r\n 10\r\n7\r999\r\r\n 20\n8\n\r\n 11\r\n9",
      InEntities("0|LINE|10|1|0|LINE|20|1,5"),
      InEntities("0|LINE|1234567890|x|99999999999|y"),
      InEntities("0|LWPOLYLINE|" + [] {
        std::string v;
        for (int i = 0; i < 1001; ++i) v += "10|" + std::to_string(i) + ".5|20|1|";
        return v;
      }() + "0|LINE") + test::Dxf("0|LINE|10|after"),
  };
  for (const std::string& bytes : files) {
    ReleaseEntityStore();
    const std::string whole = ReadOutcome([&](std::int32_t& styles) { return ReadDxfBytes(bytes, styles); });
    for (const std::size_t piece : {65u, 66u, 67u, 71u, 97u, 128u}) {
      for (const std::size_t step : {1u, 2u, 3u, 1000u}) {
        ReleaseEntityStore();
        TPieceSource source(bytes, step);
        const std::string pieces =
            ReadOutcome([&](std::int32_t& styles) { return ReadDxfSource(source, {}, piece, styles); });
        ASSERT_EQ(pieces, whole) << "piece " << piece << " step " << step << "\n" << bytes;
      }
    }
  }
}

TEST_F(ReadErrorTest, LargeFileReadsInPieces) {
  std::string pairs;
  for (int i = 0; i < 6000; ++i)
    pairs += "0|LINE|8|L" + std::to_string(i % 7) + "|10|" + std::to_string(i) + ".0000000000000001|20|-" +
             std::to_string(i) + ".5|30|0.0000000000000000|11|1|21|2|31|0.0000000000000000|";
  for (int i = 0; i < 150; ++i) pairs += "0|LWPOLYLINE|90|2|10|" + std::to_string(i) + "|20|1|10|2|20|3|";
  const std::string bytes = InEntities(pairs + "0|TEXT|1|end");
  ASSERT_GT(bytes.size(), 2 * kDxfPieceBytes);
  const std::string name = (TempFolder() / "large.dxf").string();
  {
    std::ofstream out(name, std::ios::binary);
    out << bytes;
  }
  const std::string whole = ReadOutcome([&](std::int32_t& styles) { return ReadDxfBytes(bytes, styles); });
  ReleaseEntityStore();
  EXPECT_EQ(ReadOutcome([&](std::int32_t& styles) { return ReadDxfEntities(name, styles); }), whole);
  EXPECT_EQ(LineCount, 6000);
  EXPECT_EQ(Lines.size(), 6000u);
  EXPECT_EQ(Polylines.size(), 200u);
  std::remove(name.c_str());
}

TEST_F(ReadErrorTest, SourceThatFailsOnTheWay) {
  const std::string bytes = InEntities("0|LINE|8|NEW|10|1|0|LINE|0|LINE|0|ARC|8|NEW");
  // First pass: nothing is touched; the second: what it touched stays, the counters and slots as for a file that
  // cannot be read.
  for (const std::size_t failAt : {std::size_t{0}, std::size_t{100}}) {
    ReadDxfBytes(InEntities("0|LINE|8|OLD|0|ARC|8|OLD"));
    Lines.resize(250);
    struct TFailingFirst : TPieceSource {
      using TPieceSource::TPieceSource;
      std::size_t Read(char* into, std::size_t room) override {
        if (Taken_ > 80) throw TDxfReadError("failed", "piece.dxf", 0);
        const std::size_t n = TPieceSource::Read(into, room);
        Taken_ += n;
        return n;
      }
      std::size_t Taken_ = 0;
    };
    TFailingFirst failsFirst(bytes, 7);
    TPieceSource failsSecond(bytes, 7, failAt);
    TDxfByteSource& source = failAt == 0 ? static_cast<TDxfByteSource&>(failsFirst) : failsSecond;
    std::int32_t styles = -1;
    EXPECT_THROW(ReadDxfSource(source, "piece.dxf", 65, styles), TDxfReadError) << failAt;
    EXPECT_EQ(LineCount + ArcCount + TextCount + CircleCount + PolylineCount, 0);
    EXPECT_EQ(Lines.size(), 100u);
    EXPECT_EQ(Arcs.size(), 100u);
    if (failAt == 0) {
      EXPECT_EQ(Lines[0].Layer.View(), "OLD");
      EXPECT_EQ(Arcs[0].Layer.View(), "OLD");
    }
  }
}

}  // namespace
}  // namespace swivex
