#include "config/win32/ReadConfigBlock.h"

#include <cstdint>

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

// The set's verification record, read from just before the file table when
// it is there and reads soundly; only the volumes' CRCs are kept. A set
// without one (or with one that does not fit this block) installs unchecked.
bool ReadVerificationRecord(GuardedFile& file, std::int64_t tableStart) {
  std::uint8_t bytes[VerificationRecordSize(MaxVerifiedVolumes, MaxVerifiedFiles)];
  VerificationRecord record;
  VerifiedVolumeCount = 0;
  if (tableStart < std::int64_t{VerificationRecordSize(0, 0)}) return true;
  std::uint8_t footer[VerificationFooterSize];
  if (!SeekGuarded(file, tableStart - std::int64_t{VerificationFooterSize}) ||
      !ReadExactlyGuarded(file, footer, VerificationFooterSize))
    return false;
  const std::size_t size = VerificationRecordSizeFromFooter(footer);
  const std::int64_t start = tableStart - static_cast<std::int64_t>(size);
  if (size == 0 || start < 0) return true;
  if (!SeekGuarded(file, start) || !ReadExactlyGuarded(file, bytes, static_cast<DWORD>(size))) return false;
  if (!DecodeVerificationRecord(std::span(bytes, size), record) || record.StubSize != start ||
      record.VolumeCount != Config.VolumeCount || record.FileCount != Config.FileCount)
    return true;
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
  if (!ReadVerificationRecord(file, *FileTableOffset(size, Config.FileCount))) return false;
  if (!CloseGuarded(file)) return false;
  // Checked whole before anything is created: a name Windows would read as
  // a device or as another file, a temporary's name, a twin or an entry
  // outside the decoded stream makes the set a damaged one.
  return FileTableIsSound(Config.UnpackedSize, SystemLeadByte, SystemUpperCase) ||
         Fail(DamagedSetText, "");
}
