// The LZH decoder as a template over its byte source, byte sink and the
// "may go on" test, so that the installer's function-pointer interface is
// one instantiation and the tools can use inlined ones.
//
//   Source: std::uint8_t operator()()        next coded byte, 0x00 when none
//   Sink:   void operator()(std::uint8_t)    one decoded byte, in order
//   Active: bool operator()()                tested before every symbol
#pragma once

#include <cstdint>

#include "lzh/LzhTables.h"
#include "lzh/LzhTree.h"

namespace lzh {

// Working storage for one decode: the tree and the ring.
struct DecoderTables {
  LzhTree Tree;
  std::uint8_t Ring[RingSize];
};

template <typename Source, typename Sink, typename Active>
class Decoder {
 public:
  Decoder(DecoderTables& tables, Source& source, Sink& sink, Active& active)
      : tree_(tables.Tree), ring_(tables.Ring), source_(source), sink_(sink), active_(active) {}

  void Run(std::int32_t outputSize) {
    tree_.Reset();
    for (int i = 0; i < RingStart; ++i) ring_[i] = RingFill;
    for (int i = RingStart; i < RingSize; ++i) ring_[i] = 0;
    bitBuffer_ = 0;
    bitCount_ = 0;
    // Counting down what is left cannot overflow, whatever the size.
    std::int32_t left = outputSize;
    int r = RingStart;
    while (left > 0 && active_()) {
      const int symbol = DecodeSymbol();
      if (symbol < 256) {
        Put(static_cast<std::uint8_t>(symbol), r);
        --left;
        continue;
      }
      // The copy runs byte by byte, so an overlapping source repeats what it
      // has just written, and it always runs to its full length.
      const int start = r - DecodePosition() - 1;
      const int length = MatchLength(symbol);
      for (int k = 0; k < length; ++k) Put(ring_[(start + k) & RingMask], r);
      left -= length;
    }
  }

 private:
  void Put(std::uint8_t byte, int& r) {
    sink_(byte);
    ring_[r] = byte;
    r = (r + 1) & RingMask;
  }

  // Bits come from the top of a 32-bit buffer that holds at most 16 of them,
  // refilled a byte at a time whenever 8 or fewer remain; the bits below the
  // held ones are zero.
  void Refill() {
    while (bitCount_ <= 8) {
      bitBuffer_ |= std::uint32_t{source_()} << (24 - bitCount_);
      bitCount_ += 8;
    }
  }

  unsigned TakeBit() {
    Refill();
    const unsigned bit = bitBuffer_ >> 31;
    bitBuffer_ <<= 1;
    --bitCount_;
    return bit;
  }

  unsigned TakeByte() {
    Refill();
    const unsigned byte = bitBuffer_ >> 24;
    bitBuffer_ <<= 8;
    bitCount_ -= 8;
    return byte;
  }

  int DecodeSymbol() {
    unsigned n = tree_.Child[Root];
    while (n < NodeCount) n = tree_.Child[n + TakeBit()];
    const int symbol = static_cast<int>(n) - NodeCount;
    tree_.Update(symbol);
    return symbol;
  }

  int DecodePosition() {
    unsigned b = TakeByte();
    const unsigned upper = PositionDecodeTable.UpperBits[b];
    for (int m = PositionDecodeTable.CodeLength[b] - 2; m > 0; --m) b = (b << 1) | TakeBit();
    return static_cast<int>(upper << 6 | (b & 0x3F));
  }

  LzhTree& tree_;
  std::uint8_t* ring_;
  Source& source_;
  Sink& sink_;
  Active& active_;
  std::uint32_t bitBuffer_ = 0;
  int bitCount_ = 0;
};

// Decodes `outputSize` bytes with the given tables (no allocation).
template <typename Source, typename Sink, typename Active>
void DecodeWith(DecoderTables& tables, std::int32_t outputSize, Source& source, Sink& sink,
                Active& active) {
  Decoder<Source, Sink, Active>(tables, source, sink, active).Run(outputSize);
}

}  // namespace lzh
