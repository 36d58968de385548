// How the parses rank, and how the parse is chosen.
#include <gtest/gtest.h>

#include "LzhTestSupport.h"
#include "lzh/LzhEncoder.h"

namespace lzhtest {
namespace {

using Parse = lzh::EncoderOptions::Parse;

std::size_t CodedSize(const Bytes& data, Parse parse) { return lzh::Encode(data, {.Parsing = parse}).size(); }

TEST(OptimalParse, CodesNoLargerThanTheLazyParseWhichBeatsTheGreedyOne) {
  const Bytes zeros(70000, 0);
  EXPECT_LE(CodedSize(zeros, Parse::Optimal), CodedSize(zeros, Parse::Lazy) + 8);
  const Bytes text = Wordy(100000, 8);
  EXPECT_LT(CodedSize(text, Parse::Optimal), CodedSize(text, Parse::Lazy));
  EXPECT_LE(CodedSize(text, Parse::Lazy), CodedSize(text, Parse::Greedy));
}

TEST(OptimalParse, UnsetParsingFollowsTheLazyFlag) {
  const Bytes text = Wordy(20000, 9);
  const Bytes lazy = lzh::Encode(text, {.Parsing = Parse::Lazy});
  EXPECT_TRUE(lzh::Encode(text, {.Lazy = true}) == lazy);
  EXPECT_TRUE(lzh::Encode(text, {.Lazy = false}) == lzh::Encode(text, {.Parsing = Parse::Greedy}));
  EXPECT_FALSE(lzh::Encode(text, {.Lazy = false}) == lazy);  // else the flag would go unseen
}

}  // namespace
}  // namespace lzhtest
