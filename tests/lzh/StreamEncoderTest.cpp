#include "lzh/StreamEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
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

// Puts `data` in pieces of `chunk` bytes, with empty puts at both ends,
// after marking `marks`, and checks the encoder's counts and that no
// hand-off is empty or large.
struct Encoded {
  Bytes Coded;
  std::size_t BeforeFinish;  // coded bytes handed on before Finish
  std::vector<lzh::StreamEncoder::CodedSpan> Spans;
};
Encoded EncodeInChunks(const Bytes& data, std::size_t chunk, const lzh::EncoderOptions& options,
                       const std::vector<std::int64_t>& marks = {}) {
  Bytes coded;
  lzh::StreamEncoder encoder(
      [&coded](std::span<const std::uint8_t> c) {
        EXPECT_TRUE(!c.empty() && c.size() <= 65536 + 64) << c.size();
        coded.insert(coded.end(), c.begin(), c.end());
      },
      options);
  for (const std::int64_t offset : marks) encoder.Mark(offset);
  const std::span<const std::uint8_t> all(data);
  encoder.Put({});
  for (std::size_t at = 0; at < all.size(); at += chunk) encoder.Put(all.subspan(at, std::min(chunk, all.size() - at)));
  encoder.Put({});
  const std::size_t beforeFinish = coded.size();
  encoder.Finish();
  EXPECT_EQ(encoder.BytesIn(), static_cast<std::int64_t>(data.size()));
  EXPECT_EQ(encoder.BytesOut(), static_cast<std::int64_t>(coded.size()));
  return {coded, beforeFinish, encoder.Spans()};
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

// The sliding corpus coded by each parse. Lazy and greedy pinned from the
// encoder that held the whole input in memory, with no window to slide:
// sliding must not change a single match. The optimal parse and the short
// chain pinned as they choose today, ties between a literal and a match
// included. Greedy is chosen by the flag, the others by name.
constexpr Parse Parses[] = {
    {"lazy", {.Parsing = lzh::EncoderOptions::Parse::Lazy}, 1936525, 0xd24081756cbd370bu},
    {"greedy", {.Lazy = false}, 1936538, 0xed5ff5e5434d68eau},
    {"optimal", {.Parsing = lzh::EncoderOptions::Parse::Optimal}, 1935579, 0x3d4dcca523b72c9fu},
    {"chain 8", {.Lazy = true, .MaxChain = 8}, 1939870, 0x83c18eb6ba872d21u},
};

// Besides the corpus: short inputs, runs, and inputs around one position's
// look-ahead (62 bytes), where what is coded while bytes arrive and what is
// left for Finish must join up, matches into the ring's initial spaces
// included. Coded bytes leave as a long input arrives.
TEST(StreamEncoder, EveryParseCodesTheSameBytesWhateverTheChunkingAndRestoresTheInput) {
  std::vector<std::pair<std::string, Bytes>> inputs = {{"corpus", MakeSlidingCorpus()},
                                                       {"text", Wordy(20000, 1)},
                                                       {"noise", tooltest::RandomBytes(100000, 2)},
                                                       {"zeros", Bytes(70000, 0)}};
  Bytes runs;
  for (int i = 0; i < 300; ++i) runs.insert(runs.end(), 1 + (i * 37) % 200, static_cast<std::uint8_t>(i % 5));
  inputs.emplace_back("runs", runs);
  for (const std::size_t size : {0, 1, 2, 3, 60, 61, 62}) {
    inputs.emplace_back("spaces " + std::to_string(size), Bytes(size, ' '));
    inputs.emplace_back("text " + std::to_string(size), Wordy(size, 4));
  }
  for (const Parse& parse : Parses) {
    for (const auto& [name, data] : inputs) {
      SCOPED_TRACE(std::string(parse.Name) + ", " + name);
      const Bytes whole = lzh::Encode(data, parse.Options);
      if (name == "corpus") {
        EXPECT_EQ(whole.size(), parse.CodedSize);
        EXPECT_EQ(Fingerprint(whole), parse.CodedFingerprint);
      }
      EXPECT_TRUE(DecodeBytes(whole, static_cast<std::int32_t>(data.size())) == data);
      for (const std::size_t chunk : std::vector<std::size_t>{1, 7, 4096, 65537, data.size()}) {
        const Encoded encoded = EncodeInChunks(data, chunk, parse.Options);
        EXPECT_TRUE(encoded.Coded == whole) << chunk;
        EXPECT_TRUE(data.size() < 1000000 || encoded.BeforeFinish > whole.size() * 9 / 10) << chunk;
      }
    }
  }
}

TEST(StreamEncoder, FinishEndsTheStreamAndMarksComeInOrder) {
  lzh::StreamEncoder nothingPut([](std::span<const std::uint8_t>) { ADD_FAILURE(); });
  nothingPut.Finish();
  Bytes coded;
  lzh::StreamEncoder encoder([&coded](std::span<const std::uint8_t> c) { coded.insert(coded.end(), c.begin(), c.end()); });
  encoder.Mark(5);
  EXPECT_THROW(encoder.Mark(4), std::logic_error);
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
  const Bytes input = MakeSlidingCorpus();
  const auto size = static_cast<std::int64_t>(input.size());
  std::vector<std::int64_t> offsets(20000);
  std::iota(offsets.begin(), offsets.end(), 0);
  offsets.insert(offsets.end(), {1 << 20, (1 << 20) + 1, 3 << 20, size - 1, size});  // the last past the end
  for (const auto parse : {lzh::EncoderOptions::Parse::Lazy, lzh::EncoderOptions::Parse::Optimal}) {
    const auto [coded, beforeFinish, spans] = EncodeInChunks(input, 100000, {.Parsing = parse}, offsets);
    EXPECT_EQ(spans.front().StartBit, 0);
    EXPECT_EQ(spans.back().StartBit, -1);
    EXPECT_EQ((spans[spans.size() - 2].EndBit + 7) / 8, static_cast<std::int64_t>(coded.size()));
    for (std::size_t k = 1; k < 20000; ++k) {
      const auto &before = spans[k - 1], &now = spans[k];
      ASSERT_TRUE(now.StartBit == before.StartBit ? now.EndBit == before.EndBit : now.StartBit == before.EndBit) << k;
    }
    for (const std::size_t i : {0, 4095, 19999, 20000, 20001, 20002, 20003}) {
      const Bytes head(coded.begin(), coded.begin() + (spans[i].EndBit + 7) / 8);
      const auto wanted = static_cast<std::int32_t>(offsets[i] + 1);
      const Bytes decoded = DecodeBytes(head, wanted);  // the last match may run on past `wanted`
      ASSERT_GE(decoded.size(), static_cast<std::size_t>(wanted));
      EXPECT_TRUE(std::equal(input.begin(), input.begin() + wanted, decoded.begin())) << offsets[i];
    }
  }
}

}  // namespace
}  // namespace lzhtest
