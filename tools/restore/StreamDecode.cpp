#include "StreamDecode.h"

#include <algorithm>
#include <array>
#include <memory>

#include "lzh/LzhDecoder.h"

namespace {

constexpr std::size_t BlockSize = 64 * 1024;

struct BlockSource {
  ByteSource& source;
  std::array<std::uint8_t, BlockSize> block;
  std::size_t pos = 0;
  std::size_t length = 0;
  DecodeOutcome& outcome;

  std::uint8_t operator()() {
    if (pos == length && !Refill()) return 0;
    ++outcome.CodedBytesUsed;
    return block[pos++];
  }

  bool Refill() {
    pos = 0;
    length = source.Read(block.data(), block.size());
    if (length == 0) ++outcome.ReadsPastEnd;
    return length > 0;
  }
};

// Gathers decoded bytes into blocks; drops what a final match yields past
// the decoded size.
struct BlockSink {
  const ChunkConsumer& consume;
  const DecodeOutcome& outcome;
  std::int64_t limit;
  std::array<std::uint8_t, BlockSize> block;
  std::size_t length = 0;
  std::int64_t flushed = 0;

  void operator()(std::uint8_t byte) {
    block[length++] = byte;
    if (length == block.size()) Flush();
  }

  void Flush() {
    const auto room = std::max<std::int64_t>(0, limit - flushed);
    const auto keep = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(length), room));
    if (keep > 0) consume(flushed, std::span(block.data(), keep), outcome);
    flushed += static_cast<std::int64_t>(keep);
    length = 0;
  }
};

struct AlwaysActive {
  bool operator()() const { return true; }
};

}  // namespace

DecodeOutcome DecodeStream(ByteSource& source, std::int32_t unpackedSize, const ChunkConsumer& consume) {
  DecodeOutcome outcome;
  auto tables = std::make_unique<lzh::DecoderTables>();
  std::unique_ptr<BlockSource> in(new BlockSource{source, {}, 0, 0, outcome});
  std::unique_ptr<BlockSink> out(new BlockSink{consume, outcome, unpackedSize, {}, 0, 0});
  AlwaysActive active;
  lzh::DecodeWith(*tables, unpackedSize, *in, *out, active);
  out->Flush();
  return outcome;
}
