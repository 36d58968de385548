#include "ui/GaugeRules.h"

#include <gtest/gtest.h>

namespace {

GaugeBar BarOfWidth(std::int32_t width) {
  GaugeBar bar;
  bar.BarLeft = 10;
  bar.BarRight = 10 + width - 1;
  bar.BarWidth = width;
  return bar;
}

TEST(GaugeRules, BarGeometryFromFrameAndWindow) {
  const GaugeBar bar = GaugeBarFor({100, 200, 350, 220}, {50, 100, 450, 300}, 1, 18, 1);
  EXPECT_EQ(bar, (GaugeBar{49, 81, 295, 97, 247, 162, 81}));
}

TEST(GaugeRules, PercentRoundsHalvesToEven) {
  const GaugeBar bar = BarOfWidth(301);
  EXPECT_EQ(GaugeCompute(bar, 1, 8)->Percent, 12);
  EXPECT_EQ(GaugeCompute(bar, 3, 8)->Percent, 38);
  EXPECT_EQ(GaugeCompute(bar, 2048, 5000)->Percent, 41);
  EXPECT_EQ(GaugeCompute(bar, 4096, 5000)->Percent, 82);
  EXPECT_EQ(GaugeCompute(bar, 0, 5000)->Percent, 0);
  EXPECT_EQ(GaugeCompute(bar, 5000, 5000)->Percent, 100);
  EXPECT_EQ(GaugeCompute(bar, 7000, 5000)->Percent, 140);  // not clamped
}

TEST(GaugeRules, FillEdgeSpansTheBarWidth) {
  const GaugeBar bar = BarOfWidth(301);
  EXPECT_EQ(GaugeCompute(bar, 1, 2)->FillEdge, bar.BarLeft + 150);  // 150.5 goes to even
  EXPECT_EQ(GaugeCompute(bar, 0, 9)->FillEdge, bar.BarLeft);
  EXPECT_EQ(GaugeCompute(bar, 9, 9)->FillEdge, bar.BarRight + 1);
  EXPECT_EQ(GaugeCompute(BarOfWidth(247), 2147483647, 2147483647)->FillEdge, 10 + 247);
  // Three quarters of 302 is 226.5: the tie goes to even.
  EXPECT_EQ(GaugeCompute(BarOfWidth(302), 3, 4)->FillEdge, 10 + 226);
}

TEST(GaugeRules, NoReadingWithoutATotal) {
  EXPECT_EQ(GaugeCompute(BarOfWidth(100), 5, 0), std::nullopt);
  EXPECT_EQ(GaugeCompute(BarOfWidth(100), 5, -1), std::nullopt);
  EXPECT_EQ(GaugeText(7), "7%");
  EXPECT_EQ(GaugeText(100), "100%");
}

}  // namespace
