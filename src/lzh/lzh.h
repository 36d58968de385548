// The installer's decoder interface: one call decodes the coded stream
// pulled through `read` into exactly `outputSize` bytes pushed through
// `write`, testing StageActive before every symbol.
#pragma once

#include <cstdint>
#include <stdexcept>

// Copies up to `count` bytes into `buffer`; `delivered` tells how many.
// The decoder asks for one byte at a time; any count but 1 stands for 0x00.
using ReadChunkFn = void (*)(std::uint8_t* buffer, std::uint16_t count,
                             std::uint16_t& delivered);
// Takes `count` bytes from `buffer`; the decoder hands over one at a time
// and does not look at `accepted`. A count of 0 asks the sink to flush.
using WriteChunkFn = void (*)(std::uint8_t* buffer, std::uint16_t count,
                              std::uint16_t& accepted);

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* LzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";
inline constexpr const char* LzhFreeFailedMessage =
    "LZH : Error freeing memory for dictionary tables";

// Raises ElzhException when the working storage cannot be obtained; errors
// raised by the callbacks pass through after the storage is released.
void LzhDecode(std::int32_t outputSize, ReadChunkFn read, WriteChunkFn write);
