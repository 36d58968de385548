#include "ui/Gradient.h"

#include <gtest/gtest.h>

namespace {

constexpr Rgb Blue{0, 0, 255};
constexpr Rgb Black{0, 0, 0};

TEST(Gradient, BlueToBlackOn480LinesStepsEveryRow) {
  const auto rows = GradientRows(Blue, Black, 480);
  ASSERT_EQ(rows.size(), 480u);
  for (int y = 0; y <= 254; ++y) EXPECT_EQ(rows[y], (Rgb{0, 0, std::uint8_t(255 - y)})) << y;
  for (int y = 255; y < 480; ++y) EXPECT_EQ(rows[y], Black) << y;
}

TEST(Gradient, BlueToBlackOn768LinesStepsEveryThirdRow) {
  EXPECT_EQ(GradientBand(768, 255), 3);
  const auto rows = GradientRows(Blue, Black, 768);
  ASSERT_EQ(rows.size(), 768u);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(rows[y].Blue, 255);
  for (int y = 3; y < 6; ++y) EXPECT_EQ(rows[y].Blue, 254);
  EXPECT_EQ(rows[764].Blue, 1);
  for (int y = 765; y < 768; ++y) EXPECT_EQ(rows[y], Black) << y;
}

TEST(Gradient, BandZeroStepsAfterEveryRowWithoutArriving) {
  EXPECT_EQ(GradientBand(200, 255), 0);
  const auto rows = GradientRows(Blue, Black, 200);
  ASSERT_EQ(rows.size(), 200u);
  EXPECT_EQ(rows[0].Blue, 255);
  EXPECT_EQ(rows[199].Blue, 255 - 199);
}

TEST(Gradient, ChannelThatArrivesFirstStays) {
  const Rgb top{255, 128, 0};
  EXPECT_EQ(GradientSteps(top, Black), 255);
  const auto rows = GradientRows(top, Black, 480);
  EXPECT_EQ(rows[127], (Rgb{128, 1, 0}));
  EXPECT_EQ(rows[128], (Rgb{127, 0, 0}));
  EXPECT_EQ(rows[200], (Rgb{55, 0, 0}));
  EXPECT_EQ(rows[255], Black);
}

TEST(Gradient, ChannelsMoveBothWays) {
  EXPECT_EQ(StepTowards({0, 255, 7}, {255, 0, 7}), (Rgb{1, 254, 7}));
  const auto rows = GradientRows({0, 0, 0}, {255, 255, 255}, 480);
  EXPECT_EQ(rows[479], (Rgb{255, 255, 255}));
}

TEST(Gradient, EqualColoursGiveOneFillAndNoRows) {
  EXPECT_EQ(GradientSteps(Blue, Blue), 0);
  EXPECT_TRUE(GradientRows(Blue, Blue, 480).empty());
  EXPECT_TRUE(GradientRows(Blue, Black, 0).empty());
}

}  // namespace
