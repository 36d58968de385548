// The arithmetic of the progress gauge: where the bar lies in the dialog's
// client area, and how far it is filled. The drawing itself is Win32.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct GaugeRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
};

struct GaugeBar {
  std::int32_t BarLeft = 0;
  std::int32_t BarTop = 0;
  std::int32_t BarRight = 0;   // not painted, as with every GDI rectangle
  std::int32_t BarBottom = 0;  // not painted
  std::int32_t BarWidth = 0;   // the span 100 % maps to
  std::int32_t TextX = 0;
  std::int32_t TextY = 0;

  bool operator==(const GaugeBar&) const = default;
};

// From the screen rectangles of the frame control and of the dialog window,
// with the border and caption metrics: client coordinates of the bar. Only
// the right and bottom bounds take the extra 4 pixels.
GaugeBar GaugeBarFor(const GaugeRect& frame, const GaugeRect& window, std::int32_t cxBorder,
                     std::int32_t cyCaption, std::int32_t cyBorder);

struct GaugeReading {
  std::int32_t FillEdge = 0;
  std::int32_t Percent = 0;

  bool operator==(const GaugeReading&) const = default;
};

// The share done of total as the bar's fill edge and a whole percentage,
// unclamped (done above total reaches past the bar and above 100). The fill
// edge goes through two 40-bit roundings, ties away from zero; the
// percentage is computed with a 64-bit significand. Both end rounding to the
// nearest whole number, halves to even. A total of 0 or less gives nothing:
// such a bar is left undrawn.
std::optional<GaugeReading> GaugeCompute(const GaugeBar& bar, std::int32_t done, std::int32_t total);

// The percentage text: the number without leading zeros and "%".
std::string GaugeText(std::int32_t percent);
