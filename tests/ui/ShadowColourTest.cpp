#include "ui/ShadowColour.h"

#include <gtest/gtest.h>

namespace {

constexpr Rgb Black{0, 0, 0};
constexpr Rgb White{255, 255, 255};

TEST(ShadowColour, EveryPaletteEntry) {
  // Light entries 7, 8, 10, 11, 14 and 15 get a black shadow, the rest white.
  const Rgb expected[16] = {White, White, White, White, White, White, White, Black,
                            Black, White, Black, Black, White, White, Black, Black};
  for (std::size_t i = 0; i < Palette16.size(); ++i)
    EXPECT_EQ(ShadowColourFor(Palette16[i]), expected[i]) << "palette entry " << i;
}

TEST(ShadowColour, LuminanceRoundsHalvesToEven) {
  EXPECT_EQ(Luminance({128, 128, 128}), 128);
  EXPECT_EQ(Luminance({255, 0, 0}), 76);  // 76.5
  EXPECT_EQ(Luminance({0, 0, 50}), 6);    // 5.5
  EXPECT_EQ(Luminance({0, 1, 0}), 1);     // 0.59
  EXPECT_EQ(Luminance({0, 0, 4}), 0);     // 0.44
}

TEST(ShadowColour, ThresholdAt128) {
  // 30 R + 59 G + 11 B in hundredths: 12750 is 127.5, which rounds to the even 128.
  EXPECT_EQ(Luminance({0, 179, 199}), 128);
  EXPECT_EQ(ShadowColourFor({0, 179, 199}), Black);
  EXPECT_EQ(Luminance({0, 176, 215}), 127);  // 127.49
  EXPECT_EQ(ShadowColourFor({0, 176, 215}), White);
  EXPECT_EQ(Luminance({0, 176, 206}), 126);  // 126.5 rounds to the even 126
}

}  // namespace
