// Places a dialog in the middle of the screen size read at start-up, at the
// top of the Z order, keeping its size.
#pragma once

#include <windows.h>

void CentreOnScreen(HWND dialog);
