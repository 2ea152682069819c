// Conversion errors with their line, what the store holds after them, and the file cases: no file, a file that
// cannot be read, a file read from disk.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "tests/dxf/DxfTestFiles.h"
#include "text/NumText.h"

namespace swivex {
namespace {

using test::InEntities;
using test::RawLines;

class ReadErrorTest : public ::testing::Test {
 protected:
  void SetUp() override { ReleaseEntityStore(); }
  void TearDown() override { ReleaseEntityStore(); }
};

// The conversion error a read raises, or a failure when there is none.
TConvertError ConvertErrorOf(const std::string& bytes) {
  try {
    ReadDxfBytes(bytes);
  } catch (const TConvertError& error) {
    return error;
  }
  ADD_FAILURE() << "no conversion error";
  return TConvertError(TNumberKind::Integer, "", -1);
}

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
  EXPECT_EQ(ReadDxfBytes(RawLines({"-2147483648", "x", "  2", "ENTITIES", "  0", "LINE"})), 1);
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

}  // namespace
}  // namespace swivex
