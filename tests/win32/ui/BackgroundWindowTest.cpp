#include "ui/win32/BackgroundWindow.h"

#include <gtest/gtest.h>

#include <tuple>

#include "base/State.h"
#include "config/Configuration.h"
#include "ui/Background.h"

namespace {

// The real window, with no texts on it, painted and read back pixel by pixel.
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
};

TEST_F(BackgroundWindowTest, CoversTheScreenWithTheConfiguredClass) {
  RECT covered{};
  GetWindowRect(BackgroundWindow, &covered);
  EXPECT_EQ(std::tuple(covered.left, covered.top, covered.right, covered.bottom),
            std::tuple(0L, 0L, LONG{ScreenWidth}, LONG{ScreenHeight}));
  char name[32] = {};
  GetClassNameA(BackgroundWindow, name, sizeof name);
  EXPECT_STREQ(name, "RizorOvuDe");
  EXPECT_EQ(GetWindowLongA(BackgroundWindow, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_BORDER),
            static_cast<LONG>(WS_POPUP));
}

// Each row in the colour the gradient gives it, edge to edge; equal colours
// give no gradient and fill the screen with the one colour.
TEST_F(BackgroundWindowTest, PaintsTheGradientRowByRowOrOneColour) {
  for (const auto& [top, bottom] :
       {std::pair{Rgb{255, 128, 0}, Rgb{0, 0, 64}}, {Rgb{0, 128, 128}, Rgb{0, 128, 128}}}) {
    Config.GradientTopColour = top;
    Config.GradientBottomColour = bottom;
    PaintBackground();
    GradientWalk walk;
    const bool graded = GradientStart(top, bottom, ScreenHeight, walk);
    const HDC context = GetDC(BackgroundWindow);
    for (int y = 0; y < ScreenHeight; ++y) {
      const COLORREF row = ColourRef(graded ? GradientNextRow(walk) : top);
      if (y % 7 != 0 && y != ScreenHeight - 1) continue;
      ASSERT_EQ(GetPixel(context, 0, y), row) << "row " << y;
      ASSERT_EQ(GetPixel(context, ScreenWidth - 1, y), row) << "row " << y;
    }
    ReleaseDC(BackgroundWindow, context);
  }
}

}  // namespace
