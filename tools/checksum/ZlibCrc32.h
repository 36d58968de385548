// CRC-32 for the tools, from zlib: the same value as the stub's own
// (src/base/Crc32.h), at zlib's speed.
#pragma once

#include <cstdint>
#include <span>

// The CRC-32 of the bytes so far (`crc`, 0 to start) extended by `bytes`.
std::uint32_t ExtendCrc32(std::uint32_t crc, std::span<const std::uint8_t> bytes);
