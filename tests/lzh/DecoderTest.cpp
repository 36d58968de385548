#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "LzhTestSupport.h"

namespace lzhtest {

namespace {

Bytes Repeat(std::uint8_t b, std::size_t n) { return Bytes(n, b); }

TEST(LzhDecode, RingStartsAsSpaces) {
  const Bytes coded = StreamBuilder().Copy(5, 100).Literal('x').Copy(3, 4036).Finish();
  EXPECT_EQ(DecodeBytes(coded, 9), Bytes({' ', ' ', ' ', ' ', ' ', 'x', ' ', ' ', ' '}));
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
