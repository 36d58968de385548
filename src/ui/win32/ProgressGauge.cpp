#include "ui/win32/ProgressGauge.h"

#include "base/State.h"
#include "ui/Layout.h"
#include "ui/win32/Dialogs.h"
#include "ui/win32/ResourceIds.h"

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);

struct GaugeObjects {
  HDC Context = nullptr;
  HPEN RedPen = nullptr;
  HPEN WhitePen = nullptr;
  HBRUSH RedBrush = nullptr;
  HBRUSH WhiteBrush = nullptr;
  HFONT PercentFont = nullptr;
  HGDIOBJ SavedPen = nullptr;
  HGDIOBJ SavedBrush = nullptr;
  HGDIOBJ SavedFont = nullptr;
};
GaugeObjects Gauge;

GaugeRect ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void PlaceBar(HWND dialog) {
  CurrentGauge = GaugeBarFor(ScreenRect(GetDlgItem(dialog, GaugeFrameId)), ScreenRect(dialog),
                             GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYCAPTION),
                             GetSystemMetrics(SM_CYBORDER));
}

void CreatePensAndBrushes() {
  Gauge.RedPen = CreatePen(PS_SOLID, 1, Red);
  Gauge.WhitePen = CreatePen(PS_SOLID, 1, White);
  Gauge.SavedPen = SelectObject(Gauge.Context, Gauge.RedPen);
  Gauge.RedBrush = CreateSolidBrush(Red);
  Gauge.WhiteBrush = CreateSolidBrush(White);
  Gauge.SavedBrush = SelectObject(Gauge.Context, Gauge.RedBrush);
}

void CreatePercentFont() {
  Gauge.PercentFont = CreateFontA(16, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, "Arial");
  Gauge.SavedFont = SelectObject(Gauge.Context, Gauge.PercentFont);
}

void FillPart(HPEN pen, HBRUSH brush, std::int32_t left, std::int32_t right) {
  SelectObject(Gauge.Context, brush);
  SelectObject(Gauge.Context, pen);
  Rectangle(Gauge.Context, left, CurrentGauge.BarTop, right, CurrentGauge.BarBottom);
}

}  // namespace

void GaugeSetUp(HWND dialog) {
  Gauge.Context = GetDC(dialog);
  PlaceBar(dialog);
  CreatePensAndBrushes();
  CentreOnScreen(dialog);  // client coordinates: the bar stays valid
  StageActive = 1;
  SetBkMode(Gauge.Context, TRANSPARENT);
  CreatePercentFont();
  SetTextColor(Gauge.Context, RGB(0, 0, 0));
}

void GaugeDraw(std::int32_t fillEdge, std::int32_t percent) {
  FillPart(Gauge.RedPen, Gauge.RedBrush, CurrentGauge.BarLeft, fillEdge);
  LastPercent = percent;
  FillPart(Gauge.WhitePen, Gauge.WhiteBrush, fillEdge, CurrentGauge.BarRight);
  char text[16];
  const std::size_t length = GaugeText(percent, text);
  TextOutA(Gauge.Context, CurrentGauge.TextX, CurrentGauge.TextY, text, static_cast<int>(length));
}

void GaugeTearDown(HWND dialog) {
  SelectObject(Gauge.Context, Gauge.SavedFont);
  DeleteObject(Gauge.PercentFont);
  SelectObject(Gauge.Context, Gauge.SavedPen);
  SelectObject(Gauge.Context, Gauge.SavedBrush);
  DeleteObject(Gauge.RedPen);
  DeleteObject(Gauge.WhitePen);
  DeleteObject(Gauge.RedBrush);
  DeleteObject(Gauge.WhiteBrush);
  ReleaseDC(dialog, Gauge.Context);
  Gauge = GaugeObjects{};
}
