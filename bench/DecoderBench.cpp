#include "DecoderBench.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "MemoryCallbacks.h"
#include "Stopwatch.h"
#include "lzh/BlockDecode.h"
#include "lzh/LzhDecoder.h"
#include "lzh/lzh.h"

namespace bench {
namespace {

void ExpectSame(std::span<const std::uint8_t> decoded, std::span<const std::uint8_t> original,
                const char* how) {
  if (!std::equal(decoded.begin(), decoded.end(), original.begin(), original.end())) {
    throw std::runtime_error(std::string("decoding through ") + how + " changed the corpus");
  }
}

struct MemorySource {
  const std::uint8_t* next;
  const std::uint8_t* end;
  std::uint8_t operator()() { return next != end ? *next++ : std::uint8_t{0}; }
};

struct MemorySink {
  std::uint8_t* next;
  void operator()(std::uint8_t byte) { *next++ = byte; }
};

struct MemoryReader {
  std::span<const std::uint8_t> rest;
  std::size_t Read(std::uint8_t* out, std::size_t size) {
    const std::size_t n = std::min(size, rest.size());
    std::copy_n(rest.begin(), n, out);
    rest = rest.subspan(n);
    return n;
  }
};

struct BlockCollector {
  std::uint8_t* next;
  void operator()(std::span<const std::uint8_t> bytes, const lzh::CodedPosition&) {
    next = std::copy(bytes.begin(), bytes.end(), next);
  }
};

struct AlwaysActive {
  bool operator()() const { return true; }
};

}  // namespace

double TimeCallbackDecode(std::span<const std::uint8_t> coded,
                          std::span<const std::uint8_t> original, int runs) {
  // Room for a final match that runs past the size.
  std::vector<std::uint8_t> output(original.size() + lzh::LongestMatch);
  const auto size = static_cast<std::int32_t>(original.size());
  std::size_t produced = 0;
  const double seconds = BestSeconds(runs, [&] {
    StartMemoryCallbacks(coded, output);
    LzhDecode(size, &ReadFromMemory, &WriteToMemory, &StageActive);
    produced = FinishMemoryCallbacks();
  });
  ExpectSame(std::span(output).first(produced), original, "the callbacks");
  return seconds;
}

double TimeInlinedDecode(std::span<const std::uint8_t> coded,
                         std::span<const std::uint8_t> original, int runs) {
  std::vector<std::uint8_t> output(original.size() + lzh::LongestMatch);
  auto tables = std::make_unique<lzh::DecoderTables>();
  const auto size = static_cast<std::int32_t>(original.size());
  std::size_t produced = 0;
  const double seconds = BestSeconds(runs, [&] {
    MemorySource source{coded.data(), coded.data() + coded.size()};
    MemorySink sink{output.data()};
    AlwaysActive active;
    lzh::DecodeWith(*tables, size, source, sink, active);
    produced = static_cast<std::size_t>(sink.next - output.data());
  });
  ExpectSame(std::span(output).first(produced), original, "the inlined decoder");
  return seconds;
}

double TimeBlockDecode(std::span<const std::uint8_t> coded,
                       std::span<const std::uint8_t> original, int runs) {
  std::vector<std::uint8_t> output(original.size());
  auto tree = std::make_unique<lzh::LzhTree>();
  const auto size = static_cast<std::int32_t>(original.size());
  std::size_t produced = 0;
  const double seconds = BestSeconds(runs, [&] {
    MemoryReader source{coded};
    BlockCollector sink{output.data()};
    lzh::DecodeBlocks(*tree, size, source, sink);
    produced = static_cast<std::size_t>(sink.next - output.data());
  });
  ExpectSame(std::span(output).first(produced), original, "the block decoder");
  return seconds;
}

}  // namespace bench
