#include "base/Crc32.h"

namespace {

// The byte-wise table, built on first use (1 KB, cheaper to carry than to
// store in the stub's image).
const std::uint32_t* Crc32Table() {
  static std::uint32_t table[256];
  static bool built = false;
  if (!built) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    built = true;
  }
  return table;
}

}  // namespace

std::uint32_t UpdateCrc32(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count) {
  const std::uint32_t* table = Crc32Table();
  crc = ~crc;
  for (std::size_t i = 0; i < count; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}
