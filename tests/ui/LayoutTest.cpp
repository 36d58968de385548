#include "ui/Layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();

// A bar whose first pixel is at x = 10.
GaugeBar BarOfWidth(std::int32_t width) { return {10, 0, 10 + width - 1, 0, width, 0, 0}; }

TEST(Layout, CentringTruncatesOddHalvesAndTheBarFollowsItsFrame) {
  EXPECT_EQ(CentredOrigin(640, 480, 389, 201), (ScreenPoint{126, 140}));
  EXPECT_EQ(CentredOrigin(640, 480, 390, 200), (ScreenPoint{125, 140}));
  EXPECT_EQ(CentredOrigin(640, 480, 801, 603), (ScreenPoint{-80, -61}));  // off the left and top edges
  EXPECT_EQ(GaugeBarFor({100, 200, 350, 220}, {50, 100, 450, 300}, 1, 18, 1),
            (GaugeBar{49, 81, 295, 97, 247, 162, 81}));
}

// The gauge's arithmetic as it was written with the C library's long double
// functions, which the stub no longer links: the reference the bit-level
// roundings must match.
long double LibraryRoundTo40Bits(long double x) {
  if (x == 0) return 0;
  int exponent = 0;
  const long double fraction = std::frexp(x, &exponent);
  return std::ldexp(std::round(std::ldexp(fraction, 40)), exponent - 40);
}

std::int32_t LibraryRoundHalfEven(long double x) {
  const long double floor = std::floor(x);
  const long double diff = x - floor;
  long double result = floor;
  if (diff > 0.5L || (diff == 0.5L && std::fmod(floor, 2.0L) != 0)) result += 1;
  return static_cast<std::int32_t>(result);
}

GaugeReading LibraryGaugeCompute(const GaugeBar& bar, std::int32_t done, std::int32_t total) {
  const long double share = static_cast<long double>(done) / static_cast<long double>(total);
  const long double width = LibraryRoundTo40Bits(LibraryRoundTo40Bits(share) * bar.BarWidth);
  return {bar.BarLeft + LibraryRoundHalfEven(width), LibraryRoundHalfEven(share * 100)};
}

TEST(Layout, FillEdgeAndPercentRoundAsTheLibraryFunctionsTheyReplace) {
  // Halves go to the even neighbour (150.5 and 226.5); shares above 1 are not clamped.
  EXPECT_EQ(GaugeCompute(BarOfWidth(301), 1, 2), (GaugeReading{160, 50}));
  EXPECT_EQ(GaugeCompute(BarOfWidth(302), 3, 4), (GaugeReading{236, 75}));
  EXPECT_EQ(GaugeCompute(BarOfWidth(301), 7000, 5000), (GaugeReading{431, 140}));
  // Where the library's conversion was undefined (an edge past the 32-bit
  // range), the edge stops at the limit.
  EXPECT_EQ(GaugeCompute(BarOfWidth(247), 21474836, 1), (GaugeReading{Max, 2147483600}));
  const struct {
    std::int32_t Width, Done, Total;
  } edges[] = {
      {301, 1, 8},     {301, 3, 8},         {301, 2048, 5000},   {301, 4096, 5000}, {301, 0, 9},
      {301, 9, 9},     {301, 1, 200},       {301, 3, 200},       {301, -3, 8},      {301, -1, 200},
      {247, Max, Max}, {247, Max - 1, Max}, {4000, Max - 1, Max}, {247, 1, Max},    {1, 1, 3},
      {65535, 2, 3},   {301, 1000, 1},      {301, 5, 10000000},  {1, Max / 2, Max},
      {301, 1, 301},  // 1/301 of 301 rounds up to 1: a carry into the exponent
  };
  for (const auto& e : edges)
    EXPECT_EQ(GaugeCompute(BarOfWidth(e.Width), e.Done, e.Total),
              LibraryGaugeCompute(BarOfWidth(e.Width), e.Done, e.Total))
        << e.Width << " " << e.Done << "/" << e.Total;

  std::mt19937 random(1995);
  std::uniform_int_distribution<std::int32_t> totals(1, Max);
  std::uniform_int_distribution<std::int32_t> widths(1, 2000);
  std::uniform_int_distribution<std::int32_t> lefts(-50, 700);
  for (int k = 0; k < 200000; ++k) {
    const std::int32_t total = k % 2 ? totals(random) : totals(random) % 100000 + 1;
    // done up to three times total, and a few below zero, within 32-bit percentages
    const std::int64_t reach = std::min<std::int64_t>(std::int64_t{total} * 3, Max / 100);
    const std::int32_t done = static_cast<std::int32_t>(
        std::uniform_int_distribution<std::int64_t>(-reach / 8, reach)(random));
    GaugeBar bar = BarOfWidth(widths(random));
    bar.BarLeft = lefts(random);
    ASSERT_EQ(GaugeCompute(bar, done, total), LibraryGaugeCompute(bar, done, total))
        << bar.BarLeft << " " << bar.BarWidth << " " << done << "/" << total;
  }
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
