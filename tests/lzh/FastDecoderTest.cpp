// The block decoder (64-bit refills, linear window) against the byte-at-a-
// time decoder, and the SSE2 swap search against the scalar one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>

#include "LzhTestSupport.h"
#include "lzh/BlockDecode.h"
#include "lzh/LzhDecoder.h"
#include "lzh/LzhEncoder.h"
#include "ToolTestSupport.h"

namespace lzhtest {
namespace {

// Byte source for DecodeWith that counts as the tools' reader did.
struct CountingSource {
  const Bytes& coded;
  std::size_t next = 0;
  lzh::CodedPosition at;
  std::uint8_t operator()() {
    if (next == coded.size()) {
      ++at.PastEnd;
      return 0;
    }
    ++at.Used;
    return coded[next++];
  }
};

// Keeps the bytes decoded before the first one whose symbol was read past
// `limit` coded bytes, and where the input stood then.
struct LimitedSink {
  const CountingSource& source;
  std::int64_t limit;
  Bytes out;
  bool stopped = false;
  lzh::CodedPosition atStop;
  void operator()(std::uint8_t byte) {
    if (!stopped && source.at.Used > limit) {
      stopped = true;
      atStop = source.at;
    }
    if (!stopped) out.push_back(byte);
  }
};

struct Reference {
  Bytes output;
  lzh::CodedPosition at;
  bool stopped = false;
};

Reference DecodeByBytes(const Bytes& coded, std::int32_t size, std::int64_t limit = INT64_MAX) {
  auto tables = std::make_unique<lzh::DecoderTables>();
  CountingSource source{coded, 0, {}};
  LimitedSink sink{source, limit, {}, false, {}};
  lzh::AlwaysGoOn active;
  lzh::DecodeWith(*tables, size, source, sink, active);
  // The byte decoder hands a final match out whole; the block decoder stops at the size.
  if (static_cast<std::int64_t>(sink.out.size()) > size) sink.out.resize(static_cast<std::size_t>(std::max(size, 0)));
  return {sink.out, sink.stopped ? sink.atStop : source.at, sink.stopped};
}

// Hands the coded bytes out in reads of the given sizes, in turn.
struct ChoppedSource {
  const Bytes& coded;
  std::vector<std::size_t> reads;
  std::size_t next = 0;
  std::size_t turn = 0;
  std::size_t Read(std::uint8_t* out, std::size_t size) {
    const std::size_t n = std::min({size, reads[turn++ % reads.size()], coded.size() - next});
    std::copy_n(coded.begin() + static_cast<std::ptrdiff_t>(next), n, out);
    next += n;
    return n;
  }
};

struct GatheringSink {
  Bytes out;
  std::vector<std::size_t> sizes;
  void operator()(std::span<const std::uint8_t> bytes, const lzh::CodedPosition&) {
    out.insert(out.end(), bytes.begin(), bytes.end());
    sizes.push_back(bytes.size());
  }
};

Reference DecodeByBlocks(const Bytes& coded, std::int32_t size, std::vector<std::size_t> reads = {1 << 20},
                         std::int64_t limit = INT64_MAX) {
  auto tree = std::make_unique<lzh::LzhTree>();
  ChoppedSource source{coded, std::move(reads)};
  GatheringSink sink;
  const auto outcome = lzh::DecodeBlocks(*tree, size, source, sink, limit);
  // Whole blocks but the last, which is not empty.
  for (std::size_t i = 0; i + 1 < sink.sizes.size(); ++i) EXPECT_EQ(sink.sizes[i], lzh::BlockDecodeSize);
  if (!sink.sizes.empty()) {
    EXPECT_GT(sink.sizes.back(), 0u);
  }
  return {sink.out, outcome.At, outcome.StoppedAtLimit};
}

void ExpectSame(const Reference& expected, const Reference& actual) {
  ASSERT_EQ(expected.output.size(), actual.output.size());
  EXPECT_TRUE(expected.output == actual.output);
  EXPECT_EQ(expected.at.Used, actual.at.Used);
  EXPECT_EQ(expected.at.PastEnd, actual.at.PastEnd);
  EXPECT_EQ(expected.stopped, actual.stopped);
}

using tooltest::RandomBytes;

// Text-like input with many long and short matches.
Bytes Wordy(std::size_t n, unsigned seed) {
  static const char* const words[] = {"alpha ", "beta ", "gamma\n", "aaaaaaaaaaaaaaaaaaaa", "ab", "x", "delta-epsilon "};
  std::mt19937 rng(seed);
  Bytes b;
  while (b.size() < n) {
    const char* w = words[rng() % 7];
    b.insert(b.end(), w, w + std::strlen(w));
    if (rng() % 5 == 0) b.push_back(static_cast<std::uint8_t>(rng()));
  }
  b.resize(n);
  return b;
}

TEST(BlockDecode, EqualsByteDecodingOnEncoderStreamsOfManySizes) {
  for (std::size_t n : {0u, 1u, 2u, 3u, 15u, 16u, 17u, 100u, 4095u, 4096u, 4097u, 65535u, 65536u, 65537u,
                        140000u, 300000u}) {
    SCOPED_TRACE(n);
    const Bytes input = Wordy(n, static_cast<unsigned>(n));
    const Bytes coded = lzh::Encode(input);
    const auto size = static_cast<std::int32_t>(n);
    const auto expected = DecodeByBytes(coded, size);
    EXPECT_TRUE(expected.output == input);
    ExpectSame(expected, DecodeByBlocks(coded, size));
  }
}

TEST(BlockDecode, EqualsByteDecodingOnRandomStreamsWithRebuilds) {
  // Random bits are mostly literals: 200,000 symbols rebuild the tree often.
  for (unsigned seed = 1; seed <= 4; ++seed) {
    const Bytes coded = RandomBytes(60000 * seed, seed);
    for (std::int32_t size : {1, 777, 65536, 200000, 2000000}) {
      SCOPED_TRACE(testing::Message() << seed << " " << size);
      ExpectSame(DecodeByBytes(coded, size), DecodeByBlocks(coded, size));
    }
  }
}

TEST(BlockDecode, OutputEndingInsideAMatchAndAtEveryBlockAlignment) {
  // Long matches of every distance class cross the block ends.
  const Bytes input = Wordy(70000, 7);
  const Bytes coded = lzh::Encode(input);
  for (std::int32_t size = 65536 - 70; size <= 65536 + 70; ++size) {
    SCOPED_TRACE(size);
    ExpectSame(DecodeByBytes(coded, size), DecodeByBlocks(coded, size));
  }
  const Bytes runs = StreamBuilder().Literal('Q').Copy(60, 1).Copy(60, 7).Copy(60, 16).Copy(30, 17).Finish();
  for (std::int32_t size = 1; size <= 212; ++size) ExpectSame(DecodeByBytes(runs, size), DecodeByBlocks(runs, size));
}

TEST(BlockDecode, ReadsOfEverySizeGiveTheSameResult) {
  const Bytes input = Wordy(20000, 3);
  const Bytes coded = lzh::Encode(input);
  const auto expected = DecodeByBytes(coded, 20000);
  for (std::size_t read = 1; read <= 20; ++read) ExpectSame(expected, DecodeByBlocks(coded, 20000, {read}));
  ExpectSame(expected, DecodeByBlocks(coded, 20000, {1, 9, 3, 64, 7, 8, 5000}));
}

TEST(BlockDecode, CountsBytesPastTheEndOfACutStreamAsTheByteReaderDoes) {
  const Bytes input = Wordy(5000, 9);
  Bytes coded = lzh::Encode(input);
  for (std::size_t cut : {0u, 1u, 2u, 3u, 10u, 100u, 1000u}) {
    SCOPED_TRACE(cut);
    const Bytes part(coded.begin(), coded.end() - static_cast<std::ptrdiff_t>(std::min(cut, coded.size())));
    ExpectSame(DecodeByBytes(part, 5000), DecodeByBlocks(part, 5000, {3}));
  }
}

TEST(BlockDecode, StopsAtTheFirstSymbolReadPastTheCodedLimit) {
  const Bytes input = Wordy(140000, 11);
  const Bytes coded = lzh::Encode(input);
  std::vector<std::int64_t> limits;
  for (std::int64_t l = 0; l < 40; ++l) limits.push_back(l);
  for (std::int64_t l = 1000; l < static_cast<std::int64_t>(coded.size()); l += 977) limits.push_back(l);
  limits.push_back(static_cast<std::int64_t>(coded.size()) - 1);
  limits.push_back(static_cast<std::int64_t>(coded.size()));
  for (std::int64_t limit : limits) {
    SCOPED_TRACE(limit);
    ExpectSame(DecodeByBytes(coded, 140000, limit), DecodeByBlocks(coded, 140000, {4096}, limit));
  }
}

// Random symbols with skew, so that runs of equal counts are long and the
// tree is rebuilt many times.
std::vector<int> SkewedSymbols(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<int> symbols(n);
  for (auto& s : symbols) s = static_cast<int>(rng() % (rng() % 8 == 0 ? lzh::SymbolCount : 20));
  return symbols;
}

bool SameTree(const lzh::LzhTree& a, const lzh::LzhTree& b) {
  return std::memcmp(a.Frequency, b.Frequency, sizeof a.Frequency) == 0 &&
         std::memcmp(a.Child, b.Child, sizeof a.Child) == 0 && std::memcmp(a.Parent, b.Parent, sizeof a.Parent) == 0;
}

TEST(SwapSearch, SimdAndScalarUpdatesGiveTheSameTrees) {
  auto simd = std::make_unique<lzh::LzhTree>();
  auto scalar = std::make_unique<lzh::LzhTree>();
  simd->Reset();
  scalar->Reset();
  int step = 0;
  for (int s : SkewedSymbols(300000, 5)) {
    simd->Update<true>(s);
    scalar->Update<false>(s);
    if (++step % 97 == 0) {
      ASSERT_TRUE(SameTree(*simd, *scalar)) << step;
    }
  }
  EXPECT_TRUE(SameTree(*simd, *scalar));
}

TEST(SwapSearch, SimdAndScalarStopAtTheSameEntry) {
  std::mt19937 rng(2);
  std::uint16_t f[lzh::NodeCount + 1 + lzh::FrequencyPadding];
  for (int round = 0; round < 200; ++round) {
    std::uint16_t v = 1;
    for (int i = 0; i < lzh::NodeCount; ++i) f[i] = v = static_cast<std::uint16_t>(v + (rng() % 4 == 0 ? rng() % 3 : 0));
    std::fill(f + lzh::NodeCount, std::end(f), 0xFFFF);
    for (unsigned from = 0; from <= lzh::NodeCount; from += 1 + rng() % 9) {
      const auto k = static_cast<std::uint16_t>(f[std::min<unsigned>(from + rng() % 40, lzh::NodeCount - 1)] + rng() % 2);
      ASSERT_EQ(lzh::FirstNotBelow<true>(f, from, k), lzh::FirstNotBelow<false>(f, from, k));
      ASSERT_EQ(lzh::FirstNotBelow<false>(f, from, k), lzh::FirstNotBelowScalar(f, from, k));
    }
  }
  EXPECT_EQ(lzh::FirstNotBelow<true>(f, 0, 0x8001), static_cast<unsigned>(lzh::NodeCount));
}

}  // namespace
}  // namespace lzhtest
