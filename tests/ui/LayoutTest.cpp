#include "ui/Layout.h"

#include <gtest/gtest.h>

namespace {

GaugeBar BarOfWidth(std::int32_t width) {
  GaugeBar bar;
  bar.BarLeft = 10;
  bar.BarRight = 10 + width - 1;
  bar.BarWidth = width;
  return bar;
}

TEST(Layout, CentringTruncatesOddHalves) {
  EXPECT_EQ(CentredOrigin(640, 480, 389, 201), (ScreenPoint{126, 140}));
  EXPECT_EQ(CentredOrigin(640, 480, 390, 200), (ScreenPoint{125, 140}));
  // Larger than the screen: it starts off the left and top edges.
  EXPECT_EQ(CentredOrigin(640, 480, 801, 603), (ScreenPoint{-80, -61}));
}

TEST(Layout, BarGeometryFromFrameAndWindow) {
  const GaugeBar bar = GaugeBarFor({100, 200, 350, 220}, {50, 100, 450, 300}, 1, 18, 1);
  EXPECT_EQ(bar, (GaugeBar{49, 81, 295, 97, 247, 162, 81}));
}

TEST(Layout, PercentRoundsHalvesToEvenUnclamped) {
  const GaugeBar bar = BarOfWidth(301);
  EXPECT_EQ(GaugeCompute(bar, 1, 8)->Percent, 12);
  EXPECT_EQ(GaugeCompute(bar, 3, 8)->Percent, 38);
  EXPECT_EQ(GaugeCompute(bar, 2048, 5000)->Percent, 41);
  EXPECT_EQ(GaugeCompute(bar, 4096, 5000)->Percent, 82);
  EXPECT_EQ(GaugeCompute(bar, 7000, 5000)->Percent, 140);
}

TEST(Layout, FillEdgeSpansTheBarWidth) {
  const GaugeBar bar = BarOfWidth(301);
  EXPECT_EQ(GaugeCompute(bar, 1, 2)->FillEdge, bar.BarLeft + 150);  // 150.5 goes to even
  EXPECT_EQ(GaugeCompute(bar, 0, 9)->FillEdge, bar.BarLeft);
  EXPECT_EQ(GaugeCompute(bar, 9, 9)->FillEdge, bar.BarRight + 1);
  EXPECT_EQ(GaugeCompute(BarOfWidth(247), 2147483647, 2147483647)->FillEdge, 10 + 247);
  EXPECT_EQ(GaugeCompute(BarOfWidth(302), 3, 4)->FillEdge, 10 + 226);  // 226.5
}

TEST(Layout, NoReadingWithoutATotalOrAChangeAndThePercentText) {
  EXPECT_EQ(GaugeCompute(BarOfWidth(100), 5, 0), std::nullopt);
  EXPECT_EQ(GaugeCompute(BarOfWidth(100), 5, -1), std::nullopt);
  // The decode redraws only a changed percentage (41 % may be left by reassembly).
  EXPECT_EQ(GaugeChange(BarOfWidth(100), 2048, 5000, 41), std::nullopt);
  EXPECT_EQ(GaugeChange(BarOfWidth(100), 4096, 5000, 41)->Percent, 82);
  char text[16];
  EXPECT_EQ(GaugeText(7, text), 2u);
  EXPECT_STREQ(text, "7%");
  GaugeText(100, text);
  EXPECT_STREQ(text, "100%");
}

}  // namespace
