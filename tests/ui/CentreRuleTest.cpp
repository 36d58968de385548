#include "ui/CentreRule.h"

#include <gtest/gtest.h>

namespace {

TEST(CentreRule, OddSizesTruncateTheirHalf) {
  EXPECT_EQ(CentredOrigin(640, 480, 389, 201), (ScreenPoint{126, 140}));
  EXPECT_EQ(CentredOrigin(640, 480, 390, 200), (ScreenPoint{125, 140}));
  EXPECT_EQ(CentredOrigin(1024, 768, 1024, 768), (ScreenPoint{0, 0}));
  // Larger than the screen: it starts off the left and top edges.
  EXPECT_EQ(CentredOrigin(640, 480, 801, 603), (ScreenPoint{-80, -61}));
}

}  // namespace
