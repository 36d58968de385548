// Decodes arbitrary bytes as a coded stream. The first four bytes choose
// the output size (below 256 KB: room for several tree rebuilds, yet fast
// enough under the sanitizers), the rest is the stream. Decoding goes
// through the installer's callback interface twice and through an inlined
// instantiation once; all three must read and write exactly the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "base/State.h"
#include "lzh/LzhDecoder.h"
#include "lzh/lzh.h"

namespace {

constexpr int LargestOutputBits = 18;

void Check(bool condition) {
  if (!condition) std::abort();
}

struct Decoded {
  std::vector<std::uint8_t> Output;
  std::size_t Reads = 0;
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
  callbackResult->Output.insert(callbackResult->Output.end(), buffer, buffer + count);
  accepted = count;
}

Decoded DecodeThroughCallbacks(std::span<const std::uint8_t> stream, std::int32_t size) {
  Decoded result;
  result.Output.reserve(static_cast<std::size_t>(size) + lzh::LongestMatch);
  callbackInput = stream;
  callbackResult = &result;
  StageActive = 1;
  LzhDecode(size, &ReadByte, &WriteByte, &StageActive);
  callbackResult = nullptr;
  return result;
}

Decoded DecodeInlined(std::span<const std::uint8_t> stream, std::int32_t size) {
  Decoded result;
  result.Output.reserve(static_cast<std::size_t>(size) + lzh::LongestMatch);
  auto source = [&] {
    const std::size_t at = result.Reads++;
    return at < stream.size() ? stream[at] : std::uint8_t{0};
  };
  auto sink = [&](std::uint8_t byte) { result.Output.push_back(byte); };
  auto active = [] { return true; };
  auto tables = std::make_unique<lzh::DecoderTables>();
  lzh::DecodeWith(*tables, size, source, sink, active);
  return result;
}

// The first byte picks a bit width, the next three a value cut to it, so
// that sizes spread evenly over the orders of magnitude and most runs stay fast.
std::int32_t OutputSize(std::span<const std::uint8_t> header) {
  const int width = header[0] % (LargestOutputBits + 1);
  const std::int32_t value = header[1] | header[2] << 8 | header[3] << 16;
  return value & ((std::int32_t{1} << width) - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::span<const std::uint8_t> bytes(data, size);
  const std::int32_t outputSize = OutputSize(bytes.first(4));
  const auto stream = bytes.subspan(4);

  const Decoded first = DecodeThroughCallbacks(stream, outputSize);
  // A match is always copied whole, so the output can run up to 59 bytes over.
  Check(first.Output.size() >= static_cast<std::size_t>(outputSize));
  Check(first.Output.size() < static_cast<std::size_t>(outputSize) + lzh::LongestMatch);
  // Every symbol yields a byte or more from at most 22 bits of code (the
  // tree's depth is bounded by its frequency limit), and the bit buffer
  // reads at most two bytes ahead.
  Check(first.Reads <= 3 * first.Output.size() + 2);
  Check(DecodeThroughCallbacks(stream, outputSize) == first);
  Check(DecodeInlined(stream, outputSize) == first);
  return 0;
}
