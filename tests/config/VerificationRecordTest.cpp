// The verification record reads back as written, and any damage to it (or a
// footer that is not one) makes it read as absent rather than wrong.
#include <gtest/gtest.h>

#include <vector>

#include "base/Crc32.h"
#include "config/VerificationRecord.h"

namespace {

std::vector<std::uint8_t> Encoded(const VerificationRecord& r) {
  std::vector<std::uint8_t> bytes(VerificationRecordSize(r.VolumeCount, r.FileCount));
  EXPECT_TRUE(EncodeVerificationRecord(r, bytes));
  return bytes;
}

VerificationRecord Sample(std::uint16_t volumes, std::uint16_t files) {
  VerificationRecord r{46080, 0x12345678, volumes, files};
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
    const std::vector<std::uint8_t> bytes = Encoded(Sample(volumes, files));
    EXPECT_EQ(VerificationRecordSizeFromFooter(std::span(bytes).last<VerificationFooterSize>()), bytes.size());
    VerificationRecord read;
    ASSERT_TRUE(DecodeVerificationRecord(bytes, read));
    EXPECT_EQ(Encoded(read), bytes);  // every field and CRC read back
  }
}

TEST(VerificationRecord, AnyDamagedByteOrWrongSizeMakesItAbsent) {
  const VerificationRecord written = Sample(3, 2);
  std::vector<std::uint8_t> bytes = Encoded(written);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::vector<std::uint8_t> damaged = bytes;
    damaged[i] ^= 0x01;
    VerificationRecord read;
    EXPECT_FALSE(DecodeVerificationRecord(damaged, read)) << "byte " << i;
  }
  VerificationRecord tooMany = written;
  tooMany.VolumeCount = 256;
  EXPECT_FALSE(EncodeVerificationRecord(tooMany, bytes));
  std::vector<std::uint8_t> wrongSize(bytes.size() + 1);
  EXPECT_FALSE(EncodeVerificationRecord(written, wrongSize));
  // A stub's last bytes before a table are not a footer.
  const std::uint8_t noise[VerificationFooterSize] = {0x10, 0, 0, 0, 'D', 'S', 'V', 'E', 'R', 'I', 'F', 'X'};
  EXPECT_EQ(VerificationRecordSizeFromFooter(std::span<const std::uint8_t, VerificationFooterSize>(noise)), 0u);
}

}  // namespace
