#include "ui/Layout.h"

#include <cmath>

#include "base/Text.h"

namespace {

// Rounds to a 40-bit significand, an exact half away from zero.
long double RoundTo40Bits(long double x) {
  if (x == 0) return 0;
  int exponent = 0;
  const long double fraction = std::frexp(x, &exponent);  // [0.5, 1)
  return std::ldexp(std::round(std::ldexp(fraction, 40)), exponent - 40);
}

// Nearest whole number, an exact half to the even neighbour.
std::int32_t RoundHalfEven(long double x) {
  const long double floor = std::floor(x);
  const long double diff = x - floor;
  long double result = floor;
  if (diff > 0.5L || (diff == 0.5L && std::fmod(floor, 2.0L) != 0)) result += 1;
  return static_cast<std::int32_t>(result);
}

}  // namespace

ScreenPoint CentredOrigin(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
  return {screenWidth / 2 - windowWidth / 2, screenHeight / 2 - windowHeight / 2};
}

GaugeBar GaugeBarFor(const GaugeRect& frame, const GaugeRect& window, std::int32_t cxBorder,
                     std::int32_t cyCaption, std::int32_t cyBorder) {
  GaugeBar bar;
  bar.BarLeft = frame.Left - window.Left - cxBorder;
  bar.BarTop = frame.Top - window.Top - cyCaption - cyBorder;
  bar.BarRight = frame.Right - window.Left - cxBorder - 4;
  bar.BarBottom = frame.Bottom - window.Top - cyCaption - cyBorder - 4;
  bar.TextX = bar.BarLeft + (bar.BarRight - bar.BarLeft) / 2 - 10;
  bar.TextY = bar.BarTop + (bar.BarBottom - bar.BarTop) / 2 - 8;
  bar.BarWidth = bar.BarRight - bar.BarLeft + 1;
  return bar;
}

std::optional<GaugeReading> GaugeCompute(const GaugeBar& bar, std::int32_t done, std::int32_t total) {
  if (total <= 0) return std::nullopt;
  const long double share = static_cast<long double>(done) / static_cast<long double>(total);
  const long double width = RoundTo40Bits(RoundTo40Bits(share) * bar.BarWidth);
  GaugeReading reading;
  reading.FillEdge = bar.BarLeft + RoundHalfEven(width);
  reading.Percent = RoundHalfEven(share * 100);
  return reading;
}

std::optional<GaugeReading> GaugeChange(const GaugeBar& bar, std::int32_t done, std::int32_t total,
                                        std::int32_t lastPercent) {
  const std::optional<GaugeReading> reading = GaugeCompute(bar, done, total);
  if (!reading || reading->Percent == lastPercent) return std::nullopt;
  return reading;
}

std::size_t GaugeText(std::int32_t percent, char* out) {
  std::size_t length = FormatDecimal(percent, out);
  out[length++] = '%';
  out[length] = '\0';
  return length;
}
