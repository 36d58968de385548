// The verification record reads back as written in both versions; a damaged
// record reads as damaged, never as absent, and one that does not belong to
// its set (or, in version 2, whose table and trailer changed) is told apart.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "base/Crc32.h"
#include "config/VerificationRecord.h"

namespace {

std::vector<std::uint8_t> Encoded(const VerificationRecord& r) {
  std::vector<std::uint8_t> bytes(VerificationRecordSize(r.VolumeCount, r.FileCount, r.Version));
  EXPECT_TRUE(EncodeVerificationRecord(r, bytes));
  return bytes;
}

VerificationRecord Sample(std::uint16_t volumes, std::uint16_t files, std::uint16_t version = 2) {
  VerificationRecord r{version, 46080, 0x12345678, volumes, files, version >= 2 ? 0xB10CB10Cu : 0u,
                       version >= 2 ? 1251u : 0u};
  for (int i = 0; i < volumes; ++i) r.VolumeCrc[i] = 0xA0000000u + static_cast<std::uint32_t>(i);
  for (int i = 0; i < files; ++i) r.FileCrc[i] = 0xF0000000u + static_cast<std::uint32_t>(i);
  return r;
}

TEST(Crc32, MatchesTheStandardCheckValueInAnyPieces) {
  const std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(UpdateCrc32(0, digits, 9), 0xCBF43926u);
  EXPECT_EQ(UpdateCrc32(UpdateCrc32(0, digits, 4), digits + 4, 5), 0xCBF43926u);
}

TEST(VerificationRecord, ReadsBackAsWrittenAtEveryCountInBothVersions) {
  for (const std::uint16_t version : {1, 2})
    for (const auto& [volumes, files] : {std::pair<std::uint16_t, std::uint16_t>{1, 0}, {3, 7}, {255, 255}}) {
      const std::vector<std::uint8_t> bytes = Encoded(Sample(volumes, files, version));
      EXPECT_EQ(bytes.size(), (version == 1 ? 40u : 48u) + 4u * (volumes + files));
      EXPECT_EQ(VerificationRecordSizeFromFooter(std::span(bytes).last<VerificationFooterSize>()), bytes.size());
      VerificationRecord read;
      ASSERT_EQ(DecodeVerificationRecord(bytes, read), RecordState::Sound);
      EXPECT_EQ(read.CodePage, version == 1 ? 0u : 1251u);
      EXPECT_EQ(Encoded(read), bytes);  // every field and CRC read back
    }
}

TEST(VerificationRecord, AnyDamagedByteIsDamageAndAWholeRecordOfALaterVersionIsNotRead) {
  const VerificationRecord written = Sample(3, 2);
  std::vector<std::uint8_t> bytes = Encoded(written);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::vector<std::uint8_t> damaged = bytes;
    damaged[i] ^= 0x01;
    VerificationRecord read;
    EXPECT_TRUE(IsDamaged(DecodeVerificationRecord(damaged, read))) << "byte " << i;
  }
  // Version 3 with its own CRC made right: whole, but not to be read.
  std::vector<std::uint8_t> later = bytes;
  later[8] = 3;
  const std::uint32_t crc = UpdateCrc32(0, later.data(), later.size() - 4);
  for (int i = 0; i < 4; ++i) later[later.size() - 4 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
  VerificationRecord read;
  EXPECT_EQ(DecodeVerificationRecord(later, read), RecordState::NewerVersion);

  VerificationRecord tooMany = written;
  tooMany.VolumeCount = 256;
  EXPECT_FALSE(EncodeVerificationRecord(tooMany, bytes));
  std::vector<std::uint8_t> wrongSize(bytes.size() + 1);
  EXPECT_FALSE(EncodeVerificationRecord(written, wrongSize));
  // A stub's last bytes before a table are not a footer, nor is a size no record has.
  std::uint8_t noise[VerificationFooterSize] = {0x10, 0, 0, 0, 'D', 'S', 'V', 'E', 'R', 'I', 'F', 'X'};
  EXPECT_EQ(VerificationRecordSizeFromFooter(noise), 0u);
  noise[11] = 'Y';
  EXPECT_EQ(VerificationRecordSizeFromFooter(noise), 0u);  // 16 bytes: too small
  noise[0] = 0x2C, noise[1] = 0x08;                          // 2092 bytes: too large
  EXPECT_EQ(VerificationRecordSizeFromFooter(noise), 0u);
}

TEST(VerificationRecord, BelongsToTheSetItStartsCountsAndCoversOnly) {
  const VerificationRecord v2 = Sample(3, 2), v1 = Sample(3, 2, 1);
  // The record, its stub's size, the volume and file counts and the block CRC found.
  const std::tuple<const VerificationRecord*, std::int64_t, int, int, std::uint32_t, RecordState> cases[] = {
      {&v2, 46080, 3, 2, 0xB10CB10C, RecordState::Sound},       {&v2, 46081, 3, 2, 0xB10CB10C, RecordState::WrongStubSize},
      {&v2, 46080, 4, 2, 0xB10CB10C, RecordState::WrongCounts}, {&v2, 46080, 3, 1, 0xB10CB10C, RecordState::WrongCounts},
      {&v2, 46080, 3, 2, 0xB10CB10D, RecordState::BadBlock},
      {&v1, 46080, 3, 2, 0x12345678, RecordState::Sound},  // version 1 covers no block
  };
  for (const auto& [record, start, volumes, files, blockCrc, expected] : cases)
    EXPECT_EQ(CheckRecordBelongs(*record, start, volumes, files, blockCrc), expected)
        << start << " " << volumes << " " << files << " " << blockCrc;
}

}  // namespace
