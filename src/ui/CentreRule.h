// Where a window goes to sit in the middle of the screen. Halving truncates,
// and the screen size is the one read at start-up.
#pragma once

struct ScreenPoint {
  int X = 0;
  int Y = 0;

  bool operator==(const ScreenPoint&) const = default;
};

ScreenPoint CentredOrigin(int screenWidth, int screenHeight, int windowWidth,
                          int windowHeight);
