#include "config/win32/ReadConfigBlock.h"

#include <cstdint>

#include "base/Crc32.h"
#include "base/Failure.h"
#include "base/State.h"
#include "base/win32/FileOps.h"
#include "config/Configuration.h"
#include "config/VerificationRecord.h"
#include "config/win32/SystemCodePage.h"

namespace {

// The widest field of the block.
constexpr std::size_t WidestField = DefaultDestDirFieldWidth;

bool ReadField(GuardedFile& file, std::size_t width, std::uint8_t* bytes) {
  return ReadExactlyGuarded(file, bytes, static_cast<DWORD>(width));
}

bool ReadTrailer(GuardedFile& file, std::int64_t size) {
  if (size < std::int64_t{ConfigTrailerSize}) return Fail("No configuration block in", file.Name);
  if (!SeekGuarded(file, size - std::int64_t{ConfigTrailerSize})) return false;
  ConfigTrailer trailer;
  std::uint8_t bytes[WidestField];
  for (std::size_t i = 0; i < TrailerFieldWidths.size(); ++i) {
    const auto field = static_cast<TrailerField>(i);
    if (!ReadField(file, TrailerFieldWidths[i], bytes)) return false;
    DecodeTrailerField(trailer, field, std::span(bytes, TrailerFieldWidths[i]));
    StoreTrailerField(field, trailer, Config, MessageTable);
  }
  return true;
}

bool ReadFileEntry(GuardedFile& file) {
  FileEntry entry;
  std::uint8_t bytes[WidestField];
  for (std::size_t i = 0; i < EntryFieldWidths.size(); ++i) {
    if (!ReadField(file, EntryFieldWidths[i], bytes)) return false;
    DecodeEntryField(entry, static_cast<EntryField>(i), std::span(bytes, EntryFieldWidths[i]));
  }
  return AppendFileRecord(entry);
}

bool ReadFileTable(GuardedFile& file, std::int64_t size) {
  const auto start = FileTableOffset(size, Config.FileCount);
  if (!start) return Fail("No room for the file table in", file.Name);
  if (!SeekGuarded(file, *start)) return false;
  for (int i = 0; i < Config.FileCount; ++i)
    if (!ReadFileEntry(file)) return false;
  return true;
}

// Shown when the record finds the installer's own block damaged.
constexpr const char* DamagedInstallerText = "The installer is damaged (get a good copy of disk 1):";

// The CRC-32 of the file table and the trailer, read again in pieces of
// `buffer`'s size from `tableStart` to the end of the file.
bool BlockCrc(GuardedFile& file, std::int64_t tableStart, std::int64_t size, std::uint8_t* buffer,
              std::size_t capacity, std::uint32_t& crc) {
  crc = 0;
  if (!SeekGuarded(file, tableStart)) return false;
  for (std::int64_t left = size - tableStart; left > 0;) {
    const auto piece = static_cast<DWORD>(left < std::int64_t(capacity) ? left : std::int64_t(capacity));
    if (!ReadExactlyGuarded(file, buffer, piece)) return false;
    crc = UpdateCrc32(crc, buffer, piece);
    left -= piece;
  }
  return true;
}

// The set's verification record, read from just before the file table when
// its footer is there; only the volumes' CRCs are kept. A set without one,
// or with one of a version this stub does not know, installs unchecked; a
// record that fails its checks (its own CRC, its counts, or in version 2
// the table's and trailer's CRC) makes the set a damaged one.
bool ReadVerificationRecord(GuardedFile& file, std::int64_t tableStart, std::int64_t fileSize) {
  std::uint8_t bytes[LargestVerificationRecord];
  VerificationRecord record;
  VerifiedVolumeCount = 0;
  if (tableStart < std::int64_t{SmallestVerificationRecord}) return true;
  std::uint8_t footer[VerificationFooterSize];
  if (!SeekGuarded(file, tableStart - std::int64_t{VerificationFooterSize}) ||
      !ReadExactlyGuarded(file, footer, VerificationFooterSize))
    return false;
  const std::size_t size = VerificationRecordSizeFromFooter(footer);
  const std::int64_t start = tableStart - static_cast<std::int64_t>(size);
  if (size == 0 || start < 0) return true;
  if (!SeekGuarded(file, start) || !ReadExactlyGuarded(file, bytes, static_cast<DWORD>(size))) return false;
  RecordState state = DecodeVerificationRecord(std::span(bytes, size), record);
  if (state == RecordState::NewerVersion) return true;
  std::uint32_t blockCrc = 0;
  if (state == RecordState::Sound && record.Version >= 2 &&
      !BlockCrc(file, tableStart, fileSize, bytes, sizeof bytes, blockCrc))
    return false;
  if (state == RecordState::Sound)
    state = CheckRecordBelongs(record, start, Config.VolumeCount, Config.FileCount, blockCrc);
  if (state != RecordState::Sound) return Fail(DamagedInstallerText, file.Name);
  for (int i = 0; i < record.VolumeCount; ++i) VolumeCrc[i] = record.VolumeCrc[i];
  VerifiedVolumeCount = record.VolumeCount;
  return true;
}

}  // namespace

bool ReadConfigBlock(std::string_view path) {
  GuardedFile file;
  std::int64_t size = 0;
  if (!OpenGuarded(file, path, GENERIC_READ, ShareReadWrite, OPEN_EXISTING)) return false;
  if (!SizeGuarded(file, size) || !ReadTrailer(file, size)) return false;
  StageActive = 1;
  ReleaseFileTable();
  if (!ReadFileTable(file, size)) return false;
  if (!ReadVerificationRecord(file, *FileTableOffset(size, Config.FileCount), size)) return false;
  if (!CloseGuarded(file)) return false;
  // Checked whole before anything is created: a name Windows would read as
  // a device or as another file, a temporary's name, a twin or an entry
  // outside the decoded stream makes the set a damaged one.
  return FileTableIsSound(Config.UnpackedSize, SystemLeadByte, SystemUpperCase) ||
         Fail(DamagedSetText, "");
}
