#include "ui/Layout.h"

#include <gtest/gtest.h>

namespace {

// A bar whose first pixel is at x = 10.
GaugeBar BarOfWidth(std::int32_t width) { return {10, 0, 10 + width - 1, 0, width, 0, 0}; }

TEST(Layout, CentringTruncatesOddHalvesAndTheBarFollowsItsFrame) {
  EXPECT_EQ(CentredOrigin(640, 480, 389, 201), (ScreenPoint{126, 140}));
  EXPECT_EQ(CentredOrigin(640, 480, 390, 200), (ScreenPoint{125, 140}));
  EXPECT_EQ(CentredOrigin(640, 480, 801, 603), (ScreenPoint{-80, -61}));  // off the left and top edges
  EXPECT_EQ(GaugeBarFor({100, 200, 350, 220}, {50, 100, 450, 300}, 1, 18, 1),
            (GaugeBar{49, 81, 295, 97, 247, 162, 81}));
}

TEST(Layout, FillEdgeAndPercentRoundHalvesToEvenUnclamped) {
  const struct {
    std::int32_t Width, Done, Total, FillEdge, Percent;
  } cases[] = {
      {301, 1, 8, 48, 12},    {301, 3, 8, 123, 38}, {301, 2048, 5000, 133, 41}, {301, 4096, 5000, 257, 82},
      {301, 7000, 5000, 431, 140}, {301, 1, 2, 160, 50}, {301, 0, 9, 10, 0}, {301, 9, 9, 311, 100},
      {247, 2147483647, 2147483647, 257, 100}, {302, 3, 4, 236, 75},  // 150.5 and 226.5 go to even
  };
  for (const auto& c : cases)
    EXPECT_EQ(GaugeCompute(BarOfWidth(c.Width), c.Done, c.Total), (GaugeReading{c.FillEdge, c.Percent}))
        << c.Width << " " << c.Done << "/" << c.Total;
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
