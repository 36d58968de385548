#include <gtest/gtest.h>

#include <random>

#include "LzhTestSupport.h"
#include "lzh/LzhEncoder.h"

namespace lzhtest {
namespace {

Bytes MixedCorpus(std::size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  const char* words[] = {"install ", "disk ", "volume ", "the ", "of ", "\r\n", "Setup ", "file "};
  Bytes out;
  while (out.size() < size) {
    switch (rng() % 4) {
      case 0:  // text
        for (int i = 0; i < 200; ++i) for (const char* c = words[rng() % 8]; *c; ++c) out.push_back(static_cast<std::uint8_t>(*c));
        break;
      case 1:  // noise
        for (int i = 0; i < 300; ++i) out.push_back(static_cast<std::uint8_t>(rng()));
        break;
      case 2:  // runs
        out.insert(out.end(), 50 + rng() % 500, static_cast<std::uint8_t>(rng()));
        break;
      default:  // structured binary
        for (std::uint32_t i = 0; i < 256; ++i) {
          const std::uint32_t v = i * 0x01000193u;
          for (int k = 0; k < 4; ++k) out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
        }
    }
  }
  out.resize(size);
  return out;
}

void ExpectRoundTrip(const Bytes& data, const lzh::EncoderOptions& options = {}) {
  const Bytes coded = lzh::Encode(data, options);
  const Bytes decoded = DecodeBytes(coded, static_cast<std::int32_t>(data.size()));
  ASSERT_EQ(decoded.size(), data.size());
  EXPECT_TRUE(decoded == data);
}

TEST(RoundTrip, EdgesRunsAndNoise) {
  EXPECT_TRUE(lzh::Encode({}).empty());
  ExpectRoundTrip({});
  ExpectRoundTrip({' '});
  ExpectRoundTrip(Bytes(100000, 'A'));
  std::mt19937 rng(1);
  Bytes noise(200000);
  for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
  ExpectRoundTrip(noise);
}

TEST(RoundTrip, SeveralMegabytesOfMixedDataAcrossManyRebuilds) {
  const Bytes data = MixedCorpus(3 << 20, 42);
  const Bytes coded = lzh::Encode(data);
  EXPECT_LT(coded.size(), data.size() / 2);
  const Bytes decoded = DecodeBytes(coded, static_cast<std::int32_t>(data.size()));
  EXPECT_TRUE(decoded == data);
}

TEST(RoundTrip, GreedyAndChainLimitedParsesDecodeToo) {
  const Bytes data = MixedCorpus(300000, 5);
  ExpectRoundTrip(data, {.Lazy = false, .MaxChain = 0});
  ExpectRoundTrip(data, {.Lazy = true, .MaxChain = 8});
  // Lazy parsing never costs compression on this data.
  EXPECT_LE(lzh::Encode(data, {.Lazy = true}).size(), lzh::Encode(data, {.Lazy = false}).size());
}

}  // namespace
}  // namespace lzhtest
