#include "ui/BackgroundWindow.h"

#include "config/MessageTable.h"
#include "driver/ProcessState.h"

HWND BackgroundWindow = nullptr;

void CreateBackgroundWindow() {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.style = CS_PARENTDC;
  windowClass.lpfnWndProc = BackgroundWndProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = BackgroundClassName;
  RegisterClassA(&windowClass);
  BackgroundWindow = CreateWindowExA(0, BackgroundClassName, BackgroundWindowText,
                                     WS_POPUP | WS_VISIBLE, 0, 0, ScreenWidth, ScreenHeight,
                                     nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK BackgroundWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      // Painting only allocates; a failure leaves the window as it was.
      try {
        PaintBackground();
      } catch (...) {
      }
      break;
    case WM_CLOSE:
    case WM_DESTROY:
      PostMessageA(window, WM_QUIT, 0, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
