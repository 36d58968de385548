// Decodes a set's coded stream block by block with the inlined decoder,
// handing the decoded bytes on in large chunks.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "ByteSource.h"

struct DecodeOutcome {
  std::int64_t CodedBytesUsed = 0;  // bytes the decoder took from the source
  std::int64_t ReadsPastEnd = 0;    // bytes it wanted after the source ran out
  // The decoder reads at most two bytes beyond the last bit it uses: more
  // means the stream ended before the decoded size was reached.
  bool StreamEndedEarly() const { return ReadsPastEnd > 2; }
};

// `consume(offset, bytes, soFar)` receives the decoded stream in order,
// exactly `unpackedSize` bytes in all, with the state of the input when the
// chunk was complete.
using ChunkConsumer = std::function<void(std::int64_t offset, std::span<const std::uint8_t> bytes,
                                         const DecodeOutcome& soFar)>;

DecodeOutcome DecodeStream(ByteSource& source, std::int32_t unpackedSize, const ChunkConsumer& consume);
