// The stub's entry point. It takes no arguments; every path, including a
// failure of the run (base/Failure.h), ends with exit code 0 and, after a
// failure, without any message.
#include <windows.h>

#include "driver/win32/Installer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RunInstaller();
  ReleaseBuffers();
  return 0;
}
