// The stub's entry point. It takes no arguments; every path, including a
// failure that reaches the catch-all, ends with exit code 0 and, after a
// failure, without any message.
#include <windows.h>

#include "driver/Installer.h"
#include "driver/ProcessState.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    RunInstaller();
  } catch (...) {
  }
  ReleaseBuffers();
  return 0;
}
