#include "lzh/ByteStreams.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/State.h"
#include "lzh/LzhEncoder.h"
#include "lzh/lzh.h"
#include "ui/Layout.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Memory in place of the two files, a counter for the queue, a settable
// clock and a record of every block write and of the gauge the stage draws.
struct FakePlatform {
  Bytes Input;
  std::size_t InputAt = 0;
  Bytes Output;
  std::vector<std::uint32_t> WriteSizes;
  std::uint32_t ShortWriteBy = 0;
  int Drains = 0;
  std::uint32_t Now = 0;
  std::uint32_t TickStep = 0;  // the clock advances this much per reading
  std::vector<std::int32_t> Drawn;
  std::function<void()> OnDrain;
};
FakePlatform Fake;

std::uint32_t FakeRead(std::uint8_t* buffer, std::uint32_t count) {
  std::uint32_t n = 0;
  while (n < count && Fake.InputAt < Fake.Input.size()) buffer[n++] = Fake.Input[Fake.InputAt++];
  return n;
}

std::uint32_t FakeWrite(const std::uint8_t* buffer, std::uint32_t count) {
  const std::uint32_t n = count > Fake.ShortWriteBy ? count - Fake.ShortWriteBy : 0;
  Fake.Output.insert(Fake.Output.end(), buffer, buffer + n);
  Fake.WriteSizes.push_back(count);
  return n;
}

void FakeDrain() {
  ++Fake.Drains;
  if (Fake.OnDrain) Fake.OnDrain();
}

std::uint32_t FakeTicks() { return Fake.Now += Fake.TickStep; }

// What the extraction stage does with a written block.
void FakeBlockWritten(std::int32_t writtenTotal) {
  const auto reading = GaugeChange(CurrentGauge, writtenTotal, Config.UnpackedSize, LastPercent);
  if (!reading) return;
  LastPercent = reading->Percent;
  Fake.Drawn.push_back(reading->Percent);
}

std::uint8_t In[ChunkBufferSize];
std::uint8_t Out[ChunkBufferSize];

