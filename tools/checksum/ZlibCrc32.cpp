#include "ZlibCrc32.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

std::uint32_t ExtendCrc32(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
  // zlib takes at most a uInt's worth of bytes per call.
  constexpr std::size_t Step = std::numeric_limits<uInt>::max();
  uLong value = crc;
  for (std::size_t at = 0; at < bytes.size(); at += Step)
    value = crc32(value, bytes.data() + at, static_cast<uInt>(std::min(Step, bytes.size() - at)));
  return static_cast<std::uint32_t>(value);
}
