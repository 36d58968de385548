// The verification record: CRC-32s of a set's parts, which the packer
// writes between the stub's own bytes and the file table. A reader that
// takes the configuration block from the end of the file never sees it,
// so sets with a record install on stubs that know nothing of it, and sets
// without one install as before.
//
//   offset  size  field
//   0       8     Signature "DSVERIFY"
//   8       2     Version (1)
//   10      2     Flags (0)
//   12      4     StubSize: bytes of the file before the record
//   16      4     StubCrc: CRC-32 of those bytes
//   20      2     VolumeCount
//   22      2     FileCount
//   24      4*V   VolumeCrc, volume 1 first: CRC-32 of each volume file
//   ..      4*F   FileCrc, in file table order: CRC-32 of each file's bytes
//   ..      4     RecordSize: the whole record, 40 + 4*(V+F) bytes
//   ..      8     Signature "DSVERIFY" again
//   ..      4     RecordCrc: CRC-32 of every record byte before it
//
// Numbers are little-endian and unsigned. The footer's fixed place, just
// before the file table, is where readers look.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr std::size_t VerificationHeaderSize = 24;
inline constexpr std::size_t VerificationFooterSize = 16;
inline constexpr std::uint16_t VerificationVersion = 1;
inline constexpr std::size_t MaxVerifiedVolumes = 255;
inline constexpr std::size_t MaxVerifiedFiles = 255;

constexpr std::size_t VerificationRecordSize(std::size_t volumes, std::size_t files) {
  return VerificationHeaderSize + 4 * (volumes + files) + VerificationFooterSize;
}

struct VerificationRecord {
  std::uint32_t StubSize = 0;
  std::uint32_t StubCrc = 0;
  std::uint16_t VolumeCount = 0;
  std::uint16_t FileCount = 0;
  std::uint32_t VolumeCrc[MaxVerifiedVolumes] = {};
  std::uint32_t FileCrc[MaxVerifiedFiles] = {};
};

// Writes the record into `out`, which holds exactly its size; returns false
// when the counts exceed the limits or the size does not match.
bool EncodeVerificationRecord(const VerificationRecord& record, std::span<std::uint8_t> out);

// The record's size from the footer (the 16 bytes before the file table),
// or 0 when they are not a footer.
std::size_t VerificationRecordSizeFromFooter(std::span<const std::uint8_t, VerificationFooterSize> footer);

// Decodes a whole record (`bytes` is exactly the size the footer gave);
// false when the signatures, the version, the counts, the size or the
// record's own CRC do not agree, in which case the set is read as one
// without a record.
bool DecodeVerificationRecord(std::span<const std::uint8_t> bytes, VerificationRecord& record);
