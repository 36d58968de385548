// Constants and the fixed prefix code for match positions of the LZH coding:
// LZSS over a 4096-byte ring with an adaptive Huffman code for literals and
// match lengths. These numbers are part of the stream format.
#pragma once

#include <array>
#include <cstdint>

namespace lzh {

inline constexpr int RingSize = 4096;
inline constexpr int RingMask = RingSize - 1;
inline constexpr int LongestMatch = 60;
inline constexpr int Threshold = 2;          // a match codes lengths 3 to 60
inline constexpr int ShortestMatch = Threshold + 1;
inline constexpr int SymbolCount = 256 - Threshold + LongestMatch;  // 314
inline constexpr int NodeCount = 2 * SymbolCount - 1;               // 627
inline constexpr int Root = NodeCount - 1;                          // 626
inline constexpr std::uint16_t RebuildLimit = 0x8000;
inline constexpr int RingStart = RingSize - LongestMatch;           // 4036
inline constexpr std::uint8_t RingFill = 0x20;

// Symbol for a match of `length` (3 to 60) and back.
constexpr int MatchSymbol(int length) { return length + 253; }
constexpr int MatchLength(int symbol) { return symbol - 253; }

struct PositionCode {
  std::array<std::uint8_t, 256> UpperBits;  // upper six bits of the position
  std::array<std::uint8_t, 256> CodeLength; // bits of the prefix code
};

// Indexed by the first eight bits of a coded position.
constexpr PositionCode MakePositionCode() {
  PositionCode t{};
  for (int b = 0; b < 256; ++b) {
    int upper = 0;
    int length = 0;
    if (b < 0x20) { upper = 0; length = 3; }
    else if (b < 0x50) { upper = 1 + (b - 0x20) / 16; length = 4; }
    else if (b < 0x90) { upper = 4 + (b - 0x50) / 8; length = 5; }
    else if (b < 0xC0) { upper = 12 + (b - 0x90) / 4; length = 6; }
    else if (b < 0xF0) { upper = 24 + (b - 0xC0) / 2; length = 7; }
    else { upper = 48 + (b - 0xF0); length = 8; }
    t.UpperBits[b] = static_cast<std::uint8_t>(upper);
    t.CodeLength[b] = static_cast<std::uint8_t>(length);
  }
  return t;
}

inline constexpr PositionCode PositionDecodeTable = MakePositionCode();

}  // namespace lzh
