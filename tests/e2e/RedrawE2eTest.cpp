// The redraw ("作成") of the real swivex.exe: command bytes the stand-in received and the geometry it drew.
#include <gtest/gtest.h>

#include <cmath>

#include "E2eChecks.h"

namespace swivex::e2e {
namespace {

TEST(RedrawE2e, PolylineToZeroDegreesWithTheTypedLength) {
  TSession s(Scenario("lwpolyline 0,0 0,2 1,2"));
  s.Press(IdButton2);
  ExpectMeasurement(s, L"回転処理　多角線", L"2.000000", L"90.00000000", L"90", L"0", L"0.000000");
  SetNewAngle(s, L"0", L"0", L"0");
  std::size_t before = s.CopyData().size();
  EXPECT_TRUE(s.Press(IdButton1).empty());
  EXPECT_EQ(s.Field(IdKakudo2), L" 0.00000000");
  EXPECT_EQ(DrawingCommands(s, before),
            std::vector<std::string>{"\x03PLINE _non 0.000000,0.000000 _non 2.000000,0.000000 _non 2.000000,-1.000000 \r"});

  s.SetField(IdKyori, L"5");
  before = s.CopyData().size();
  s.Press(IdButton1);
  EXPECT_EQ(DrawingCommands(s, before),
            std::vector<std::string>{"\x03PLINE _non 0.000000,0.000000 _non 5.000000,0.000000 _non 2.000000,-1.000000 \r"});

  const auto drawn = NewObjects(s);
  ASSERT_EQ(drawn.size(), 2u);
  for (const auto& o : drawn) {
    EXPECT_EQ(o.Type, "LWPOLYLINE");
    ASSERT_EQ(o.Points.size(), 3u);
    ExpectPoint(o.Points[0], 0, 0);
    ExpectPoint(o.Points[2], 2, -1);
  }
  ExpectPoint(drawn[0].Points[1], 2, 0);
  ExpectPoint(drawn[1].Points[1], 5, 0);

  // A field that is not a number (full-width digits are, a full-width letter is not): the conversion error in a
  // box with the text as typed, nothing sent, the shown angle kept. Which field is an integer and which a real: the
  // workflow's unit cases.
  before = s.CopyData().size();
  SetNewAngle(s, L"１２ａ", L"0", L"0");
  const auto boxes = s.Press(IdButton1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, L"角度を変更する");
  EXPECT_EQ(boxes[0].Text, L"'１２ａ' は整数ではありません.");
  EXPECT_EQ(s.CopyData().size(), before);
  EXPECT_EQ(s.Field(IdKakudo2), L" 0.00000000");
}

TEST(RedrawE2e, OneLineAndTwoLinesTurnAboutTheFirstStart) {
  TSession s(Scenario("line 1,1 1,3\nline 3,1 3,3", "pick never"));
  CaptureAll(s);
  EXPECT_EQ(s.Field(IdKakudo), L"90.00000000");
  SetNewAngle(s, L"0", L"0", L"0");
  s.SetField(IdKyori, L"not read for lines");
  const std::size_t before = s.CopyData().size();
  EXPECT_TRUE(s.Press(IdButton1).empty());
  const auto entries = s.CopyData();
  // The UCS of 作成 asked first, then one UNDO group around all it sends.
  ASSERT_GT(entries.size(), before + kUcsQueries + 3);
  ExpectUnicodeBytes(entries[before], L"\x03UCSORG ");
  ExpectUnicodeBytes(entries[before + kUcsQueries], L"\x03_.UNDO _BE ");
  ExpectUnicodeBytes(entries.back(), L"\x03_.UNDO _E ");
  EXPECT_EQ(DrawingCommands(s, before), (std::vector<std::string>{"\x03LINE _non 1.000000,1.000000 _non 3.000000,1.000000 \r",
                                                                  "\x03LINE _non 1.000000,-1.000000 _non 3.000000,-1.000000 \r"}));
  const auto drawn = NewObjects(s);
  ASSERT_EQ(drawn.size(), 2u);
  ExpectPoint(drawn[0].Points[0], 1, 1);
  ExpectPoint(drawn[0].Points[1], 3, 1);
  ExpectPoint(drawn[1].Points[0], 1, -1);
  ExpectPoint(drawn[1].Points[1], 3, -1);
}

TEST(RedrawE2e, ThirtyVertexPolylineTurnsWhole) {
  std::string scenario = "lwpolyline";
  std::vector<std::pair<double, double>> v;
  for (int i = 0; i < 30; ++i) {
    v.emplace_back(100 + 3.5 * i, 50 + 2.0 * (i % 3) + 0.25 * i);
    scenario += " " + std::to_string(v.back().first) + "," + std::to_string(v.back().second);
  }
  TSession s(Scenario(scenario));
  s.Press(IdButton2);
  SetNewAngle(s, L"120", L"30", L"0");
  const std::size_t before = s.CopyData().size();
  s.Press(IdButton1);
  const auto commands = DrawingCommands(s, before);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_GT(commands[0].size(), 255u);
  EXPECT_EQ(std::count(commands[0].begin(), commands[0].end(), ' '), 61);  // after PLINE, each _non and point
  const auto drawn = NewObjects(s);
  ASSERT_EQ(drawn.size(), 1u);
  ASSERT_EQ(drawn[0].Points.size(), 30u);
  // The far end turned about the first vertex (the turning itself: the faithful-copy oracle).
  const double tau = 120.5 * std::acos(-1.0) / 180 - std::atan2(v[1].second - v[0].second, v[1].first - v[0].first);
  const double dx = v[29].first - v[0].first, dy = v[29].second - v[0].second;
  ExpectPoint(drawn[0].Points[29], v[0].first + dx * std::cos(tau) - dy * std::sin(tau),
              v[0].second + dx * std::sin(tau) + dy * std::cos(tau), 2e-6);
}

TEST(RedrawE2e, NegativeDirectionsRoundTripToTheSameObject) {
  {
    TSession s(Scenario("line 0,0 3,-4"));
    s.Press(IdButton2);
    EXPECT_EQ(s.Field(IdKakudo), L"-53.13010235");
    EXPECT_EQ(s.Field(IdDo2), L"-53");
    EXPECT_EQ(s.Field(IdFun2), L"7");
    EXPECT_EQ(s.Field(IdByo2), L"48.368475");
    s.Press(IdButton1);
    EXPECT_EQ(s.Field(IdKakudo2), L"-53.13010235");
    const auto drawn = NewObjects(s);
    ASSERT_EQ(drawn.size(), 1u);
    ExpectPoint(drawn[0].Points[0], 0, 0);
    ExpectPoint(drawn[0].Points[1], 3, -4);
  }
  {
    TSession s(Scenario("lwpolyline 0,0 120,-1 130,5"));
    s.Press(IdButton2);
    EXPECT_EQ(s.Field(IdDo), L"0");
    EXPECT_EQ(s.Field(IdFun2), L"-28");
    s.Press(IdButton1);
    const auto drawn = NewObjects(s);
    ASSERT_EQ(drawn.size(), 1u);
    ASSERT_EQ(drawn[0].Points.size(), 3u);
    ExpectPoint(drawn[0].Points[1], 120, -1);
    ExpectPoint(drawn[0].Points[2], 130, 5);
  }
}

}  // namespace
}  // namespace swivex::e2e
