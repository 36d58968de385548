// CRC-32 as zip and zlib compute it (reflected, polynomial 0xEDB88320,
// initial and final value 0xFFFFFFFF), in pieces: start from 0, feed the
// previous result back in.
#pragma once

#include <cstddef>
#include <cstdint>

std::uint32_t UpdateCrc32(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count);
