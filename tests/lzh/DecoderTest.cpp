#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "LzhTestSupport.h"
#include "lzh/LzhTree.h"

namespace lzhtest {

namespace {

Bytes Repeat(std::uint8_t b, std::size_t n) { return Bytes(n, b); }

TEST(LzhDecode, RingStartsAsSpaces) {
  const Bytes coded = StreamBuilder().Copy(5, 100).Literal('x').Copy(3, 4036).Finish();
  EXPECT_EQ(DecodeBytes(coded, 9), Bytes({' ', ' ', ' ', ' ', ' ', 'x', ' ', ' ', ' '}));
}

TEST(LzhDecode, DistanceOneRepeatsTheLastByte) {
  const Bytes coded = StreamBuilder().Literal('A').Copy(60, 1).Literal('B').Finish();
  Bytes expected = Repeat('A', 61);
  expected.push_back('B');
  EXPECT_EQ(DecodeBytes(coded, 62), expected);
}

TEST(LzhDecode, DistanceFourThousandNinetySixReadsTheOldestRingByte) {
  Bytes text(4096);
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  const Bytes coded = StreamBuilder().Literals(text).Copy(60, 4096).Finish();
  Bytes expected = text;
  expected.insert(expected.end(), text.begin(), text.begin() + 60);
  EXPECT_EQ(DecodeBytes(coded, static_cast<std::int32_t>(expected.size())), expected);
}

TEST(LzhDecode, MatchRunsToItsFullLengthPastTheOutputSize) {
  // The size ends inside the match, but the match is handed out whole.
  const Bytes coded = StreamBuilder().Literal('Q').Copy(10, 1).Finish();
  CallbackHarness h;
  h.input = coded;
  h.Decode(4);
  EXPECT_EQ(h.output, Repeat('Q', 11));
}

TEST(LzhDecode, OutputSizeZeroOrLessReadsAndWritesNothing) {
  for (std::int32_t size : {0, -1, -2147483647 - 1}) {
    CallbackHarness h;
    h.input = StreamBuilder().Literal('a').Finish();
    h.Decode(size);
    EXPECT_EQ(h.reads, 0);
    EXPECT_EQ(h.writes, 0);
  }
}

TEST(LzhDecode, TruncatedStreamStillYieldsTheOutputSize) {
  Bytes text;
  for (int i = 0; i < 3000; ++i) text.push_back(static_cast<std::uint8_t>("abcdefgh"[i % 8] + i / 500));
  StreamBuilder builder;
  const Bytes coded = builder.Literals(text).Finish();
  const Bytes cut(coded.begin(), coded.begin() + static_cast<std::ptrdiff_t>(coded.size() / 2));
  const Bytes out = DecodeBytes(cut, 3000);
  ASSERT_GE(out.size(), 3000u);
  // What the kept half codes comes out unchanged; the rest decodes from zero bits.
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + 1000, text.begin()));
  EXPECT_EQ(DecodeBytes({}, 100).size() >= 100, true);
}

TEST(LzhDecode, ReadsOneByteAtATimeAndAtMostTwoPastTheLastBit) {
  const Bytes coded = StreamBuilder().Literals({'h', 'e', 'l', 'l', 'o'}).Finish();
  CallbackHarness h;
  h.input = coded;
  h.Decode(5);
  EXPECT_EQ(h.output, Bytes({'h', 'e', 'l', 'l', 'o'}));
  EXPECT_EQ(h.writes, 5);
  EXPECT_LE(h.reads, static_cast<int>(coded.size()) + 2);
}

TEST(LzhDecode, StageClearedBeforeTheStartDecodesNothing) {
  CallbackHarness h;
  h.input = StreamBuilder().Literal('a').Finish();
  CallbackHarness::current = &h;
  StageActive = 0;
  LzhDecode(10, &CallbackHarness::Read, &CallbackHarness::Write, &StageActive);
  StageActive = 1;
  EXPECT_EQ(h.reads, 0);
  EXPECT_EQ(h.writes, 0);
}

