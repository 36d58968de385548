// The verification record reads back as written, and any damage to it (or a
// footer that is not one) makes it read as absent rather than wrong.
#include <gtest/gtest.h>

#include <vector>

#include "base/Crc32.h"
#include "config/VerificationRecord.h"

namespace {

VerificationRecord Sample(std::uint16_t volumes, std::uint16_t files) {
  VerificationRecord r;
  r.StubSize = 46080;
  r.StubCrc = 0x12345678;
  r.VolumeCount = volumes;
  r.FileCount = files;
  for (int i = 0; i < volumes; ++i) r.VolumeCrc[i] = 0xA0000000u + static_cast<std::uint32_t>(i);
  for (int i = 0; i < files; ++i) r.FileCrc[i] = 0xF0000000u + static_cast<std::uint32_t>(i);
  return r;
}

TEST(Crc32, MatchesTheStandardCheckValueInAnyPieces) {
  const std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(UpdateCrc32(0, digits, 9), 0xCBF43926u);
  EXPECT_EQ(UpdateCrc32(UpdateCrc32(0, digits, 4), digits + 4, 5), 0xCBF43926u);
  EXPECT_EQ(UpdateCrc32(0, digits, 0), 0u);
}

TEST(VerificationRecord, ReadsBackAsWrittenAtEveryCount) {
  for (const auto& [volumes, files] : {std::pair<std::uint16_t, std::uint16_t>{1, 0}, {3, 7}, {255, 255}}) {
    const VerificationRecord written = Sample(volumes, files);
    std::vector<std::uint8_t> bytes(VerificationRecordSize(volumes, files));
    ASSERT_TRUE(EncodeVerificationRecord(written, bytes));
    const auto footer = std::span(bytes).last<VerificationFooterSize>();
    EXPECT_EQ(VerificationRecordSizeFromFooter(footer), bytes.size());
    VerificationRecord read;
    ASSERT_TRUE(DecodeVerificationRecord(bytes, read));
    EXPECT_EQ(read.StubSize, written.StubSize);
    EXPECT_EQ(read.StubCrc, written.StubCrc);
    ASSERT_EQ(read.VolumeCount, volumes);
    ASSERT_EQ(read.FileCount, files);
    EXPECT_EQ(read.VolumeCrc[volumes - 1], written.VolumeCrc[volumes - 1]);
    if (files > 0) {
      EXPECT_EQ(read.FileCrc[files - 1], written.FileCrc[files - 1]);
    }
  }
}

TEST(VerificationRecord, AnyDamagedByteMakesItAbsent) {
  const VerificationRecord written = Sample(3, 2);
  std::vector<std::uint8_t> bytes(VerificationRecordSize(3, 2));
  ASSERT_TRUE(EncodeVerificationRecord(written, bytes));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::vector<std::uint8_t> damaged = bytes;
    damaged[i] ^= 0x01;
    VerificationRecord read;
    EXPECT_FALSE(DecodeVerificationRecord(damaged, read)) << "byte " << i;
  }
  // Too many counts, or a buffer of the wrong size, are refused when writing.
  VerificationRecord tooMany = Sample(3, 2);
  tooMany.VolumeCount = 256;
  EXPECT_FALSE(EncodeVerificationRecord(tooMany, bytes));
  std::vector<std::uint8_t> wrongSize(bytes.size() + 1);
  EXPECT_FALSE(EncodeVerificationRecord(written, wrongSize));
  // A stub's last bytes before a table are not a footer.
  const std::uint8_t noise[VerificationFooterSize] = {0x10, 0, 0, 0, 'D', 'S', 'V', 'E', 'R', 'I', 'F', 'X'};
  EXPECT_EQ(VerificationRecordSizeFromFooter(std::span<const std::uint8_t, VerificationFooterSize>(noise)), 0u);
}

}  // namespace
