#include "ui/Background.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "config/Configuration.h"

namespace {

constexpr Rgb Blue{0, 0, 255}, Black{0, 0, 0}, White{255, 255, 255};

std::vector<Rgb> Rows(Rgb top, Rgb bottom, int height) {
  std::vector<Rgb> rows;
  GradientWalk walk;
  if (!GradientStart(top, bottom, height, walk)) return rows;
  for (int y = 0; y < height; ++y) rows.push_back(GradientNextRow(walk));
  return rows;
}

TEST(Gradient, EachBandIsTheHeightOverTheStepsAndAChannelStopsOnArrival) {
  // A band of 0 (fewer lines than steps) still steps after every row.
  for (const auto& [height, band] : {std::pair{480, 1}, {768, 3}, {200, 1}}) {
    const auto rows = Rows(Blue, Black, height);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
      EXPECT_EQ(rows[y], (Rgb{0, 0, static_cast<std::uint8_t>(std::max(0, 255 - y / band))})) << height << ":" << y;
  }
  const auto rows = Rows({255, 128, 0}, Black, 480);
  EXPECT_EQ(rows[127], (Rgb{128, 1, 0}));
  EXPECT_EQ(rows[128], (Rgb{127, 0, 0}));
  EXPECT_EQ(rows[255], Black);
  EXPECT_EQ(StepTowards({0, 255, 7}, {255, 0, 7}), (Rgb{1, 254, 7}));
  EXPECT_EQ(Rows(Black, White, 480)[479], White);
  GradientWalk walk;  // equal colours or no rows: one fill
  EXPECT_FALSE(GradientStart(Blue, Blue, 480, walk));
  EXPECT_FALSE(GradientStart(Blue, Black, 0, walk));
}

TEST(ShadowColour, EveryPaletteEntryAndHalvesRoundToEven) {
  // Light entries 7, 8, 10, 11, 14 and 15 get a black shadow, the rest white.
  const Rgb expected[16] = {White, White, White, White, White, White, White, Black,
                            Black, White, Black, Black, White, White, Black, Black};
  for (std::size_t i = 0; i < Palette16.size(); ++i) EXPECT_EQ(ShadowColourFor(Palette16[i]), expected[i]) << i;
  EXPECT_EQ(Luminance({255, 0, 0}), 76);  // 76.5
  EXPECT_EQ(Luminance({0, 0, 50}), 6);    // 5.5
  // 30 R + 59 G + 11 B in hundredths: 12750 is 127.5, which rounds to the even 128.
  EXPECT_EQ(ShadowColourFor({0, 179, 199}), Black);
  EXPECT_EQ(ShadowColourFor({0, 176, 215}), White);
}

}  // namespace
