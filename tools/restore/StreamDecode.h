// Decodes a set's coded stream block by block with the block decoder,
// handing the decoded bytes on in large chunks.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <span>

#include "ByteSource.h"

struct DecodeOutcome {
  std::int64_t CodedBytesUsed = 0;  // bytes the decoder took from the source
  std::int64_t ReadsPastEnd = 0;    // bytes it wanted after the source ran out
  bool StoppedAtLimit = false;      // decoding stopped at the trusted coded bytes' end
  // The decoder reads at most two bytes beyond the last bit it uses: more
  // means the stream ended before the decoded size was reached.
  bool StreamEndedEarly() const { return ReadsPastEnd > 2; }
};

// `consume(offset, bytes, soFar)` receives the decoded stream in order,
// exactly `unpackedSize` bytes in all, with the state of the input when the
// chunk was complete.
using ChunkConsumer = std::function<void(std::int64_t offset, std::span<const std::uint8_t> bytes,
                                         const DecodeOutcome& soFar)>;

inline constexpr std::int64_t NoCodedLimit = std::numeric_limits<std::int64_t>::max();

// Coded offsets (ascending) at which to note how many decoded bytes came
// from symbols held wholly before them; -1 for an offset never passed.
struct DecodeMarks {
  std::span<const std::int64_t> Offsets;
  std::span<std::int64_t> DecodedBefore;
};

// Only bytes decoded from the first `codedLimit` coded bytes are handed on:
// decoding stops (StoppedAtLimit) before the first symbol whose bits reach
// past them, as when the volumes after them are damaged or missing.
DecodeOutcome DecodeStream(ByteSource& source, std::int32_t unpackedSize, const ChunkConsumer& consume,
                           std::int64_t codedLimit = NoCodedLimit, DecodeMarks marks = {});
