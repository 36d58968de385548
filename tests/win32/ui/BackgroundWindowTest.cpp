#include "ui/win32/BackgroundWindow.h"

#include <gtest/gtest.h>

#include "base/State.h"
#include "config/Configuration.h"
#include "ui/Background.h"

namespace {

// Paints the real window and reads its pixels back, away from the texts.
class BackgroundWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    Config = {};
    MessageTable = {};
    MessageTable.TitleText = "";
    MessageTable.Notice = "";
    CreateBackgroundWindow();
    ASSERT_NE(BackgroundWindow, nullptr);
  }
  void TearDown() override { DestroyWindow(BackgroundWindow); }
  static COLORREF PixelAt(int x, int y) {
    const HDC context = GetDC(BackgroundWindow);
    const COLORREF pixel = GetPixel(context, x, y);
    ReleaseDC(BackgroundWindow, context);
    return pixel;
  }
};

TEST_F(BackgroundWindowTest, CoversTheScreenWithTheConfiguredClass) {
  RECT covered{};
  GetWindowRect(BackgroundWindow, &covered);
  EXPECT_EQ(covered.left, 0);
  EXPECT_EQ(covered.top, 0);
  EXPECT_EQ(covered.right, ScreenWidth);
  EXPECT_EQ(covered.bottom, ScreenHeight);
  char name[32] = {};
  GetClassNameA(BackgroundWindow, name, sizeof name);
  EXPECT_STREQ(name, "RizorOvuDe");
  EXPECT_EQ(GetWindowLongA(BackgroundWindow, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_BORDER),
            static_cast<LONG>(WS_POPUP));
}

TEST_F(BackgroundWindowTest, PaintsTheRowsTheGradientGives) {
  Config.GradientTopColour = {255, 128, 0};
  Config.GradientBottomColour = {0, 0, 64};
  PaintBackground();
  GradientWalk walk;
  ASSERT_TRUE(GradientStart(Config.GradientTopColour, Config.GradientBottomColour, ScreenHeight,
                            walk));
  for (int y = 0; y < ScreenHeight; ++y) {
    const Rgb row = GradientNextRow(walk);
    if (y % 7 == 0) {
      ASSERT_EQ(PixelAt(5, y), ColourRef(row)) << "row " << y;
    }
  }
}

TEST_F(BackgroundWindowTest, EqualColoursFillTheScreen) {
  Config.GradientTopColour = {0, 128, 128};
  Config.GradientBottomColour = {0, 128, 128};
  PaintBackground();
  EXPECT_EQ(PixelAt(0, 0), ColourRef({0, 128, 128}));
  EXPECT_EQ(PixelAt(ScreenWidth - 1, ScreenHeight - 1), ColourRef({0, 128, 128}));
}

}  // namespace
