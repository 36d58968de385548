// The layout of a decoder fuzz input: four header bytes that choose the
// output size, then the coded stream. Shared by the harness and the seed
// generator, so that seeds decode to exactly the size they were made for.
//
//   byte 0, bits 0-4: a bit width (taken modulo 17); bits 5-7 all set: a
//     long input, whose output is not bounded by its length
//   bytes 1-3: the size (little-endian), cut to the bit width
//
// Most inputs may decode at most SmallOutput plus BytesPerCodedByte bytes
// per stream byte, so an execution costs about as much as its input is long
// and a short stream does not spend its time decoding the zeros past its
// end. Long inputs may decode up to 64 KB: enough symbols for the adaptive
// tree to rebuild itself once or twice.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

namespace lzhfuzz {

inline constexpr std::size_t HeaderSize = 4;
inline constexpr int LargestWidth = 16;
inline constexpr std::uint8_t LongFlag = 0xE0;
inline constexpr std::int32_t SmallOutput = 512;
inline constexpr std::int32_t BytesPerCodedByte = 4;
inline constexpr std::int32_t LargestOutput = (std::int32_t{1} << LargestWidth) - 1;

inline bool IsLong(std::uint8_t first) { return (first & LongFlag) == LongFlag; }

// What an input of `streamSize` stream bytes may decode unless it is long.
inline std::int32_t OutputBudget(std::size_t streamSize) {
  const std::size_t budget = SmallOutput + BytesPerCodedByte * streamSize;
  return static_cast<std::int32_t>(std::min<std::size_t>(budget, LargestOutput));
}

// The width spreads sizes evenly over the orders of magnitude.
inline std::int32_t OutputSize(std::span<const std::uint8_t, HeaderSize> header,
                               std::size_t streamSize) {
  const int width = (header[0] & 0x1F) % (LargestWidth + 1);
  const std::int32_t value = header[1] | header[2] << 8 | header[3] << 16;
  const std::int32_t size = value & ((std::int32_t{1} << width) - 1);
  return IsLong(header[0]) ? size : std::min(size, OutputBudget(streamSize));
}

// The header that asks for `size` (at most LargestOutput); long when the
// stream is too short for it otherwise.
inline std::array<std::uint8_t, HeaderSize> HeaderFor(std::int32_t size, std::size_t streamSize) {
  const auto width = static_cast<std::uint8_t>(std::bit_width(static_cast<std::uint32_t>(size)));
  const bool needsLong = size > OutputBudget(streamSize);
  return {static_cast<std::uint8_t>(width | (needsLong ? LongFlag : 0)),
          static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
          static_cast<std::uint8_t>(size >> 16)};
}

}  // namespace lzhfuzz
