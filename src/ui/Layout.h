// Where the stub's windows and its progress bar go: the centring rule for
// every dialog, the bar's place in a stage dialog's client area, and how far
// it is filled. Halving truncates; the screen size is the one read at
// start-up. The drawing itself is Win32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/State.h"

struct ScreenPoint {
  int X = 0;
  int Y = 0;

  bool operator==(const ScreenPoint&) const = default;
};

ScreenPoint CentredOrigin(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

struct GaugeRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
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

// The reading to draw as the decoded stream grows: nothing when there is no
// total or the percentage is the one drawn last.
std::optional<GaugeReading> GaugeChange(const GaugeBar& bar, std::int32_t done, std::int32_t total,
                                        std::int32_t lastPercent);

// The percentage text, the number without leading zeros and "%", into `out`
// (at least 13 bytes); gives its length.
std::size_t GaugeText(std::int32_t percent, char* out);
