// LzhDecode through the installer's callback interface.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <utility>

#include "LzhTestSupport.h"

namespace lzhtest {
namespace {

TEST(LzhDecode, RingStartsAsSpacesAndEveryDistanceCopies) {
  EXPECT_EQ(DecodeBytes(StreamBuilder().Copy(5, 100).Literal('x').Copy(3, 4036).Finish(), 9),
            Bytes({' ', ' ', ' ', ' ', ' ', 'x', ' ', ' ', ' '}));
  Bytes expected(4096);
  std::iota(expected.begin(), expected.end(), 0);
  StreamBuilder builder;
  builder.Literals(expected);
  for (int d = 1; d <= 4096; ++d) {
    builder.Copy(3, d);
    for (int k = 0; k < 3; ++k) expected.push_back(expected[expected.size() - static_cast<std::size_t>(d)]);
  }
  EXPECT_EQ(DecodeBytes(builder.Finish(), static_cast<std::int32_t>(expected.size())), expected);
}

TEST(LzhDecode, OutputSizeBoundsTheWorkWhateverTheStreamHolds) {
  // A match the size ends inside is handed out whole.
  EXPECT_EQ(DecodeBytes(StreamBuilder().Literal('Q').Copy(10, 1).Finish(), 4), Bytes(11, 'Q'));
  // No output, or a stage cleared before the start: no callback at all.
  using SizeAndActive = std::pair<std::int32_t, std::int32_t>;
  for (const auto& [size, active] : {SizeAndActive{0, 1}, {-1, 1}, {-2147483647 - 1, 1}, {10, 0}}) {
    CallbackHarness h(StreamBuilder().Literal('a').Finish());
    h.Decode(size, active);
    EXPECT_EQ(h.reads + h.writes, 0) << size;
  }
  // One byte per write (how far past the last bit it reads is checked
  // through the installer's streams).
  CallbackHarness h(StreamBuilder().Literals({'h', 'e', 'l', 'l', 'o'}).Finish());
  h.Decode(5);
  EXPECT_EQ(h.writes, 5);
  // A stream cut short still yields the output size.
  const Bytes text = Wordy(3000, 1);
  Bytes coded = StreamBuilder().Literals(text).Finish();
  coded.resize(coded.size() / 2);
  const Bytes out = DecodeBytes(coded, 3000);
  ASSERT_GE(out.size(), 3000u);
  // What the kept half codes comes out unchanged; the rest decodes from zero bits.
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + 1000, text.begin()));
  EXPECT_GE(DecodeBytes({}, 100).size(), 100u);
}

TEST(LzhDecode, ClearingTheStageStopsAtASymbolsEndAndCallbackErrorsPassThrough) {
  // The first refill takes two bytes; cleared in the first read, the second
  // delivers nothing: that symbol is finished from zero bits, nothing more read.
  CallbackHarness inRead(StreamBuilder().Literals(Bytes(50, 'z')).Finish());
  inRead.onRead = [](int n) { if (n == 1) StageActive = 0; };
  inRead.Decode(50);
  EXPECT_EQ(inRead.reads, 2);
  EXPECT_EQ(inRead.writes, 1);
  // Cleared inside a write, the match being written still ends whole.
  CallbackHarness inWrite(StreamBuilder().Literal('A').Copy(60, 1).Literal('B').Finish());
  inWrite.onWrite = [](int n) { if (n == 2) StageActive = 0; };
  inWrite.Decode(62);
  EXPECT_EQ(inWrite.output, Bytes(61, 'A'));
  // An exception leaves at once (and the tables are released).
  CallbackHarness throwing(StreamBuilder().Literals(Bytes(20, 'k')).Finish());
  throwing.onWrite = [](int n) { if (n == 3) throw std::runtime_error("disk full"); };
  EXPECT_THROW(throwing.Decode(20), std::runtime_error);
  EXPECT_EQ(throwing.writes, 3);
}

}  // namespace
}  // namespace lzhtest