TEST(LzhDecode, StageClearedInsideAReadFinishesThatSymbolOnly) {
  // The first refill takes two bytes; clearing the flag in the first read
  // makes the second deliver nothing. The first symbol is finished from
  // zero bits and handed out, and nothing more is read.
  CallbackHarness h;
  h.input = StreamBuilder().Literals(Repeat('z', 50)).Finish();
  h.onRead = [](int n) { if (n == 1) StageActive = 0; };
  h.Decode(50);
  EXPECT_EQ(h.reads, 2);
  EXPECT_EQ(h.writes, 1);
}

TEST(LzhDecode, StageClearedInsideAWriteEndsAfterTheWholeMatch) {
  CallbackHarness h;
  h.input = StreamBuilder().Literal('A').Copy(60, 1).Literal('B').Finish();
  h.onWrite = [](int n) { if (n == 2) StageActive = 0; };
  h.Decode(62);
  EXPECT_EQ(h.output, Repeat('A', 61));
}

TEST(LzhDecode, CallbackErrorsPassThrough) {
  CallbackHarness h;
  h.input = StreamBuilder().Literals(Repeat('k', 20)).Finish();
  h.onWrite = [](int n) { if (n == 3) throw std::runtime_error("disk full"); };
  EXPECT_THROW(h.Decode(20), std::runtime_error);
  EXPECT_EQ(h.writes, 3);
}

// The sibling property and the parent links hold after every update.
void ExpectTreeConsistent(const lzh::LzhTree& t) {
  for (int n = 0; n < lzh::Root; ++n) ASSERT_LE(t.Frequency[n], t.Frequency[n + 1]) << n;
  ASSERT_EQ(t.Frequency[lzh::NodeCount], 0xFFFF);
  for (int n = lzh::SymbolCount; n <= lzh::Root; ++n) {
    const int c = t.Child[n];
    if (c >= lzh::NodeCount) {
      ASSERT_EQ(t.Parent[c], n);
    } else {
      ASSERT_EQ(t.Parent[c], n);
      ASSERT_EQ(t.Parent[c + 1], n);
      ASSERT_EQ(t.Frequency[n], t.Frequency[c] + t.Frequency[c + 1]) << n;
    }
  }
}

TEST(LzhTree, FirstRebuildComesAfter32454SymbolsAndLaterOnesRepeat) {
  auto tree = std::make_unique<lzh::LzhTree>();
  tree->Reset();
  EXPECT_EQ(tree->Frequency[lzh::Root], 314);
  std::mt19937 rng(7);
  std::geometric_distribution<int> skewed(0.05);
  for (int i = 0; i < 32454; ++i) tree->Update(std::min(skewed(rng), lzh::SymbolCount - 1));
  EXPECT_EQ(tree->Frequency[lzh::Root], lzh::RebuildLimit);
  ExpectTreeConsistent(*tree);

  // The next update rebuilds first: every leaf halved, rounding up.
  std::vector<int> before(lzh::SymbolCount);
  for (int n = 0; n < lzh::NodeCount; ++n)
    if (tree->Child[n] >= lzh::NodeCount) before[tree->Child[n] - lzh::NodeCount] = tree->Frequency[n];
  tree->Update(0);
  int expectedRoot = 1;
  for (int f : before) expectedRoot += (f + 1) / 2;
  EXPECT_EQ(tree->Frequency[lzh::Root], expectedRoot);
  ExpectTreeConsistent(*tree);

  int rebuilds = 1;
  for (int i = 0; i < 200000; ++i) {
    if (tree->Frequency[lzh::Root] == lzh::RebuildLimit) ++rebuilds;
    tree->Update(std::min(skewed(rng), lzh::SymbolCount - 1));
  }
  EXPECT_GT(rebuilds, 5);
  ExpectTreeConsistent(*tree);
}

TEST(LzhDecode, EveryPositionRoundTrips) {
  Bytes text(4096);
  std::iota(text.begin(), text.end(), 0);
  StreamBuilder builder;
  builder.Literals(text);
  Bytes expected = text;
  for (int d = 1; d <= 4096; d += 1) {
    builder.Copy(3, d);
    const std::size_t from = expected.size() - static_cast<std::size_t>(d);
    for (int k = 0; k < 3; ++k) expected.push_back(expected[from + static_cast<std::size_t>(k)]);
  }
  EXPECT_EQ(DecodeBytes(builder.Finish(), static_cast<std::int32_t>(expected.size())), expected);
}

}  // namespace
}  // namespace lzhtest
