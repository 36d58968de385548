#include "lzh/ByteStreams.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "LzhTestSupport.h"
#include "lzh/LzhEncoder.h"

namespace lzhtest {
namespace {

// Memory in place of the two files, a counter for the queue, a settable
// clock, and a record of every block write and of the totals reported.
struct FakePlatform {
  Bytes Input, Output;
  std::size_t InputAt = 0;
  std::vector<std::uint32_t> WriteSizes;
  std::vector<std::int32_t> Reported;
  std::uint32_t ShortWriteBy = 0, Now = 0, TickStep = 0;  // the clock advances TickStep per reading
  int Drains = 0;
} Fake;

const StreamPorts FakePorts = {
    [](std::uint8_t* buffer, std::uint32_t count) {
      std::uint32_t n = 0;
      while (n < count && Fake.InputAt < Fake.Input.size()) buffer[n++] = Fake.Input[Fake.InputAt++];
      return n;
    },
    [](const std::uint8_t* buffer, std::uint32_t count) {
      const std::uint32_t n = count > Fake.ShortWriteBy ? count - Fake.ShortWriteBy : 0;
      Fake.Output.insert(Fake.Output.end(), buffer, buffer + n);
      Fake.WriteSizes.push_back(count);
      return n;
    },
    [] { ++Fake.Drains; },
    [] { return Fake.Now += Fake.TickStep; },
    [](std::int32_t writtenTotal) { Fake.Reported.push_back(writtenTotal); },
};

std::uint8_t In[ChunkBufferSize], Out[ChunkBufferSize];

class ByteStreams : public ::testing::Test {
 protected:
  void SetUp() override {
    Fake = FakePlatform{};
    InBuffer = In;
    OutBuffer = Out;
    BindStreamPorts(FakePorts);
    WrittenTotal = 0;
    StageActive = 1;
    ResetStreams();
  }
  // Writes bytes one by one as the decoder does; gives the 1-based numbers
  // of the bytes whose arrival sent a block out.
  std::vector<int> WriteBytes(int count) {
    std::vector<int> blockAt;
    for (int i = 1; i <= count; ++i) {
      const std::size_t before = Fake.WriteSizes.size();
      std::uint8_t byte = static_cast<std::uint8_t>(i);
      std::uint16_t accepted = 0;
      const bool active = StageActive != 0;
      StreamWriteChunk(&byte, 1, accepted);
      EXPECT_EQ(accepted, active ? 1 : 0);
      if (Fake.WriteSizes.size() != before) blockAt.push_back(i);
    }
    return blockAt;
  }
  static void Flush() {
    std::uint16_t unused = 0;
    StreamWriteChunk(nullptr, 0, unused);
  }
  std::uint16_t delivered = 0;
  int ReadByte() {
    std::uint8_t byte = 0;
    StreamReadChunk(&byte, 1, delivered);
    return byte;
  }
  void Decode(const Bytes& coded, std::int32_t size) {
    Fake.Input = coded;
    LzhDecode(size, StreamReadChunk, StreamWriteChunk, &StageActive);
  }
};

TEST_F(ByteStreams, BlocksLeaveWhenTheNextByteArrivesAndAShortWriteStopsTheStage) {
  EXPECT_EQ(WriteBytes(5000), (std::vector<int>{2049, 4097}));
  Flush();
  EXPECT_EQ(Fake.WriteSizes, (std::vector<std::uint32_t>{2048, 2048, 904}));
  EXPECT_EQ(Fake.Reported, (std::vector<std::int32_t>{2048, 4096}));  // the flush is neither reported
  EXPECT_EQ(WrittenTotal, 4096);                                       // nor counted
  // Writes larger than a block lose nothing.
  SetUp();
  Bytes big = Wordy(5000, 1);
  std::uint16_t accepted = 0;
  StreamWriteChunk(big.data(), 5000, accepted);
  EXPECT_EQ(accepted, 5000);
  Flush();
  EXPECT_EQ(Fake.Output, big);
  // One that overruns the block by a byte sends the block first.
  SetUp();
  WriteBytes(1999);
  StreamWriteChunk(big.data(), 50, accepted);
  Flush();
  EXPECT_EQ(Fake.WriteSizes, (std::vector<std::uint32_t>{1999, 50}));
  // A failed or short write stops the stage; then nothing is taken, written or flushed.
  SetUp();
  Fake.ShortWriteBy = 1;
  WriteBytes(2049);
  EXPECT_EQ(StageActive, 0);
  EXPECT_EQ(WrittenTotal, 2047);
  WriteBytes(3000);
  Flush();
  EXPECT_EQ(Fake.WriteSizes.size(), 1u);
}

TEST_F(ByteStreams, ReadsServeBlocksStopAtTheEndAndDrainTheQueueEveryTenMilliseconds) {
  EXPECT_FALSE(PumpDue(109, 100));
  EXPECT_TRUE(PumpDue(110, 100));
  EXPECT_TRUE(PumpDue(5, 0xFFFFFFFA));   // the clock wrapped: 11 ms
  EXPECT_FALSE(PumpDue(3, 0xFFFFFFFA));  // 9 ms
  for (int i = 0; i < 3000; ++i) Fake.Input.push_back(static_cast<std::uint8_t>(i % 251));
  Fake.TickStep = 1;  // every reading of the clock is 1 ms later
  for (int i = 0; i < 3000; ++i) ASSERT_TRUE(ReadByte() == i % 251 && delivered == 1) << i;
  EXPECT_EQ(ReadByte() + delivered, 0);
  EXPECT_GT(Fake.Drains, 3 * 40);
  EXPECT_LT(Fake.Drains, 3 * 110);
  // A cancelled stage reads nothing and pumps nothing, however late it is.
  SetUp();
  Fake.Input.assign(100, 0xAA);
  Fake.TickStep = 100;
  StageActive = 0;
  ReadByte();
  EXPECT_EQ(Fake.InputAt, 0u);
  EXPECT_EQ(Fake.Drains, 0);
}

// Past its last bit the decoder reads one byte or two: a stream cut short
// by two bytes, or one that runs on into another's, is not the set's stream.
TEST_F(ByteStreams, DecodeThroughTheStreamsRestoresTheInputAndConsumesItExactly) {
  for (unsigned seed = 1; seed <= 8; ++seed) {
    const Bytes text = Wordy(1000, seed), whole = lzh::Encode(text);
    Bytes longer = whole;
    longer.insert(longer.end(), 100, 0x5A);
    for (const Bytes& input : {whole, Bytes(whole.begin(), whole.end() - 2), longer}) {
      SetUp();
      Decode(input, 1000);
      EXPECT_EQ(InputConsumedExactly(static_cast<std::int32_t>(input.size())), input == whole)
          << seed << ": " << input.size() << " of " << whole.size();
    }
    Flush();  // the last match may run on past the size; what runs on in the input is never read
    ASSERT_GE(Fake.Output.size(), text.size());
    EXPECT_TRUE(std::equal(text.begin(), text.end(), Fake.Output.begin())) << seed;
  }
}

}  // namespace
}  // namespace lzhtest
