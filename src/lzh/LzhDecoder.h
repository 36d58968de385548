// The LZH decoder as one template over where its bits come from, where its
// output goes and the "may go on" test. The installer's function-pointer
// interface instantiates it with byte-at-a-time input and a ring
// (DecodeWith); the tools use 64-bit refills and a linear window
// (BlockDecode.h).
//
//   Bits:   void Fill()               once before every symbol
//           unsigned TakeBit()        next bit
//           unsigned TakeByte()       next eight bits
//           optionally unsigned Peek4() and void Skip(int count): then the
//           walk starts with a table lookup (PrefixDecode.h)
//   Output: bool Literal(std::uint8_t byte)
//           bool Match(int distance, int length)   distance 1..4096
//           either false: stop before the symbol's bytes
//   Active: bool operator()()        tested before every symbol
//
// DecodeWith's Source and Sink:
//   Source: std::uint8_t operator()()        next coded byte, 0x00 when none
//   Sink:   void operator()(std::uint8_t)    one decoded byte, in order
#pragma once

#include <cstdint>
#include <type_traits>

#include "lzh/LzhTables.h"
#include "lzh/LzhTree.h"
#include "lzh/PrefixDecode.h"

namespace lzh {

template <typename Bits>
concept PeeksFourBits = requires(Bits& bits) {
  bits.Peek4();
  bits.Skip(1);
};

// Stands in for the table where the bits cannot be peeked at.
struct NoFirstBitsTable {};

// Working storage for one decode: the tree and the ring.
struct DecoderTables {
  LzhTree Tree;
  std::uint8_t Ring[RingSize];
};

template <typename Bits, typename Output, typename Active>
class Decoder {
 public:
  Decoder(LzhTree& tree, Bits& bits, Output& output, Active& active)
      : tree_(tree), bits_(bits), output_(output), active_(active) {}

  // Returns what is left of `outputSize` (negative past a final match).
  std::int32_t Run(std::int32_t outputSize) {
    tree_.Reset();
    first_ = {};
    // Counting down what is left cannot overflow, whatever the size.
    std::int32_t left = outputSize;
    while (left > 0 && active_()) {
      bits_.Fill();
      const int symbol = DecodeSymbol();
      if (symbol < 256) {
        if (!output_.Literal(static_cast<std::uint8_t>(symbol))) break;
        --left;
        continue;
      }
      const int distance = DecodePosition() + 1;
      const int length = MatchLength(symbol);
      if (!output_.Match(distance, length)) break;
      left -= length;
    }
    return left;
  }

 private:
  int DecodeSymbol() {
    unsigned n = FirstNode();
    while (n < NodeCount) n = tree_.Child[n + bits_.TakeBit()];
    const int symbol = static_cast<int>(n) - NodeCount;
    if constexpr (PeeksFourBits<Bits>) {
      tree_.template Update<HaveSse2>(symbol, first_);
    } else {
      tree_.Update(symbol);
    }
    return symbol;
  }

  unsigned FirstNode() {
    if constexpr (PeeksFourBits<Bits>) {
      first_.Refresh(tree_);
      const unsigned code = bits_.Peek4();
      bits_.Skip(first_.Used(code));
      return first_.Node(code);
    } else {
      return tree_.Child[Root];
    }
  }

  int DecodePosition() {
    unsigned b = bits_.TakeByte();
    const unsigned upper = PositionDecodeTable.UpperBits[b];
    for (int m = PositionDecodeTable.CodeLength[b] - 2; m > 0; --m) b = (b << 1) | bits_.TakeBit();
    return static_cast<int>(upper << 6 | (b & 0x3F));
  }

  LzhTree& tree_;
  Bits& bits_;
  Output& output_;
  Active& active_;
  [[no_unique_address]] std::conditional_t<PeeksFourBits<Bits>, FirstBitsTable, NoFirstBitsTable> first_;
};

// Bits from the top of a 32-bit buffer that holds at most 16 of them,
// refilled a byte at a time whenever 8 or fewer remain; the bits below the
// held ones are zero. Reads at most two bytes past the last bit used.
template <typename Source>
class ByteBits {
 public:
  explicit ByteBits(Source& source) : source_(source) {}

  void Fill() {}

  unsigned TakeBit() {
    Refill();
    const unsigned bit = buffer_ >> 31;
    buffer_ <<= 1;
    --count_;
    return bit;
  }

  unsigned TakeByte() {
    Refill();
    const unsigned byte = buffer_ >> 24;
    buffer_ <<= 8;
    count_ -= 8;
    return byte;
  }

 private:
  void Refill() {
    while (count_ <= 8) {
      buffer_ |= std::uint32_t{source_()} << (24 - count_);
      count_ += 8;
    }
  }

  Source& source_;
  std::uint32_t buffer_ = 0;
  int count_ = 0;
};

// The ring of the last 4096 bytes, each byte also handed to the sink. The
// copy runs byte by byte, so an overlapping source repeats what it has just
// written, and it always runs to its full length.
template <typename Sink>
class RingOutput {
 public:
  RingOutput(std::uint8_t* ring, Sink& sink) : ring_(ring), sink_(sink) {
    for (int i = 0; i < RingStart; ++i) ring_[i] = RingFill;
    for (int i = RingStart; i < RingSize; ++i) ring_[i] = 0;
  }

  bool Literal(std::uint8_t byte) {
    Put(byte);
    return true;
  }

  bool Match(int distance, int length) {
    const int start = r_ - distance;
    for (int k = 0; k < length; ++k) Put(ring_[(start + k) & RingMask]);
    return true;
  }

 private:
  void Put(std::uint8_t byte) {
    sink_(byte);
    ring_[r_] = byte;
    r_ = (r_ + 1) & RingMask;
  }

  std::uint8_t* ring_;
  Sink& sink_;
  int r_ = RingStart;
};

// Decodes `outputSize` bytes with the given tables (no allocation).
template <typename Source, typename Sink, typename Active>
void DecodeWith(DecoderTables& tables, std::int32_t outputSize, Source& source, Sink& sink,
                Active& active) {
  ByteBits<Source> bits(source);
  RingOutput<Sink> output(tables.Ring, sink);
  Decoder<ByteBits<Source>, RingOutput<Sink>, Active>(tables.Tree, bits, output, active).Run(outputSize);
}

}  // namespace lzh
