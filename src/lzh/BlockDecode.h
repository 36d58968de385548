// The tools' decoder: the same Decoder template with a 64-bit bit buffer
// refilled once per symbol from a block of coded bytes, and a linear window
// (4096 bytes of history ahead of the output block) that matches copy
// within 16 bytes at a time. It yields the same bytes as DecodeWith, and
// reports the coded bytes used as DecodeWith's byte source would have
// counted them.
//
//   Source: std::size_t Read(std::uint8_t* out, std::size_t size)
//             up to `size` coded bytes; 0 at the end, and from then on
//   Sink:   void operator()(std::span<const std::uint8_t> bytes, const CodedPosition& at)
//             the decoded bytes in order, exactly `outputSize` in all, in
//             blocks of BlockDecodeSize but the last
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <span>

#include "lzh/LzhDecoder.h"

namespace lzh {

inline constexpr std::size_t BlockDecodeSize = 64 * 1024;

// Where the decoder stands in the coded stream after the last symbol it
// handed on, counted as a byte-at-a-time reader that holds up to 16 bits does.
struct CodedPosition {
  std::int64_t Used = 0;     // coded bytes taken from the source
  std::int64_t PastEnd = 0;  // bytes wanted after the source ran out
};

// Bits from the top of a 64-bit buffer; Fill leaves 56 or more in it, which
// covers a whole symbol (a walk of at most 22 levels, as a tree whose count
// stays within 0x8000 cannot be deeper, and a position of at most 14 bits).
template <typename Source>
class WordBits {
 public:
  explicit WordBits(Source& source) : source_(source) {}

  void Fill() {
    if (end_ - next_ >= 8) {
      // Bytes only partly taken are loaded again next time, to the same bits.
      buffer_ |= LoadBigEndian(next_) >> count_;
      next_ += (63 - count_) >> 3;
      count_ |= 56;
      return;
    }
    SlowFill();
  }

  unsigned TakeBit() {
    const auto bit = static_cast<unsigned>(buffer_ >> 63);
    buffer_ <<= 1;
    --count_;
    return bit;
  }

  unsigned Peek4() const { return static_cast<unsigned>(buffer_ >> 60); }

  void Skip(int count) {
    buffer_ <<= count;
    count_ -= count;
  }

  unsigned TakeByte() {
    const auto byte = static_cast<unsigned>(buffer_ >> 56);
    buffer_ <<= 8;
    count_ -= 8;
    return byte;
  }

  // The coded bits taken so far: where the last whole symbol ends, without
  // the reader's look-ahead.
  std::int64_t BitsTaken() const {
    const std::int64_t loaded = base_ + (next_ - block_) + zeros_;
    return loaded * 8 - count_;
  }

  CodedPosition Position() const { return PositionAt(BitsTaken()); }

  // The position of a reader that had taken `bits` (no more than BitsTaken()).
  CodedPosition PositionAt(std::int64_t bits) const {
    if (bits <= 0) return {};
    // A byte reader refills whenever 8 or fewer bits remain before a take.
    const std::int64_t wanted = (bits - 1) / 8 + 2;
    if (!ended_) return {wanted, 0};
    const std::int64_t total = base_ + (end_ - block_);
    return {std::min(wanted, total), std::max<std::int64_t>(0, wanted - total)};
  }

 private:
  static std::uint64_t LoadBigEndian(const std::uint8_t* p) {
#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return __builtin_bswap64(v);
#else
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = v << 8 | p[i];
    return v;
#endif
  }

#if defined(__GNUC__)
  __attribute__((noinline))
#endif
  void SlowFill() {
    if (!ended_) TopUp();
    if (end_ - next_ >= 8) return Fill();
    while (count_ <= 56) {
      std::uint64_t byte = 0;
      if (next_ != end_) {
        byte = *next_++;
      } else {
        ++zeros_;
      }
      buffer_ |= byte << (56 - count_);
      count_ += 8;
    }
  }

  // Moves what is left to the front and reads behind it until a word is
  // there or the source has ended.
  void TopUp() {
    const std::size_t left = static_cast<std::size_t>(end_ - next_);
    std::memmove(block_, next_, left);
    base_ += next_ - block_;
    next_ = block_;
    end_ = block_ + left;
    while (end_ - next_ < 8) {
      const std::size_t got = source_.Read(end_, sizeof(block_) - static_cast<std::size_t>(end_ - block_));
      if (got == 0) {
        ended_ = true;
        return;
      }
      end_ += got;
    }
  }

  Source& source_;
  std::uint8_t block_[BlockDecodeSize];
  const std::uint8_t* next_ = block_;
  std::uint8_t* end_ = block_;
  std::int64_t base_ = 0;   // stream offset of block_[0]
  std::int64_t zeros_ = 0;  // zero bytes taken past the end
  bool ended_ = false;
  std::uint64_t buffer_ = 0;
  int count_ = 0;
};

inline constexpr std::int64_t NoCodedLimit = std::numeric_limits<std::int64_t>::max();

// Coded offsets at which to note how far decoding had come: for each (in
// ascending order), how many decoded bytes came from symbols held wholly in
// the coded bytes before it. An offset decoding never passed keeps -1.
struct CodedMarks {
  std::span<const std::int64_t> Offsets;
  std::span<std::int64_t> DecodedBefore;  // as many as Offsets
};

// Decoded bytes collect behind 4096 bytes of history; a full block goes to
// the sink and the history moves to the front.
template <typename Bits, typename Sink>
class WindowOutput {
 public:
  WindowOutput(const Bits& bits, Sink& sink, std::int32_t outputSize, std::int64_t codedLimit, CodedMarks marks)
      : bits_(bits), sink_(sink), size_(outputSize), left_(outputSize), codedLimit_(codedLimit), marks_(marks) {
    std::memset(window_, 0, RingSize - RingStart);
    std::memset(window_ + RingSize - RingStart, RingFill, RingStart);
    std::fill(marks_.DecodedBefore.begin(), marks_.DecodedBefore.end(), -1);
    Watch();
  }

