#include "lzh/StreamEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

#include "LzhTestSupport.h"
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
      case 2:
        out.insert(out.end(), 100 + rng() % 5000, static_cast<std::uint8_t>(rng()));
        break;
      case 3:
        for (int i = 0; i < 100; ++i)
          for (const char* c = words[rng() % 6]; *c; ++c) out.push_back(static_cast<std::uint8_t>(*c));
        break;
      default:
        for (int i = 0; i < 2000; ++i) out.push_back(static_cast<std::uint8_t>(rng()));
    }
  }
  return out;
}

const Bytes& SlidingCorpus() {
  static const Bytes corpus = MakeSlidingCorpus();
  return corpus;
}

struct Streamed {
  Bytes Coded;
  std::size_t LargestHandOff = 0;
  std::size_t HandedOnBeforeFinish = 0;
  std::int64_t BytesIn = 0;
  std::int64_t BytesOut = 0;
};

Streamed EncodeInChunks(const Bytes& data, std::size_t chunk, const lzh::EncoderOptions& options) {
  Streamed s;
  lzh::StreamEncoder encoder(
      [&s](std::span<const std::uint8_t> coded) {
        s.Coded.insert(s.Coded.end(), coded.begin(), coded.end());
        s.LargestHandOff = std::max(s.LargestHandOff, coded.size());
      },
      options);
  const std::span<const std::uint8_t> all(data);
  for (std::size_t at = 0; at < all.size(); at += chunk) {
    encoder.Put(all.subspan(at, std::min(chunk, all.size() - at)));
  }
  s.HandedOnBeforeFinish = s.Coded.size();
  encoder.Finish();
  s.BytesIn = encoder.BytesIn();
  s.BytesOut = encoder.BytesOut();
  return s;
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

// Pinned from the encoder that held the whole input in memory, with no
// window to slide: sliding must not change a single match.
constexpr Parse Parses[] = {
    {"lazy", {.Lazy = true}, 1936525, 0xd24081756cbd370bu},
    {"greedy", {.Lazy = false}, 1936538, 0xed5ff5e5434d68eau},
};

TEST(StreamEncoder, CodesTheSameBytesWhateverTheChunking) {
  const Bytes& data = SlidingCorpus();
  for (const Parse& parse : Parses) {
    SCOPED_TRACE(parse.Name);
    const Bytes whole = lzh::Encode(data, parse.Options);
    EXPECT_EQ(whole.size(), parse.CodedSize);
    EXPECT_EQ(Fingerprint(whole), parse.CodedFingerprint);
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{4096}, std::size_t{65537}}) {
      SCOPED_TRACE(chunk);
      const Streamed streamed = EncodeInChunks(data, chunk, parse.Options);
      EXPECT_TRUE(streamed.Coded == whole);
      EXPECT_EQ(streamed.BytesIn, static_cast<std::int64_t>(data.size()));
      EXPECT_EQ(streamed.BytesOut, static_cast<std::int64_t>(whole.size()));
    }
  }
}

TEST(StreamEncoder, CodedBytesLeaveInSmallChunksAsInputArrives) {
  const Bytes& data = SlidingCorpus();
  const Streamed streamed = EncodeInChunks(data, data.size(), {});
  EXPECT_LE(streamed.LargestHandOff, std::size_t{65536} + 64);
  EXPECT_GT(streamed.HandedOnBeforeFinish, streamed.Coded.size() * 9 / 10);
  EXPECT_TRUE(DecodeBytes(streamed.Coded, static_cast<std::int32_t>(data.size())) == data);
}

TEST(StreamEncoder, EmptyInputsCodeToNothing) {
  int handOffs = 0;
  const auto countHandOffs = [&handOffs](std::span<const std::uint8_t>) { ++handOffs; };

  lzh::StreamEncoder nothingPut(countHandOffs);
  nothingPut.Finish();
  EXPECT_EQ(nothingPut.BytesOut(), 0);

  lzh::StreamEncoder emptyPuts(countHandOffs);
  emptyPuts.Put({});
  emptyPuts.Put({});
  emptyPuts.Finish();
  EXPECT_EQ(emptyPuts.BytesIn(), 0);
  EXPECT_EQ(emptyPuts.BytesOut(), 0);
  EXPECT_EQ(handOffs, 0);
}

TEST(StreamEncoder, ShortInputsMatchTheWholeInputEncode) {
  // Around one position's look-ahead (62 bytes), put a byte at a time: what
  // is coded while bytes arrive and what is left for Finish must join up,
  // matches into the ring's initial spaces included.
  for (const Bytes& data : {Bytes{' '}, Bytes{'a', 'b'}, Bytes(61, ' '), Bytes(62, 'z'), Bytes(300, 'q')}) {
    SCOPED_TRACE(data.size());
    const Streamed streamed = EncodeInChunks(data, 1, {});
    EXPECT_TRUE(streamed.Coded == lzh::Encode(data));
    EXPECT_TRUE(DecodeBytes(streamed.Coded, static_cast<std::int32_t>(data.size())) == data);
  }
}

TEST(StreamEncoder, FinishEndsTheStream) {
  Bytes coded;
  lzh::StreamEncoder encoder(
      [&coded](std::span<const std::uint8_t> c) { coded.insert(coded.end(), c.begin(), c.end()); });
  const Bytes data(100, 'a');
  encoder.Put(data);
  encoder.Finish();
  const Bytes once = coded;
  encoder.Finish();
  EXPECT_TRUE(coded == once);
  EXPECT_THROW(encoder.Put(data), std::logic_error);
}

}  // namespace
}  // namespace lzhtest
