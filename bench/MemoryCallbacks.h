// LzhDecode's function-pointer callbacks over memory. They work as the
// installer's file callbacks do, through 2048-byte buffers: the reader
// refills its buffer from the coded bytes when it runs dry, the writer
// hands its buffer on when full. Only the file calls become copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace bench {

inline constexpr std::size_t CallbackBufferSize = 2048;

// Points the callbacks at `coded` and at `output`, which must have room for
// everything the decoder writes.
void StartMemoryCallbacks(std::span<const std::uint8_t> coded, std::span<std::uint8_t> output);
// Hands on what the writer still buffers; returns the bytes written in all.
std::size_t FinishMemoryCallbacks();

void ReadFromMemory(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered);
void WriteToMemory(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted);

}  // namespace bench
