#include "ui/CentreOnScreen.h"

#include "driver/ProcessState.h"
#include "ui/CentreRule.h"

void CentreOnScreen(HWND dialog) {
  RECT outer{};
  GetWindowRect(dialog, &outer);
  const ScreenPoint at = CentredOrigin(ScreenWidth, ScreenHeight, outer.right - outer.left,
                                       outer.bottom - outer.top);
  SetWindowPos(dialog, HWND_TOP, at.X, at.Y, 0, 0, SWP_NOSIZE);
}
