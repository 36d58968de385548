#include "extract/win32/ExtractFiles.h"

#include <cstdint>

#include "base/Failure.h"
#include "base/State.h"
#include "config/Configuration.h"
#include "config/win32/SystemCodePage.h"
#include "extract/ExtractionRules.h"

namespace {

enum class Copied { Whole, SourceEnded, Failed };
enum class Creation { Created, Skipped, Abandoned };

// Asked without an owner window, captioned with the entry's bare name.
bool MayReplace(const FileEntry& entry, const Path& path) {
  if (!IsExistingFile(path.c_str())) return true;
  return MessageBoxA(nullptr, MessageTable.OverwritePrompt, entry.Name.c_str(), MB_YESNO) == IDYES;
}

// The folders of an entry in a subfolder (BIN\DOCS\ of BIN\DOCS\A.TXT),
// made below DestDir one level at a time, as the destination is. Every
// component is a plain name (the table was checked), so none leaves DestDir.
// False, with the platform's reason, when a level cannot be made.
bool CreateFolders(const FileEntry& entry) {
  const std::string_view name = entry.Name;
  for (std::size_t end = NextSeparator(name, 0, SystemLeadByte); end < name.size();
       end = NextSeparator(name, end + 1, SystemLeadByte)) {
    const Path folder = JoinPath(DestDir, std::string_view(name.data(), end));
    if (!IsExistingDirectory(folder.c_str()) && !CreateDirectoryA(folder.c_str(), nullptr))
      return false;
  }
  return true;
}

HANDLE TryCreateInstalledFile(const FileEntry& entry, const Path& path) {
  if (!CreateFolders(entry)) return INVALID_HANDLE_VALUE;
  return TryOpenFile(path.c_str(), GENERIC_READ | GENERIC_WRITE, ShareReadWrite, CREATE_ALWAYS);
}

// Two attempts, then the user is asked, with no icon: Abort ends the stage
// as a Cancel in the gauge does (StageActive cleared), Retry tries again,
// Ignore leaves this file out and goes on with the next, and the final box
// then names it. A file the run did not write never passes in silence.
Creation CreateInstalledFile(const FileEntry& entry, const Path& path, HANDLE& file) {
  for (;;) {
    file = TryCreateInstalledFile(entry, path);
    if (file == INVALID_HANDLE_VALUE) file = TryCreateInstalledFile(entry, path);
    if (file != INVALID_HANDLE_VALUE) return Creation::Created;
    const Failure cannot{"Cannot create", path, GetLastError()};
    switch (MessageBoxA(nullptr, FailureText(cannot).c_str(), MessageTable.Caption.c_str(),
                        MB_ABORTRETRYIGNORE)) {
      case IDRETRY: break;
      case IDIGNORE: return Creation::Skipped;
      default: StageActive = 0; return Creation::Abandoned;
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
bool ExtractEntry(GuardedFile& source, FileRecord& record) {
  const FileEntry& entry = record.Entry;
  // The table was checked whole when it was read; never written outside
  // DestDir, to a device, or from outside the decoded stream.
  if (!EntryIsSound(entry, Config.UnpackedSize, SystemLeadByte)) return Fail(DamagedSetText, "");
  if (!SeekGuarded(source, entry.Offset)) return false;
  const Path path = JoinPath(DestDir, entry.Name);
  if (!MayReplace(entry, path)) return true;  // "No" keeps the old file: the user's choice
  HANDLE created = INVALID_HANDLE_VALUE;
  switch (CreateInstalledFile(entry, path, created)) {
    case Creation::Abandoned: return false;
    case Creation::Skipped:
      record.Skipped = true;
      ++SkippedFileCount;
      return true;
    case Creation::Created: break;
  }
  GuardedFile target;
  AdoptGuarded(target, created, path);
  const Copied copied = CopyEntry(source, target, entry.Size);
  const bool closed = CloseGuarded(target);
  if (copied == Copied::SourceEnded) {
    // Compress.Spt ended before the entry did: no truncated file is left
    // installed, and the run fails rather than pass for a Cancel.
    DeleteFileA(path.c_str());
    return Fail("Cannot read all of", source.Name);
  }
  if (copied == Copied::Whole && closed) StampFileDate(path.c_str(), entry.Date);
  return !Failed();
}

}  // namespace

void ExtractFiles(GuardedFile& source) {
  for (FileRecord* record = FileTable; record; record = record->Next)
    if (!ExtractEntry(source, *record)) return;
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
