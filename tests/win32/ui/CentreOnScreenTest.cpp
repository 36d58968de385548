#include "ui/win32/Dialogs.h"

#include <gtest/gtest.h>

#include "base/State.h"

namespace {

HWND MakePopup(int width, int height) {
  return CreateWindowExA(0, "STATIC", "centre me", WS_POPUP | WS_VISIBLE, 3, 7, width, height,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(CentreOnScreen, UsesTheStartUpScreenSizeAndKeepsTheSize) {
  ScreenWidth = 640;
  ScreenHeight = 480;
  const HWND window = MakePopup(389, 201);
  ASSERT_NE(window, nullptr);
  CentreOnScreen(window);
  RECT placed{};
  GetWindowRect(window, &placed);
  EXPECT_EQ(placed.left, 126);
  EXPECT_EQ(placed.top, 140);
  EXPECT_EQ(placed.right - placed.left, 389);
  EXPECT_EQ(placed.bottom - placed.top, 201);
  // Not the real screen: a start-up size of 1024 x 768 places it there.
  ScreenWidth = 1024;
  ScreenHeight = 768;
  CentreOnScreen(window);
  GetWindowRect(window, &placed);
  EXPECT_EQ(placed.left, 318);
  EXPECT_EQ(placed.top, 284);
  DestroyWindow(window);
}

}  // namespace
