#include "extract/win32/ExtractFiles.h"

#include <cstdint>

#include "base/Failure.h"
#include "base/State.h"
#include "config/ConfigBlock.h"
#include "extract/ExtractionRules.h"

namespace {

enum class Copied { Whole, SourceEnded, Failed };

// Asked without an owner window, captioned with the entry's bare name.
bool MayReplace(const FileEntry& entry, const Path& path) {
  if (!IsExistingFile(path.c_str())) return true;
  return MessageBoxA(nullptr, MessageTable.OverwritePrompt, entry.Name.c_str(), MB_YESNO) == IDYES;
}

// Two attempts, then the user is asked: Retry tries again, Cancel ends the
// stage as a Cancel in the gauge does (INVALID_HANDLE_VALUE, StageActive
// cleared). A file the run did not write is never passed over in silence.
HANDLE CreateInstalledFile(const Path& path) {
  const DWORD access = GENERIC_READ | GENERIC_WRITE;
  for (;;) {
    HANDLE file = TryOpenFile(path.c_str(), access, ShareReadWrite, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE)
      file = TryOpenFile(path.c_str(), access, ShareReadWrite, CREATE_ALWAYS);
    if (file != INVALID_HANDLE_VALUE) return file;
    const Failure cannot{"Cannot create", path, GetLastError()};
    if (MessageBoxA(nullptr, FailureText(cannot).c_str(), MessageTable.Caption.c_str(),
                    MB_RETRYCANCEL) != IDRETRY) {
      StageActive = 0;
      return INVALID_HANDLE_VALUE;
    }
  }
}

Copied CopyEntry(GuardedFile& source, GuardedFile& target, std::int32_t size) {
  std::uint8_t block[BlockSize];
  std::int32_t done = 0;
  for (;;) {
    const std::int32_t want = NextCopyBlock(done, size);
    const bool last = IsLastCopyBlock(done, size);
    DWORD read = 0;
    if (!ReadGuarded(source, block, static_cast<DWORD>(want), read)) return Copied::Failed;
    if (!WriteAllGuarded(target, block, read)) return Copied::Failed;
    done += static_cast<std::int32_t>(read);
    if (static_cast<std::int32_t>(read) < want) return Copied::SourceEnded;
    if (last) return Copied::Whole;
  }
}

// The date is local time: DOS fields, then local, then universal file time.
void SetLastWriteTime(HANDLE file, std::int32_t date) {
  const auto packed = static_cast<std::uint32_t>(date);
  FILETIME local{};
  FILETIME universal{};
  if (!DosDateTimeToFileTime(static_cast<WORD>(packed >> 16), static_cast<WORD>(packed & 0xFFFF),
                             &local))
    return;
  if (!LocalFileTimeToFileTime(&local, &universal)) return;
  SetFileTime(file, nullptr, nullptr, &universal);
}

// False when the extraction must stop: the user cancelled or the run failed.
bool ExtractEntry(GuardedFile& source, const FileEntry& entry) {
  // Never written outside DestDir, nor to a device.
  if (!IsPlainFileName(entry.Name))
    return Fail("Cannot install", entry.Name, PlatformError::InvalidName);
  if (entry.Offset < 0 || entry.Size < 0) {
    StageActive = 0;
    return true;
  }
  if (!SeekGuarded(source, entry.Offset)) return false;
  const Path path = JoinPath(DestDir, entry.Name);
  if (!MayReplace(entry, path)) return true;  // "No" keeps the old file: the user's choice
  const HANDLE created = CreateInstalledFile(path);
  if (created == INVALID_HANDLE_VALUE) return false;
  GuardedFile target;
  AdoptGuarded(target, created, path);
  const Copied copied = CopyEntry(source, target, entry.Size);
  const bool closed = CloseGuarded(target);
  if (copied == Copied::SourceEnded) {
    // A short decoded stream: no truncated file is left installed.
    DeleteFileA(path.c_str());
    StageActive = 0;
    return true;
  }
  if (copied == Copied::Whole && closed) StampFileDate(path.c_str(), entry.Date);
  return !Failed();
}

}  // namespace

void ExtractFiles(GuardedFile& source) {
  for (const FileRecord* record = FileTable; record; record = record->Next)
    if (!ExtractEntry(source, record->Entry)) return;
}

void StampFileDate(const char* path, std::int32_t date) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly && !SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY)) return;
  GuardedFile file;
  if (!OpenGuarded(file, path, GENERIC_READ | GENERIC_WRITE, ShareReadWrite, OPEN_EXISTING)) return;
  SetLastWriteTime(file.Handle, date);
  if (!CloseGuarded(file)) return;
  if (readOnly) SetFileAttributesA(path, attributes);
}
