#include "StreamDecode.h"

#include <memory>

#include "lzh/BlockDecode.h"

namespace {

// The coded stream as the block decoder reads it.
struct SourceReader {
  ByteSource& source;
  std::size_t Read(std::uint8_t* out, std::size_t size) { return source.Read(out, size); }
};

// Hands each decoded block on with the state of the input after it.
struct ChunkSink {
  const ChunkConsumer& consume;
  std::int64_t offset = 0;

  void operator()(std::span<const std::uint8_t> bytes, const lzh::CodedPosition& at) {
    consume(offset, bytes, Outcome(at));
    offset += static_cast<std::int64_t>(bytes.size());
  }

  static DecodeOutcome Outcome(const lzh::CodedPosition& at) {
    DecodeOutcome outcome;
    outcome.CodedBytesUsed = at.Used;
    outcome.ReadsPastEnd = at.PastEnd;
    return outcome;
  }
};

}  // namespace

DecodeOutcome DecodeStream(ByteSource& source, std::int32_t unpackedSize, const ChunkConsumer& consume,
                           std::int64_t codedLimit, DecodeMarks marks) {
  auto tree = std::make_unique<lzh::LzhTree>();
  SourceReader reader{source};
  ChunkSink sink{consume};
  const auto decoded = lzh::DecodeBlocks(*tree, unpackedSize, reader, sink, codedLimit,
                                           {marks.Offsets, marks.DecodedBefore});
  DecodeOutcome outcome = ChunkSink::Outcome(decoded.At);
  outcome.StoppedAtLimit = decoded.StoppedAtLimit;
  return outcome;
}
