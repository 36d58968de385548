// Decodes arbitrary bytes as a coded stream of the size the input's header
// chooses (LzhFuzzInput.h). Decoding goes through the installer's callback
// interface twice, through an inlined instantiation once and through the
// block decoder once; all must read exactly as many bytes and write exactly
// the same ones (the block decoder stops at the size, the others finish a
// final match). The outputs are compared by count and digests, so no run
// keeps its output.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "LzhFuzzInput.h"
#include "base/State.h"
#include "lzh/BlockDecode.h"
#include "lzh/LzhDecoder.h"
#include "lzh/lzh.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The output size of the input being decoded.
std::size_t headSize = 0;

// What one decode read and wrote: the bytes written are folded into a
// 64-bit FNV-1a digest, and those within the output size into another.
struct Decoded {
  std::size_t Reads = 0;
  std::size_t Written = 0;
  std::uint64_t Digest = 0xCBF29CE484222325;
  std::uint64_t HeadDigest = 0xCBF29CE484222325;

  void Take(std::uint8_t byte) {
    Digest = (Digest ^ byte) * 0x100000001B3;
    if (Written < headSize) HeadDigest = Digest;
    ++Written;
  }
  bool operator==(const Decoded&) const = default;
};

// State for the function-pointer callbacks, which take no context.
std::span<const std::uint8_t> callbackInput;
Decoded* callbackResult = nullptr;

void ReadByte(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
  delivered = 0;
  const std::size_t at = callbackResult->Reads++;
  if (at < callbackInput.size()) {
    buffer[0] = callbackInput[at];
    delivered = count;
  }
}

void WriteByte(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) {
  for (std::uint16_t i = 0; i < count; ++i) callbackResult->Take(buffer[i]);
  accepted = count;
}

Decoded DecodeThroughCallbacks(std::span<const std::uint8_t> stream, std::int32_t size) {
  Decoded result;
  callbackInput = stream;
  callbackResult = &result;
  StageActive = 1;
  Check(LzhDecode(size, &ReadByte, &WriteByte, &StageActive));
  callbackResult = nullptr;
  return result;
}

Decoded DecodeInlined(std::span<const std::uint8_t> stream, std::int32_t size) {
  Decoded result;
  auto source = [&] {
    const std::size_t at = result.Reads++;
    return at < stream.size() ? stream[at] : std::uint8_t{0};
  };
  auto sink = [&](std::uint8_t byte) { result.Take(byte); };
  auto active = [] { return true; };
  // The decoder sets up its tables itself; keeping them saves an allocation.
  static lzh::DecoderTables tables;
  lzh::DecodeWith(tables, size, source, sink, active);
  return result;
}

// The coded bytes in reads of 1 to 16 bytes, by turns, to move the
// decoder's refills over every alignment.
struct ChoppedReader {
  std::span<const std::uint8_t> rest;
  std::size_t turn;
  std::size_t Read(std::uint8_t* out, std::size_t size) {
    const std::size_t n = std::min({size, rest.size(), 1 + turn++ % 16});
    std::copy_n(rest.begin(), n, out);
    rest = rest.subspan(n);
    return n;
  }
};

struct BlockDigest {
  Decoded& result;
  void operator()(std::span<const std::uint8_t> bytes, const lzh::CodedPosition&) {
    for (std::uint8_t byte : bytes) result.Take(byte);
  }
};

// Returns the head digest and count; Reads is what a byte reader would
// have asked for.
Decoded DecodeInBlocks(std::span<const std::uint8_t> stream, std::int32_t size, std::size_t firstRead) {
  Decoded result;
  ChoppedReader reader{stream, firstRead};
  BlockDigest sink{result};
  static lzh::LzhTree tree;
  const auto outcome = lzh::DecodeBlocks(tree, size, reader, sink);
  Check(!outcome.StoppedAtLimit);
  Check(outcome.At.Used == std::min<std::int64_t>(outcome.At.Used + outcome.At.PastEnd,
                                                  static_cast<std::int64_t>(stream.size())));
  result.Reads = static_cast<std::size_t>(outcome.At.Used + outcome.At.PastEnd);
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < lzhfuzz::HeaderSize) return 0;
  const std::span<const std::uint8_t> bytes(data, size);
  const auto stream = bytes.subspan(lzhfuzz::HeaderSize);
  const std::int32_t outputSize =
      lzhfuzz::OutputSize(bytes.first<lzhfuzz::HeaderSize>(), stream.size());

  headSize = static_cast<std::size_t>(std::max(outputSize, 0));
  const Decoded first = DecodeThroughCallbacks(stream, outputSize);
  // A match is always copied whole, so the output can run up to 59 bytes over.
  Check(first.Written >= static_cast<std::size_t>(outputSize));
  Check(first.Written < static_cast<std::size_t>(outputSize) + lzh::LongestMatch);
  // Every symbol yields a byte or more from at most 22 bits of code (the
  // tree's depth is bounded by its frequency limit), and the bit buffer
  // reads at most two bytes ahead.
  Check(first.Reads <= 3 * first.Written + 2);
  // A second call must not see anything the first left behind.
  Check(DecodeThroughCallbacks(stream, outputSize) == first);
  Check(DecodeInlined(stream, outputSize) == first);
  const Decoded blocks = DecodeInBlocks(stream, outputSize, data[1]);
  Check(blocks.Reads == first.Reads);
  Check(blocks.Written == headSize);
  Check(blocks.HeadDigest == first.HeadDigest);
  return 0;
}
