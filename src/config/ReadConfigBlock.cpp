#include "config/ReadConfigBlock.h"

#include <windows.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "config/Configuration.h"
#include "config/FileTable.h"
#include "config/MessageTable.h"
#include "driver/EFileFailure.h"
#include "driver/StageActive.h"

namespace {

void Check(bool succeeded, const std::string& what, const std::string& path) {
  if (!succeeded) throw EFileFailure(what + " " + path);
}

std::int64_t FileLength(HANDLE file, const std::string& path) {
  DWORD high = 0;
  SetLastError(NO_ERROR);
  const DWORD low = GetFileSize(file, &high);
  Check(!(low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR), "cannot size", path);
  Check(high == 0 && low <= LONG_MAX, "too large:", path);
  return low;
}

void SeekTo(HANDLE file, std::int64_t offset, const std::string& path) {
  Check(offset >= 0, "no configuration block in", path);
  const DWORD at = SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN);
  Check(at != INVALID_SET_FILE_POINTER, "cannot seek in", path);
}

std::vector<std::uint8_t> ReadExactly(HANDLE file, std::size_t width, const std::string& path) {
  std::vector<std::uint8_t> bytes(width);
  DWORD read = 0;
  const BOOL succeeded = ReadFile(file, bytes.data(), static_cast<DWORD>(width), &read, nullptr);
  Check(succeeded && read == width, "short read in", path);
  return bytes;
}

void ReadTrailer(HANDLE file, const std::string& path) {
  SeekTo(file, FileLength(file, path) - std::int64_t{ConfigTrailerSize}, path);
  ConfigTrailer trailer;
  for (std::size_t i = 0; i < TrailerFieldWidths.size(); ++i) {
    const auto field = static_cast<TrailerField>(i);
    DecodeTrailerField(trailer, field, ReadExactly(file, TrailerFieldWidths[i], path));
    StoreTrailerField(field, trailer, Config, MessageTable);
  }
}

FileEntry ReadFileEntry(HANDLE file, const std::string& path) {
  FileEntry entry;
  for (std::size_t i = 0; i < EntryFieldWidths.size(); ++i)
    DecodeEntryField(entry, static_cast<EntryField>(i),
                     ReadExactly(file, EntryFieldWidths[i], path));
  return entry;
}

void ReadFileTable(HANDLE file, const std::string& path) {
  const auto start = FileTableOffset(FileLength(file, path), Config.FileCount);
  Check(start.has_value(), "no room for the file table in", path);
  SeekTo(file, *start, path);
  for (int i = 0; i < Config.FileCount; ++i) AppendFileRecord(ReadFileEntry(file, path));
}

void ReadBlock(HANDLE file, const std::string& path) {
  ReadTrailer(file, path);
  StageActive = 1;
  ReleaseFileTable();
  ReadFileTable(file, path);
}

}  // namespace

void ReadConfigBlock(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  Check(file != INVALID_HANDLE_VALUE, "cannot open", path);
  try {
    ReadBlock(file, path);
  } catch (...) {
    CloseHandle(file);
    throw;
  }
  Check(CloseHandle(file) != 0, "cannot close", path);
}
