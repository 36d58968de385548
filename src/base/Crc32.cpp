#include "base/Crc32.h"

namespace {

// Four bits at a time: a 64-byte table keeps the stub small, and copying a
// floppy's worth of bytes still costs only milliseconds.
constexpr std::uint32_t NibbleTable[16] = {
    0x00000000, 0x1DB71064, 0x3B6E20C8, 0x26D930AC, 0x76DC4190, 0x6B6B51F4, 0x4DB26158, 0x5005713C,
    0xEDB88320, 0xF00F9344, 0xD6D6A3E8, 0xCB61B38C, 0x9B64C2B0, 0x86D3D2D4, 0xA00AE278, 0xBDBDF21C};

}  // namespace

std::uint32_t UpdateCrc32(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count) {
  crc = ~crc;
  for (std::size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    crc = NibbleTable[crc & 0x0F] ^ (crc >> 4);
    crc = NibbleTable[crc & 0x0F] ^ (crc >> 4);
  }
  return ~crc;
}
