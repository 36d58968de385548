// The three parses against the decoder, and the optimal parse's promises:
// the same bytes whatever the chunking, and no worse than the lazy parse.
#include <gtest/gtest.h>

#include <random>

#include "LzhTestSupport.h"
#include "lzh/LzhEncoder.h"
#include "lzh/StreamEncoder.h"
#include "ToolTestSupport.h"

namespace lzhtest {
namespace {

using Parse = lzh::EncoderOptions::Parse;

lzh::EncoderOptions With(Parse parse) { return {.Parsing = parse}; }

Bytes Noise(std::size_t size, unsigned seed) { return tooltest::RandomBytes(size, seed); }

// Words drawn at random, with some variation in spelling: short and long
// matches at many distances, as in prose.
Bytes Text(std::size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  const char* words[] = {"install", "the", "disk", "volume", "of", "Setup", "files", "copied",
                         "destination", "directory", "is", "not", "enough", "space", "on"};
  Bytes out;
  while (out.size() < size) {
    for (const char* c = words[rng() % 15]; *c; ++c) out.push_back(static_cast<std::uint8_t>(*c));
    out.push_back(rng() % 9 == 0 ? '\n' : rng() % 7 == 0 ? ',' : ' ');
    if (rng() % 11 == 0) out.push_back(static_cast<std::uint8_t>('0' + rng() % 10));
  }
  out.resize(size);
  return out;
}

// `unit` bytes of noise, repeated: matches at exactly that distance.
Bytes Repeating(std::size_t unit, int copies) {
  const Bytes block = Noise(unit, 3);
  Bytes out;
  for (int i = 0; i < copies; ++i) out.insert(out.end(), block.begin(), block.end());
  return out;
}

Bytes EncodeInChunks(const Bytes& data, std::size_t chunk, const lzh::EncoderOptions& options) {
  Bytes coded;
  lzh::StreamEncoder encoder(
      [&coded](std::span<const std::uint8_t> c) { coded.insert(coded.end(), c.begin(), c.end()); }, options);
  const std::span<const std::uint8_t> all(data);
  for (std::size_t at = 0; at < all.size(); at += chunk) encoder.Put(all.subspan(at, std::min(chunk, all.size() - at)));
  encoder.Finish();
  return coded;
}

void ExpectEveryParseRoundTrips(const Bytes& data) {
  for (const Parse parse : {Parse::Greedy, Parse::Lazy, Parse::Optimal}) {
    SCOPED_TRACE(static_cast<int>(parse));
    const Bytes coded = lzh::Encode(data, With(parse));
    EXPECT_TRUE(DecodeBytes(coded, static_cast<std::int32_t>(data.size())) == data);
  }
}

TEST(OptimalParse, EveryParseRoundTripsTextNoiseAndRuns) {
  ExpectEveryParseRoundTrips(Text(60000, 1));
  ExpectEveryParseRoundTrips(Noise(40000, 2));
  Bytes runs;
  for (int i = 0; i < 300; ++i) runs.insert(runs.end(), 1 + (i * 37) % 200, static_cast<std::uint8_t>(i % 5));
  ExpectEveryParseRoundTrips(runs);
}

TEST(OptimalParse, EveryParseRoundTripsAtTheWindowsEdges) {
  ExpectEveryParseRoundTrips(Repeating(4096, 3));  // the farthest distance
  ExpectEveryParseRoundTrips(Repeating(4095, 3));
  ExpectEveryParseRoundTrips(Bytes(70000, 0));
  // Short inputs, of spaces (matching into the ring's initial spaces) and
  // of text, around one match's length.
  for (const std::size_t size : {0, 1, 2, 3, 60, 61}) {
    SCOPED_TRACE(size);
    ExpectEveryParseRoundTrips(Bytes(size, ' '));
    ExpectEveryParseRoundTrips(Text(size, 4));
  }
}

TEST(OptimalParse, CodesTheSameBytesWhateverTheChunking) {
  // Over 1 MiB, so the window slides once, with blocks ending in text,
  // runs and repeats alike.
  Bytes data = Text(300000, 5);
  const Bytes noise = Noise(700000, 6);
  data.insert(data.end(), noise.begin(), noise.end());
  const Bytes repeats = Repeating(4096, 8);
  data.insert(data.end(), repeats.begin(), repeats.end());
  data.insert(data.end(), 20000, 'z');
  const Bytes tail = Text(50000, 7);
  data.insert(data.end(), tail.begin(), tail.end());

  const Bytes whole = lzh::Encode(data, With(Parse::Optimal));
  EXPECT_TRUE(DecodeBytes(whole, static_cast<std::int32_t>(data.size())) == data);
  for (const std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{65537}}) {
    SCOPED_TRACE(chunk);
    EXPECT_TRUE(EncodeInChunks(data, chunk, With(Parse::Optimal)) == whole);
  }
}

TEST(OptimalParse, CodesNoLargerThanTheLazyParse) {
  const Bytes zeros(70000, 0);
  EXPECT_LE(lzh::Encode(zeros, With(Parse::Optimal)).size(), lzh::Encode(zeros, With(Parse::Lazy)).size() + 8);
  const Bytes text = Text(100000, 8);
  EXPECT_LT(lzh::Encode(text, With(Parse::Optimal)).size(), lzh::Encode(text, With(Parse::Lazy)).size());
}

TEST(OptimalParse, UnsetParsingFollowsTheLazyFlag) {
  const Bytes text = Text(20000, 9);
  EXPECT_TRUE(lzh::Encode(text, {.Lazy = true}) == lzh::Encode(text, With(Parse::Lazy)));
  EXPECT_TRUE(lzh::Encode(text, {.Lazy = false}) == lzh::Encode(text, With(Parse::Greedy)));
}

}  // namespace
}  // namespace lzhtest
