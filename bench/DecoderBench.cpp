#include "DecoderBench.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "MemoryCallbacks.h"
#include "Stopwatch.h"
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

}  // namespace bench
