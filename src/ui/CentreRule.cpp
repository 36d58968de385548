#include "ui/CentreRule.h"

ScreenPoint CentredOrigin(int screenWidth, int screenHeight, int windowWidth,
                          int windowHeight) {
  return {screenWidth / 2 - windowWidth / 2, screenHeight / 2 - windowHeight / 2};
}
