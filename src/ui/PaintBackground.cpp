// The background's one paint routine. It draws the whole screen at every
// paint, one brush per pixel row, straight into the window's context.
#include "config/Configuration.h"
#include "config/MessageTable.h"
#include "driver/ProcessState.h"
#include "ui/BackgroundWindow.h"
#include "ui/Gradient.h"
#include "ui/ShadowColour.h"

namespace {

void FillWithColour(HDC context, const RECT& area, Rgb colour) {
  const HBRUSH brush = CreateSolidBrush(ColourRef(colour));
  FillRect(context, &area, brush);
  DeleteObject(brush);
}

void PaintGradient(HDC context) {
  const auto rows = GradientRows(Config.GradientTopColour, Config.GradientBottomColour,
                                 ScreenHeight);
  if (rows.empty()) {
    FillWithColour(context, {0, 0, ScreenWidth, ScreenHeight}, Config.GradientTopColour);
    return;
  }
  for (int y = 0; y < ScreenHeight; ++y)
    FillWithColour(context, {0, y, ScreenWidth, y + 1}, rows[static_cast<std::size_t>(y)]);
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
void DrawWithShadow(HDC context, HFONT font, const std::string& text, POINT at, SIZE offset) {
  const HGDIOBJ savedFont = SelectObject(context, font);
  const int length = static_cast<int>(text.size());
  SetTextColor(context, ColourRef(ShadowColourFor(Config.TitleColour)));
  TextOutA(context, at.x + offset.cx, at.y + offset.cy, text.c_str(), length);
  SetTextColor(context, ColourRef(Config.TitleColour));
  TextOutA(context, at.x, at.y, text.c_str(), length);
  SelectObject(context, savedFont);
  DeleteObject(font);
}

}  // namespace

void PaintBackground() {
  const HDC context = GetDC(BackgroundWindow);
  PaintGradient(context);
  const int savedMode = SetBkMode(context, TRANSPARENT);
  DrawWithShadow(context, CreateTitleFont(), MessageTable.TitleText, {22, 25}, {2, 3});
  DrawWithShadow(context, CreateNoticeFont(), MessageTable.Notice,
                 {ScreenWidth - 200, ScreenHeight - 20}, {1, 1});
  SetBkMode(context, savedMode);
  ReleaseDC(BackgroundWindow, context);
}
