// The block decoder (64-bit refills, linear window) against the byte-at-a-
// time decoder, and the SSE2 swap search against the scalar one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <utility>

#include "LzhTestSupport.h"
#include "ToolTestSupport.h"
#include "lzh/BlockDecode.h"
#include "lzh/LzhDecoder.h"
#include "lzh/LzhEncoder.h"

namespace lzhtest {
namespace {

// Hands the coded bytes out in reads of the given sizes, in turn.
struct ChoppedSource {
  const Bytes& coded;
  std::vector<std::size_t> reads;
  std::size_t next = 0, turn = 0;
  std::size_t Read(std::uint8_t* out, std::size_t size) {
    const std::size_t n = std::min({size, reads[turn++ % reads.size()], coded.size() - next});
    std::copy_n(coded.begin() + static_cast<std::ptrdiff_t>(next), n, out);
    next += n;
    return n;
  }
};

// Decodes with DecodeBlocks and with DecodeWith, which counts the coded bytes
// as the tools' reader did (one byte ahead of the bits taken) and stops at
// the first symbol whose bits reach past `limit`, keeping the bytes before
// it. Both must give the same bytes, stop and coded position, which is where
// the last symbol handed on ends: the one read past the limit does not count,
// nor do the zeros it took where the stream had ended. Returns the bytes.
Bytes ExpectSameDecode(const Bytes& coded, std::int32_t size, std::vector<std::size_t> reads = {1 << 20},
                       std::int64_t limit = INT64_MAX) {
  Bytes expected;
  lzh::CodedPosition at, handedOn;
  bool stopped = false;
  auto source = [&]() -> std::uint8_t {
    if (at.Used < static_cast<std::int64_t>(coded.size())) return coded[static_cast<std::size_t>(at.Used++)];
    ++at.PastEnd;
    return 0;
  };
  auto byteSink = [&](std::uint8_t byte) {
    stopped = stopped || at.Used + at.PastEnd - 1 > limit;
    if (!stopped) expected.push_back(byte), handedOn = at;
  };
  auto goOn = [&] { return !stopped; };
  lzh::DecodeWith(*std::make_unique<lzh::DecoderTables>(), size, source, byteSink, goOn);
  // The byte decoder hands a final match out whole; the block decoder stops at the size.
  if (static_cast<std::int64_t>(expected.size()) > size) expected.resize(static_cast<std::size_t>(std::max(size, 0)));

  Bytes actual;
  const lzh::CodedPosition end = stopped ? handedOn : at;
  lzh::CodedPosition lastBlockAt = end;
  auto blockSink = [&](std::span<const std::uint8_t> bytes, const lzh::CodedPosition& blockAt) {
    // Whole blocks but the last, which is not empty.
    EXPECT_TRUE(actual.size() % lzh::BlockDecodeSize == 0 && !bytes.empty() && bytes.size() <= lzh::BlockDecodeSize)
        << actual.size() << "+" << bytes.size();
    actual.insert(actual.end(), bytes.begin(), bytes.end());
    lastBlockAt = blockAt;
  };
  ChoppedSource chopped{coded, std::move(reads)};
  const auto outcome = lzh::DecodeBlocks(*std::make_unique<lzh::LzhTree>(), size, chopped, blockSink, limit);
  EXPECT_TRUE(expected == actual) << expected.size() << " vs " << actual.size();
  for (const lzh::CodedPosition& p : {outcome.At, lastBlockAt})
    EXPECT_TRUE(p.Used == end.Used && p.PastEnd == end.PastEnd) << p.Used << "+" << p.PastEnd << " vs " << end.Used
                                                                 << "+" << end.PastEnd;
  EXPECT_EQ(stopped, outcome.StoppedAtLimit);
  return actual;
}

TEST(BlockDecode, EqualsByteDecodingOnEncoderAndRandomStreamsOfManySizesAndAtEveryBlockEnd) {
  for (std::size_t n : {0u, 1u, 2u, 3u, 15u, 16u, 17u, 100u, 4095u, 4096u, 4097u, 65535u, 65536u, 65537u,
                        140000u, 300000u}) {
    SCOPED_TRACE(n);
    const Bytes input = Wordy(n, static_cast<unsigned>(n));
    EXPECT_TRUE(ExpectSameDecode(lzh::Encode(input), static_cast<std::int32_t>(n)) == input);
  }
  // Output ending inside long matches of every distance class, across a block end.
  const Bytes coded = lzh::Encode(Wordy(70000, 7));
  for (std::int32_t size = 65536 - 70; size <= 65536 + 70; ++size) {
    SCOPED_TRACE(size);
    ExpectSameDecode(coded, size);
  }
  const Bytes runs = StreamBuilder().Literal('Q').Copy(60, 1).Copy(60, 7).Copy(60, 16).Copy(30, 17).Finish();
  for (std::int32_t size = 1; size <= 212; ++size) ExpectSameDecode(runs, size);
  // Random bits are mostly literals: 200,000 symbols rebuild the tree often.
  for (unsigned seed = 1; seed <= 4; ++seed)
    for (std::int32_t size : {1, 777, 65536, 200000, 2000000})
      ExpectSameDecode(tooltest::RandomBytes(60000 * seed, seed), size);
}

TEST(BlockDecode, ReadsOfEverySizeAndCutStreamsCountAsTheByteReaderDoes) {
  const Bytes coded = lzh::Encode(Wordy(20000, 3));
  for (std::size_t cut : {0u, 1u, 2u, 3u, 10u, 100u, 1000u}) {
    const Bytes part(coded.begin(), coded.end() - static_cast<std::ptrdiff_t>(cut));
    for (std::size_t read = 1; read <= 20; ++read) {
      SCOPED_TRACE(testing::Message() << "cut " << cut << " read " << read);
      ExpectSameDecode(part, 20000, {read});
    }
    ExpectSameDecode(part, 20000, {1, 9, 3, 64, 7, 8, 5000});
  }
}

// A mark notes, in one pass, what a decode stopped at that limit keeps.
TEST(BlockDecode, StopsAtTheFirstSymbolPastTheCodedLimitAndMarksWhereEachLimitWouldStop) {
  const Bytes coded = lzh::Encode(Wordy(140000, 11));
  const auto end = static_cast<std::int64_t>(coded.size());
  std::vector<std::int64_t> limits;
  for (std::int64_t l = 0; l < 40; ++l) limits.push_back(l);
  for (std::int64_t l = 1000; l < end; l += 977) limits.push_back(l);
  limits.insert(limits.end(), {end - 1, end});
  std::vector<std::int64_t> kept(limits.size());
  for (std::size_t i = 0; i < limits.size(); ++i) {
    SCOPED_TRACE(limits[i]);
    kept[i] = static_cast<std::int64_t>(ExpectSameDecode(coded, 140000, {4096}, limits[i]).size());
    // As when the disks after the limit are missing: the source ends there too.
    const Bytes held(coded.begin(), coded.begin() + limits[i]);
    EXPECT_EQ(ExpectSameDecode(held, 140000, {4096}, limits[i]).size(), static_cast<std::size_t>(kept[i]));
  }
  std::vector<std::int64_t> marked(limits.size());
  auto ignore = [](std::span<const std::uint8_t>, const lzh::CodedPosition&) {};
  ChoppedSource chopped{coded, {4096}};
  lzh::DecodeBlocks(*std::make_unique<lzh::LzhTree>(), 140000, chopped, ignore, lzh::NoCodedLimit,
                    {limits, marked});
  EXPECT_EQ(marked.back(), -1);  // the end itself is never passed
  marked.back() = 140000;
  EXPECT_EQ(marked, kept);
}

TEST(SwapSearch, SimdAndScalarUpdatesGiveTheSameTrees) {
  // Skewed symbols, so that runs of equal counts are long and the tree is rebuilt many times.
  lzh::LzhTree simd, scalar;
  simd.Reset();
  scalar.Reset();
  std::mt19937 rng(5);
  for (int step = 1; step <= 300000; ++step) {
    const int s = static_cast<int>(rng() % (rng() % 8 == 0 ? lzh::SymbolCount : 20));
    simd.Update<true>(s);
    scalar.Update<false>(s);
    if (step % 97 != 0 && step != 300000) continue;
    ASSERT_EQ(std::memcmp(&simd, &scalar, sizeof simd), 0) << step;  // frequencies, children and parents
  }
}

}  // namespace
}  // namespace lzhtest