class ByteStreams : public ::testing::Test {
 protected:
  void SetUp() override {
    Fake = FakePlatform{};
    InBuffer = In;
    OutBuffer = Out;
    BindStreamPorts({FakeRead, FakeWrite, FakeDrain, FakeTicks, FakeBlockWritten});
    CurrentGauge = GaugeBar{10, 0, 310, 20, 301, 0, 0};
    LastPercent = 0;
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

  void Flush() {
    std::uint16_t accepted = 77;
    const bool active = StageActive != 0;
    StreamWriteChunk(nullptr, 0, accepted);
    EXPECT_EQ(accepted, active ? 77 : 0);  // a flush leaves it unset
  }

  int ReadByte(std::uint16_t& delivered) {
    std::uint8_t byte = 0;
    StreamReadChunk(&byte, 1, delivered);
    return byte;
  }
};

TEST_F(ByteStreams, BlocksLeaveWhenTheNextByteArrivesAndTheGaugeFollows) {
  Config.UnpackedSize = 5000;
  EXPECT_EQ(WriteBytes(5000), (std::vector<int>{2049, 4097}));
  EXPECT_EQ(Fake.Drawn, (std::vector<std::int32_t>{41, 82}));
  Flush();
  EXPECT_EQ(Fake.WriteSizes, (std::vector<std::uint32_t>{2048, 2048, 904}));
  EXPECT_EQ(Fake.Drawn.size(), 2u);  // the flush never draws
  EXPECT_EQ(WrittenTotal, 4096);     // nor counts
  ASSERT_EQ(Fake.Output.size(), 5000u);
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(Fake.Output[i], static_cast<std::uint8_t>(i + 1));
  // 2048 bytes or fewer leave only through the flush.
  SetUp();
  EXPECT_TRUE(WriteBytes(2048).empty());
  Flush();
  EXPECT_EQ(Fake.WriteSizes, (std::vector<std::uint32_t>{2048}));
}

TEST_F(ByteStreams, AFailedOrShortWriteStopsTheStage) {
  Config.UnpackedSize = 10000;
  Fake.ShortWriteBy = 1;
  WriteBytes(2049);
  EXPECT_EQ(StageActive, 0);
  EXPECT_EQ(WrittenTotal, 2047);
  // Once stopped, nothing is taken, written or flushed.
  const std::size_t writes = Fake.WriteSizes.size();
  WriteBytes(3000);
  Flush();
  EXPECT_EQ(Fake.WriteSizes.size(), writes);
}

TEST_F(ByteStreams, OversizedWritesLoseNothing) {
  Config.UnpackedSize = 10000;
  Bytes big(5000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
  std::uint16_t accepted = 0;
  StreamWriteChunk(big.data(), 5000, accepted);
  EXPECT_EQ(accepted, 5000);
  Flush();
  EXPECT_EQ(Fake.Output, big);
}

TEST_F(ByteStreams, ReadsServeBlocksAndStopAtTheEnd) {
  for (int i = 0; i < 3000; ++i) Fake.Input.push_back(static_cast<std::uint8_t>(i % 251));
  std::uint16_t delivered = 0;
  for (int i = 0; i < 3000; ++i) {
    ASSERT_EQ(ReadByte(delivered), i % 251);
    ASSERT_EQ(delivered, 1);
  }
  ReadByte(delivered);
  EXPECT_EQ(delivered, 0);
  EXPECT_EQ(Fake.InputAt, 3000u);
  // A cancelled stage reads nothing and pumps nothing.
  SetUp();
  Fake.Input.assign(100, 0xAA);
  StageActive = 0;
  ReadByte(delivered);
  EXPECT_EQ(Fake.InputAt, 0u);
  EXPECT_EQ(Fake.Drains, 0);
}

TEST_F(ByteStreams, TheQueueIsDrainedOnceTenMillisecondsHavePassed) {
  EXPECT_FALSE(PumpDue(109, 100));
  EXPECT_TRUE(PumpDue(110, 100));
  EXPECT_TRUE(PumpDue(5, 0xFFFFFFFA));   // the clock wrapped: 11 ms
  EXPECT_FALSE(PumpDue(3, 0xFFFFFFFA));  // 9 ms
  Fake.Input.assign(1000, 1);
  Fake.TickStep = 1;  // every reading of the clock is 1 ms later
  std::uint16_t delivered = 0;
  for (int i = 0; i < 1000; ++i) ReadByte(delivered);
  EXPECT_GT(Fake.Drains, 40);
  EXPECT_LT(Fake.Drains, 110);
}

TEST_F(ByteStreams, ACancelInsideTheQueueStopsTheDecoder) {
  const Bytes text(200000, 'x');
  Fake.Input = lzh::Encode(text);
  Fake.TickStep = 5;
  Fake.OnDrain = [] {
    if (Fake.Drains == 3) StageActive = 0;
  };
  Config.UnpackedSize = static_cast<std::int32_t>(text.size());
  LzhDecode(Config.UnpackedSize, StreamReadChunk, StreamWriteChunk, &StageActive);
  EXPECT_EQ(StageActive, 0);
  EXPECT_LT(Fake.Output.size(), text.size());
}

TEST_F(ByteStreams, DecodeThroughTheStreamsRestoresTheInputAndConsumesItExactly) {
  Bytes text;
  for (int i = 0; i < 300000; ++i) text.push_back(static_cast<std::uint8_t>("diskspan "[i % 9] + (i / 4096) % 3));
  const Bytes coded = lzh::Encode(text);
  const auto codedSize = static_cast<std::int32_t>(coded.size());
  Fake.Input = coded;
  Fake.TickStep = 3;
  Config.UnpackedSize = static_cast<std::int32_t>(text.size());
  LzhDecode(Config.UnpackedSize, StreamReadChunk, StreamWriteChunk, &StageActive);
  Flush();
  EXPECT_EQ(Fake.Output, text);
  EXPECT_EQ(Fake.Drawn.back(), 100);  // the last full block: 299008 of 300000
  EXPECT_GT(Fake.Drains, 0);
  EXPECT_TRUE(InputConsumedExactly(codedSize));

  // Cut short, or run on into bytes of another stream: not the set's stream.
  for (const Bytes& input : {Bytes(coded.begin(), coded.end() - 100), [&] {
         Bytes longer = coded;
         longer.insert(longer.end(), 5000, 0x5A);
         return longer;
       }()}) {
    SetUp();
    Fake.Input = input;
    LzhDecode(Config.UnpackedSize, StreamReadChunk, StreamWriteChunk, &StageActive);
    EXPECT_FALSE(InputConsumedExactly(static_cast<std::int32_t>(input.size())));
  }
}

}  // namespace
