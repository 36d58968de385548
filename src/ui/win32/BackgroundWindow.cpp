#include "ui/win32/BackgroundWindow.h"

#include "base/State.h"
#include "config/Configuration.h"
#include "ui/Background.h"

namespace {

void FillWithColour(HDC context, const RECT& area, Rgb colour) {
  const HBRUSH brush = CreateSolidBrush(ColourRef(colour));
  FillRect(context, &area, brush);
  DeleteObject(brush);
}

void PaintGradient(HDC context) {
  GradientWalk walk;
  if (!GradientStart(Config.GradientTopColour, Config.GradientBottomColour, ScreenHeight, walk)) {
    FillWithColour(context, {0, 0, ScreenWidth, ScreenHeight}, Config.GradientTopColour);
    return;
  }
  for (int y = 0; y < ScreenHeight; ++y)
    FillWithColour(context, {0, y, ScreenWidth, y + 1}, GradientNextRow(walk));
}

HFONT CreateTitleFont() {
  const TitleStyleBits style = SplitTitleStyle(Config.TitleStyle);
  return CreateFontA(Config.TitleHeight, 0, 0, 0, style.Bold ? 900 : 400, style.Italic,
                     style.Underline, style.StrikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     Config.TitleFontFace.c_str());
}

HFONT CreateNoticeFont() {
  return CreateFontA(12, 0, 0, 0, 900, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Small");
}

// The text in the shadow colour, then in the title colour `offset` up-left of it.
void DrawWithShadow(HDC context, HFONT font, const char* text, POINT at, SIZE offset) {
  const HGDIOBJ savedFont = SelectObject(context, font);
  const int length = lstrlenA(text);
  SetTextColor(context, ColourRef(ShadowColourFor(Config.TitleColour)));
  TextOutA(context, at.x + offset.cx, at.y + offset.cy, text, length);
  SetTextColor(context, ColourRef(Config.TitleColour));
  TextOutA(context, at.x, at.y, text, length);
  SelectObject(context, savedFont);
  DeleteObject(font);
}

}  // namespace

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
      PaintBackground();
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

void PaintBackground() {
  const HDC context = GetDC(BackgroundWindow);
  PaintGradient(context);
  const int savedMode = SetBkMode(context, TRANSPARENT);
  DrawWithShadow(context, CreateTitleFont(), MessageTable.TitleText.c_str(), {22, 25}, {2, 3});
  DrawWithShadow(context, CreateNoticeFont(), MessageTable.Notice,
                 {ScreenWidth - 200, ScreenHeight - 20}, {1, 1});
  SetBkMode(context, savedMode);
  ReleaseDC(BackgroundWindow, context);
}
