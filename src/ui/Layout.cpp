#include "ui/Layout.h"

#include <cstring>
#include <limits>

#include "base/Text.h"

namespace {

// The gauge's roundings are written for the x87's extended format, which
// both the stub and the tools' x86 builds compute long doubles in: a 64-bit
// significand whose leading 1 is stored, then the sign and a 15-bit
// exponent. Working on the bits needs no maths library, which the stub
// does not link.
static_assert(std::numeric_limits<long double>::digits == 64);

struct ExtendedBits {
  std::uint64_t Significand;
  std::uint16_t SignAndExponent;
};
constexpr std::size_t ExtendedSize = 10;

// Rounds to a 40-bit significand, an exact half away from zero.
long double RoundTo40Bits(long double x) {
  constexpr std::uint64_t Half = std::uint64_t{1} << 23;  // half a unit in the 40th bit
  constexpr std::uint64_t Dropped = (std::uint64_t{1} << 24) - 1;
  ExtendedBits bits{};
  std::memcpy(&bits, &x, ExtendedSize);
  const std::uint64_t sum = bits.Significand + Half;
  if (sum < bits.Significand) {
    // Carried out of the top bit: the next power of two.
    bits.Significand = std::uint64_t{1} << 63;
    ++bits.SignAndExponent;
  } else {
    bits.Significand = sum & ~Dropped;
  }
  std::memcpy(&x, &bits, ExtendedSize);
  return x;
}

std::int32_t ClampTo32Bits(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// Nearest whole number, an exact half to the even neighbour. The values met
// here (a ratio of 32-bit counts times 100 or a bar width) are far below
// 2^63 in size, so their whole part is exact as a 64-bit integer.
std::int64_t RoundHalfEven(long double x) {
  const std::int64_t whole = static_cast<std::int64_t>(x);  // toward zero
  const long double rest = x - static_cast<long double>(whole);  // exact, in (-1, 1)
  const bool odd = (whole & 1) != 0;
  if (rest > 0.5L || (rest == 0.5L && odd)) return whole + 1;
  if (rest < -0.5L || (rest == -0.5L && odd)) return whole - 1;
  return whole;
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
  // Beyond the 32-bit range (done far above total) the values stop at its
  // ends rather than wrap.
  reading.FillEdge = ClampTo32Bits(bar.BarLeft + RoundHalfEven(width));
  reading.Percent = ClampTo32Bits(RoundHalfEven(share * 100));
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