  bool Literal(std::uint8_t byte) {
    if (PastLimit()) return false;
    *out_++ = byte;
    if (out_ >= blockEnd_) Deliver(BlockDecodeSize);
    return true;
  }

  bool Match(int distance, int length) {
    if (PastLimit()) return false;
    const std::uint8_t* from = out_ - distance;
    if (distance >= 16) {
      for (int k = 0; k < length; k += 16) std::memcpy(out_ + k, from + k, 16);
    } else {
      for (int k = 0; k < length; ++k) out_[k] = from[k];
    }
    out_ += length;
    if (out_ >= blockEnd_) Deliver(BlockDecodeSize);
    return true;
  }

  // Hands on what is pending.
  void Finish() { Deliver(static_cast<std::size_t>(out_ - blockStart_)); }

  bool StoppedAtLimit() const { return stopped_; }

  // Where the last symbol handed on ends: a symbol read past the limit, and
  // the zeros it may have taken past the stream's end, are not the output's.
  CodedPosition Position() const { return stopped_ ? bits_.PositionAt(handedOnBits_) : bits_.Position(); }

 private:
  // Whether the symbol just read lies past the limit, noting the marks it
  // passes. Until the next mark or the limit, one comparison per symbol.
  bool PastLimit() {
    if (watch_ == NoCodedLimit) return false;
    const std::int64_t bits = bits_.BitsTaken();
    const std::int64_t taken = (bits + 7) / 8;
    if (taken <= watch_) return handedOnBits_ = bits, false;
    const std::int64_t produced = std::min<std::int64_t>(size_, delivered_ + (out_ - blockStart_));
    for (; nextMark_ < marks_.Offsets.size() && taken > marks_.Offsets[nextMark_]; ++nextMark_)
      marks_.DecodedBefore[nextMark_] = produced;
    if (taken > codedLimit_) return stopped_ = true;
    handedOnBits_ = bits;
    Watch();
    return false;
  }

  void Watch() {
    watch_ = codedLimit_;
    if (nextMark_ < marks_.Offsets.size()) watch_ = std::min(watch_, marks_.Offsets[nextMark_]);
  }

  void Deliver(std::size_t count) {
    const auto keep = static_cast<std::size_t>(
        std::clamp<std::int64_t>(left_, 0, static_cast<std::int64_t>(count)));
    if (keep > 0) sink_(std::span<const std::uint8_t>(blockStart_, keep), Position());
    left_ -= static_cast<std::int64_t>(keep);
    delivered_ += static_cast<std::int64_t>(count);
    const std::size_t after = static_cast<std::size_t>(out_ - blockStart_) - count;
    std::memmove(window_, window_ + count, RingSize + after);
    out_ -= count;
  }

  // A block, a final match's overrun and a 16-byte copy's overshoot.
  static constexpr std::size_t WindowSize = RingSize + BlockDecodeSize + LongestMatch + 16;

  const Bits& bits_;
  Sink& sink_;
  std::int64_t size_;
  std::int64_t left_;
  std::int64_t delivered_ = 0;  // bytes moved out of the block so far
  std::int64_t codedLimit_;
  CodedMarks marks_;
  std::size_t nextMark_ = 0;
  std::int64_t watch_ = NoCodedLimit;  // the next coded offset that matters: a mark or the limit
  bool stopped_ = false;
  std::int64_t handedOnBits_ = 0;  // where the last symbol handed on ends, while a limit is watched
  std::uint8_t window_[WindowSize];
  std::uint8_t* const blockStart_ = window_ + RingSize;
  std::uint8_t* const blockEnd_ = blockStart_ + BlockDecodeSize;
  std::uint8_t* out_ = blockStart_;
};

struct BlockDecodeOutcome {
  CodedPosition At;
  bool StoppedAtLimit = false;  // a symbol read past `codedLimit` was not output
};

struct AlwaysGoOn {
  bool operator()() const { return true; }
};

// Decodes `outputSize` bytes with `tree` as the working tree. Only bytes
// whose symbols' bits lie within the first `codedLimit` coded bytes are
// handed on; `marks` notes how far decoding had come at other offsets.
template <typename Source, typename Sink>
BlockDecodeOutcome DecodeBlocks(LzhTree& tree, std::int32_t outputSize, Source& source, Sink& sink,
                                std::int64_t codedLimit = NoCodedLimit, CodedMarks marks = {}) {
  using Bits = WordBits<Source>;
  using Output = WindowOutput<Bits, Sink>;
  // Both hold large buffers: on the heap, once per stream.
  const auto bits = std::make_unique<Bits>(source);
  const auto output = std::make_unique<Output>(*bits, sink, outputSize, codedLimit, marks);
  AlwaysGoOn active;
  Decoder<Bits, Output, AlwaysGoOn>(tree, *bits, *output, active).Run(outputSize);
  output->Finish();
  return {output->Position(), output->StoppedAtLimit()};
}

}  // namespace lzh
