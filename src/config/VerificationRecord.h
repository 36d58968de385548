// The verification record: CRC-32s of a set's parts, which the packer
// writes between the stub's own bytes and the file table. A reader that
// takes the configuration block from the end of the file never sees it,
// so sets with a record install on stubs that know nothing of it, and sets
// without one install as before.
//
//   offset  size  field
//   0       8     Signature "DSVERIFY"
//   8       2     Version (2; 1 in sets made before the block was covered)
//   10      2     Flags (0)
//   12      4     StubSize: bytes of the file before the record
//   16      4     StubCrc: CRC-32 of those bytes
//   20      2     VolumeCount
//   22      2     FileCount
//   24      4     BlockCrc (version 2 only): CRC-32 of the file table and
//                 the trailer, every byte after the record
//   28      4     CodePage (version 2 only): the Windows code page of the
//                 set's names and texts; 0 when it is not stated
//   ..      4*V   VolumeCrc, volume 1 first: CRC-32 of each volume file
//   ..      4*F   FileCrc, in file table order: CRC-32 of each file's bytes
//   ..      4     RecordSize: the whole record, 48 + 4*(V+F) bytes (40 in version 1)
//   ..      8     Signature "DSVERIFY" again
//   ..      4     RecordCrc: CRC-32 of every record byte before it
//
// Numbers are little-endian and unsigned. The footer's fixed place, just
// before the file table, is where readers look. A footer found there means
// the set carries a record: one that then fails a check is damage, never
// the absence of a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr std::size_t VerificationFooterSize = 16;
inline constexpr std::uint16_t VerificationVersion = 2;  // the version the packer writes
inline constexpr std::size_t MaxVerifiedVolumes = 255;
inline constexpr std::size_t MaxVerifiedFiles = 255;

constexpr std::size_t VerificationHeaderSize(std::uint16_t version = VerificationVersion) {
  return version >= 2 ? 32 : 24;
}

constexpr std::size_t VerificationRecordSize(std::size_t volumes, std::size_t files,
                                             std::uint16_t version = VerificationVersion) {
  return VerificationHeaderSize(version) + 4 * (volumes + files) + VerificationFooterSize;
}

// The smallest and largest records of any version this reader knows.
inline constexpr std::size_t SmallestVerificationRecord = VerificationRecordSize(0, 0, 1);
inline constexpr std::size_t LargestVerificationRecord =
    VerificationRecordSize(MaxVerifiedVolumes, MaxVerifiedFiles, VerificationVersion);

struct VerificationRecord {
  std::uint16_t Version = VerificationVersion;
  std::uint32_t StubSize = 0;
  std::uint32_t StubCrc = 0;
  std::uint16_t VolumeCount = 0;
  std::uint16_t FileCount = 0;
  std::uint32_t BlockCrc = 0;  // version 2: the file table and the trailer
  std::uint32_t CodePage = 0;  // version 2: the code page of the set's texts; 0 when not stated
  std::uint32_t VolumeCrc[MaxVerifiedVolumes] = {};
  std::uint32_t FileCrc[MaxVerifiedFiles] = {};
};

// What a reader makes of the record a footer announces.
enum class RecordState {
  Sound,          // read, and it belongs to the set
  NewerVersion,   // its own CRC-32 matches but its version is unknown: not checked
  BadCrc,         // damaged: its own CRC-32 does not match
  BadLayout,      // damaged: its signature, version or size disagree with its counts
  WrongStubSize,  // damaged: it was written for an installer of another size
  WrongCounts,    // damaged: it counts other volumes or files than the trailer
  BadBlock,       // damaged: the file table or the trailer fails BlockCrc
};

constexpr bool IsDamaged(RecordState state) {
  return state != RecordState::Sound && state != RecordState::NewerVersion;
}

// Writes the record (version 1 or 2, as `record.Version` says) into `out`,
// which holds exactly its size; false when the counts exceed the limits,
// the version is unknown or the size does not match.
bool EncodeVerificationRecord(const VerificationRecord& record, std::span<std::uint8_t> out);

// The record's size from the footer (the 16 bytes before the file table),
// or 0 when they are not a footer: no signature, or a size no record of a
// known version has. A size beyond the file table's offset is the
// caller's to refuse the same way.
std::size_t VerificationRecordSizeFromFooter(std::span<const std::uint8_t, VerificationFooterSize> footer);

// Decodes a whole record (`bytes` is exactly the size the footer gave):
// Sound when its own CRC, signatures, version and counts agree.
RecordState DecodeVerificationRecord(std::span<const std::uint8_t> bytes, VerificationRecord& record);

// Whether a record read soundly belongs to the set it sits in: it starts
// at `start`, where the installer's bytes end; it counts the trailer's
// volumes and files; and, in version 2, `blockCrc` (the CRC-32 of the file
// table and the trailer) is the one it holds.
RecordState CheckRecordBelongs(const VerificationRecord& record, std::int64_t start, int volumeCount,
                               int fileCount, std::uint32_t blockCrc);
