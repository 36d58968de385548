#include "lzh/StreamEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>

#include "LzhTestSupport.h"
#include "ToolTestSupport.h"
#include "lzh/LzhEncoder.h"

namespace lzhtest {
namespace {

// Over 3 MiB, so the encoder's window slides several times: blocks
// repeated exactly 4096 bytes apart (the farthest match), echoes of recent
// bytes at random distances, runs, text and noise, all of it reaching
// across every place the window slides.
Bytes MakeSlidingCorpus() {
  std::mt19937 rng(7);
  const char* words[] = {"install ", "disk ", "volume ", "the ", "\r\n", "Setup "};
  Bytes out(1, 'x');
  while (out.size() < (13u << 18)) {
    switch (rng() % 5) {
      case 0: {  // a block, then twice more at distance 4096
        Bytes block(500 + rng() % 3000);
        for (auto& b : block) b = static_cast<std::uint8_t>(rng());
        for (int copy = 0; copy < 3; ++copy) {
          out.insert(out.end(), block.begin(), block.end());
          for (std::size_t k = block.size(); k < 4096; ++k) out.push_back(static_cast<std::uint8_t>(rng()));
        }
        break;
      }
      case 1: {  // an echo, possibly overlapping itself
        const std::size_t distance = 1 + rng() % std::min<std::size_t>(4096, out.size());
        for (std::size_t n = 200 + rng() % 2000; n > 0; --n) out.push_back(out[out.size() - distance]);
        break;
      }
      case 2: out.insert(out.end(), 100 + rng() % 5000, static_cast<std::uint8_t>(rng())); break;
      case 3:
        for (int i = 0; i < 100; ++i)
          for (const char* c = words[rng() % 6]; *c; ++c) out.push_back(static_cast<std::uint8_t>(*c));
        break;
      default: for (int i = 0; i < 2000; ++i) out.push_back(static_cast<std::uint8_t>(rng()));
    }
  }
  return out;
}

// A sink that appends what the encoder hands on to `coded`.
auto AppendTo(Bytes& coded) {
  return [&coded](std::span<const std::uint8_t> c) { coded.insert(coded.end(), c.begin(), c.end()); };
}

// Puts `data` in pieces of `chunk` bytes, with empty puts at both ends, and
// checks the encoder's counts and that no hand-off is empty or large. Gives
// the coded bytes and how many of them were handed on before Finish.
std::pair<Bytes, std::size_t> EncodeInChunks(const Bytes& data, std::size_t chunk,
                                             const lzh::EncoderOptions& options = {}) {
  Bytes coded;
  lzh::StreamEncoder encoder(
      [&coded](std::span<const std::uint8_t> c) {
        EXPECT_TRUE(!c.empty() && c.size() <= 65536 + 64) << c.size();
        coded.insert(coded.end(), c.begin(), c.end());
      },
      options);
  const std::span<const std::uint8_t> all(data);
  encoder.Put({});
  for (std::size_t at = 0; at < all.size(); at += chunk) encoder.Put(all.subspan(at, std::min(chunk, all.size() - at)));
  encoder.Put({});
  const std::size_t beforeFinish = coded.size();
  encoder.Finish();
  EXPECT_EQ(encoder.BytesIn(), static_cast<std::int64_t>(data.size()));
  EXPECT_EQ(encoder.BytesOut(), static_cast<std::int64_t>(coded.size()));
  return {coded, beforeFinish};
}

// FNV-1a, to pin a long stream in a line.
std::uint64_t Fingerprint(const Bytes& bytes) {
  std::uint64_t h = 0xcbf29ce484222325u;
  for (std::uint8_t b : bytes) h = (h ^ b) * 0x100000001b3u;
  return h;
}

struct Parse {
  const char* Name;
  lzh::EncoderOptions Options;
  std::size_t CodedSize;
  std::uint64_t CodedFingerprint;
};

// Lazy and greedy pinned from the encoder that held the whole input in
// memory, with no window to slide: sliding must not change a single match.
// The optimal parse pinned as it chooses today, ties between a literal and
// a match included. Greedy is chosen by the flag, the others by name.
constexpr Parse Parses[] = {
    {"lazy", {.Parsing = lzh::EncoderOptions::Parse::Lazy}, 1936525, 0xd24081756cbd370bu},
    {"greedy", {.Lazy = false}, 1936538, 0xed5ff5e5434d68eau},
    {"optimal", {.Parsing = lzh::EncoderOptions::Parse::Optimal}, 1935579, 0x3d4dcca523b72c9fu},
};

TEST(StreamEncoder, CodesTheSameBytesInSmallHandOffsWhateverTheChunking) {
  const Bytes data = MakeSlidingCorpus();
  for (const Parse& parse : Parses) {
    SCOPED_TRACE(parse.Name);
    const Bytes whole = lzh::Encode(data, parse.Options);
    EXPECT_EQ(whole.size(), parse.CodedSize);
    EXPECT_EQ(Fingerprint(whole), parse.CodedFingerprint);
    EXPECT_TRUE(DecodeBytes(whole, static_cast<std::int32_t>(data.size())) == data);
    for (const std::size_t chunk : std::vector<std::size_t>{1, 7, 4096, 65537, data.size()}) {
      SCOPED_TRACE(chunk);
      const auto [coded, beforeFinish] = EncodeInChunks(data, chunk, parse.Options);
      EXPECT_TRUE(coded == whole);
      EXPECT_GT(beforeFinish, whole.size() * 9 / 10);  // coded bytes leave as input arrives
    }
  }
}

TEST(StreamEncoder, EveryParseRestoresShortInputsRunsAndWindowEdgesPutAByteAtATime) {
  // Around one position's look-ahead (62 bytes), what is coded while bytes
  // arrive and what is left for Finish must join up, matches into the ring's
  // initial spaces included.
  // (The sliding corpus above holds the matches at the farthest distance.)
  std::vector<std::pair<std::string, Bytes>> inputs = {
      {"text", Wordy(20000, 1)}, {"noise", tooltest::RandomBytes(100000, 2)}, {"zeros", Bytes(70000, 0)}};
  Bytes runs;
  for (int i = 0; i < 300; ++i) runs.insert(runs.end(), 1 + (i * 37) % 200, static_cast<std::uint8_t>(i % 5));
  inputs.emplace_back("runs", runs);
  for (const std::size_t size : {0, 1, 2, 3, 60, 61, 62}) {
    inputs.emplace_back("spaces " + std::to_string(size), Bytes(size, ' '));
    inputs.emplace_back("text " + std::to_string(size), Wordy(size, 4));
  }
  const lzh::EncoderOptions parses[] = {{.Lazy = false}, {}, {.Parsing = lzh::EncoderOptions::Parse::Optimal},
                                        {.Lazy = true, .MaxChain = 8}};
  for (const auto& [name, data] : inputs) {
    for (const lzh::EncoderOptions& options : parses) {
      SCOPED_TRACE(name + ", parse " + std::to_string(static_cast<int>(options.Chosen())) + ", chain " +
                   std::to_string(options.MaxChain));
      const Bytes coded = EncodeInChunks(data, 1, options).first;
      EXPECT_TRUE(coded == lzh::Encode(data, options));
      EXPECT_TRUE(DecodeBytes(coded, static_cast<std::int32_t>(data.size())) == data);
    }
  }
}

TEST(StreamEncoder, FinishEndsTheStream) {
  lzh::StreamEncoder nothingPut([](std::span<const std::uint8_t>) { ADD_FAILURE(); });
  nothingPut.Finish();
  Bytes coded;
  lzh::StreamEncoder encoder(AppendTo(coded));
  encoder.Put(Bytes(100, 'a'));
  encoder.Finish();
  const Bytes once = coded;
  encoder.Finish();
  EXPECT_TRUE(coded == once);
  EXPECT_THROW(encoder.Put(once), std::logic_error);
}

// A mark tells where the symbol coding an input byte lies: symbols follow
// one another without gaps, and the coded bytes up to a mark's end decode
// (zeros after them) to every input byte up to it, across window slides.
TEST(StreamEncoder, MarksTellWhereEachInputByteIsCoded) {
  const Bytes small = Wordy(20000, 3), large = MakeSlidingCorpus();
  for (const auto parse : {lzh::EncoderOptions::Parse::Lazy, lzh::EncoderOptions::Parse::Optimal}) {
    Bytes coded;
    lzh::StreamEncoder every(AppendTo(coded), {.Parsing = parse});
    for (std::size_t k = 0; k <= small.size(); ++k) every.Mark(static_cast<std::int64_t>(k));
    every.Put(small);
    every.Finish();
    const auto& spans = every.Spans();
    EXPECT_EQ(spans.front().StartBit, 0);
    EXPECT_EQ(spans.back().StartBit, -1);  // past the end of the input
    EXPECT_EQ((spans[small.size() - 1].EndBit + 7) / 8, static_cast<std::int64_t>(coded.size()));
    for (std::size_t k = 1; k < small.size(); ++k) {
      const auto &before = spans[k - 1], &now = spans[k];
      ASSERT_TRUE(now.StartBit == before.StartBit ? now.EndBit == before.EndBit : now.StartBit == before.EndBit) << k;
    }

    coded.clear();
    lzh::StreamEncoder some(AppendTo(coded), {.Parsing = parse});
    const std::vector<std::int64_t> offsets = {0, 4095, 1 << 20, (1 << 20) + 1, 3 << 20,
                                               static_cast<std::int64_t>(large.size()) - 1};
    for (const std::int64_t offset : offsets) some.Mark(offset);
    for (std::size_t at = 0; at < large.size(); at += 100000)
      some.Put(std::span(large).subspan(at, std::min<std::size_t>(100000, large.size() - at)));
    some.Finish();
    for (std::size_t i = 0; i < offsets.size(); ++i) {
      const Bytes head(coded.begin(), coded.begin() + (some.Spans()[i].EndBit + 7) / 8);
      const auto wanted = static_cast<std::int32_t>(offsets[i] + 1);
      const Bytes decoded = DecodeBytes(head, wanted);  // the last match may run on past `wanted`
      ASSERT_GE(decoded.size(), static_cast<std::size_t>(wanted));
      EXPECT_TRUE(std::equal(large.begin(), large.begin() + wanted, decoded.begin())) << offsets[i];
    }
  }
  lzh::StreamEncoder encoder([](std::span<const std::uint8_t>) {});
  encoder.Mark(5);
  EXPECT_THROW(encoder.Mark(4), std::logic_error);
}

}  // namespace
}  // namespace lzhtest
