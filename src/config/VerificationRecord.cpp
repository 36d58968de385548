#include "config/VerificationRecord.h"

#include "base/Crc32.h"

namespace {

constexpr std::uint8_t Signature[8] = {'D', 'S', 'V', 'E', 'R', 'I', 'F', 'Y'};

void Put16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
  Put16(at, value);
  Put16(at + 2, value >> 16);
}

std::uint32_t Get16(const std::uint8_t* at) { return at[0] | static_cast<std::uint32_t>(at[1]) << 8; }
std::uint32_t Get32(const std::uint8_t* at) { return Get16(at) | Get16(at + 2) << 16; }

bool IsSignature(const std::uint8_t* at) {
  for (int i = 0; i < 8; ++i)
    if (at[i] != Signature[i]) return false;
  return true;
}

bool IsKnownVersion(std::uint32_t version) { return version == 1 || version == 2; }

}  // namespace

bool EncodeVerificationRecord(const VerificationRecord& r, std::span<std::uint8_t> out) {
  if (r.VolumeCount > MaxVerifiedVolumes || r.FileCount > MaxVerifiedFiles || !IsKnownVersion(r.Version))
    return false;
  const std::size_t size = VerificationRecordSize(r.VolumeCount, r.FileCount, r.Version);
  if (out.size() != size) return false;
  std::uint8_t* p = out.data();
  for (int i = 0; i < 8; ++i) p[i] = Signature[i];
  Put16(p + 8, r.Version);
  Put16(p + 10, 0);
  Put32(p + 12, r.StubSize);
  Put32(p + 16, r.StubCrc);
  Put16(p + 20, r.VolumeCount);
  Put16(p + 22, r.FileCount);
  if (r.Version >= 2) {
    Put32(p + 24, r.BlockCrc);
    Put32(p + 28, r.CodePage);
  }
  std::uint8_t* at = p + VerificationHeaderSize(r.Version);
  for (std::size_t i = 0; i < r.VolumeCount; ++i, at += 4) Put32(at, r.VolumeCrc[i]);
  for (std::size_t i = 0; i < r.FileCount; ++i, at += 4) Put32(at, r.FileCrc[i]);
  Put32(at, static_cast<std::uint32_t>(size));
  for (int i = 0; i < 8; ++i) at[4 + i] = Signature[i];
  Put32(at + 12, UpdateCrc32(0, p, size - 4));
  return true;
}

std::size_t VerificationRecordSizeFromFooter(std::span<const std::uint8_t, VerificationFooterSize> footer) {
  if (!IsSignature(footer.data() + 4)) return 0;
  const std::uint32_t size = Get32(footer.data());
  if (size < SmallestVerificationRecord || size > LargestVerificationRecord) return 0;
  return size;
}

RecordState DecodeVerificationRecord(std::span<const std::uint8_t> bytes, VerificationRecord& r) {
  if (bytes.size() < SmallestVerificationRecord) return RecordState::BadLayout;
  const std::uint8_t* p = bytes.data();
  const std::uint8_t* footer = p + bytes.size() - VerificationFooterSize;
  if (Get32(footer + 12) != UpdateCrc32(0, p, bytes.size() - 4)) return RecordState::BadCrc;
  const std::uint32_t version = Get16(p + 8);
  if (!IsSignature(p) || Get32(footer) != bytes.size() || !IsSignature(footer + 4) || version == 0)
    return RecordState::BadLayout;
  // A later version may lay out what follows otherwise: its CRC says it is
  // whole, but nothing more of it can be read.
  if (!IsKnownVersion(version)) return RecordState::NewerVersion;
  r.Version = static_cast<std::uint16_t>(version);
  r.StubSize = Get32(p + 12);
  r.StubCrc = Get32(p + 16);
  r.VolumeCount = static_cast<std::uint16_t>(Get16(p + 20));
  r.FileCount = static_cast<std::uint16_t>(Get16(p + 22));
  r.BlockCrc = r.Version >= 2 ? Get32(p + 24) : 0;
  r.CodePage = r.Version >= 2 ? Get32(p + 28) : 0;
  if (r.VolumeCount > MaxVerifiedVolumes || r.FileCount > MaxVerifiedFiles ||
      bytes.size() != VerificationRecordSize(r.VolumeCount, r.FileCount, r.Version))
    return RecordState::BadLayout;
  const std::uint8_t* at = p + VerificationHeaderSize(r.Version);
  for (std::size_t i = 0; i < r.VolumeCount; ++i, at += 4) r.VolumeCrc[i] = Get32(at);
  for (std::size_t i = 0; i < r.FileCount; ++i, at += 4) r.FileCrc[i] = Get32(at);
  return RecordState::Sound;
}

RecordState CheckRecordBelongs(const VerificationRecord& r, std::int64_t start, int volumeCount, int fileCount,
                               std::uint32_t blockCrc) {
  if (static_cast<std::int64_t>(r.StubSize) != start) return RecordState::WrongStubSize;
  if (r.VolumeCount != volumeCount || r.FileCount != fileCount) return RecordState::WrongCounts;
  if (r.Version >= 2 && r.BlockCrc != blockCrc) return RecordState::BadBlock;
  return RecordState::Sound;
}
