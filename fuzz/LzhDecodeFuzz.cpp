// Decodes arbitrary bytes as a coded stream of the size the input's header
// chooses (LzhFuzzInput.h). Decoding goes through the installer's callback
// interface twice and through an inlined instantiation once; all three must
// read exactly as many bytes and write exactly the same ones. The outputs are
// compared by count and digest, so no run keeps its output.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "LzhFuzzInput.h"
#include "base/State.h"
#include "lzh/LzhDecoder.h"
#include "lzh/lzh.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// What one decode read and wrote: the bytes written are folded into a
// 64-bit FNV-1a digest.
struct Decoded {
  std::size_t Reads = 0;
  std::size_t Written = 0;
  std::uint64_t Digest = 0xCBF29CE484222325;

  void Take(std::uint8_t byte) {
    Digest = (Digest ^ byte) * 0x100000001B3;
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < lzhfuzz::HeaderSize) return 0;
  const std::span<const std::uint8_t> bytes(data, size);
  const auto stream = bytes.subspan(lzhfuzz::HeaderSize);
  const std::int32_t outputSize =
      lzhfuzz::OutputSize(bytes.first<lzhfuzz::HeaderSize>(), stream.size());

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
  return 0;
}
