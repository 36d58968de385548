#include "extract/ExtractFiles.h"

#include <cstdint>
#include <string>

#include "config/FileTable.h"
#include "config/MessageTable.h"
#include "driver/EFileFailure.h"
#include "driver/FileOps.h"
#include "driver/JoinPath.h"
#include "driver/ProcessState.h"
#include "driver/StageActive.h"
#include "extract/ExtractionRules.h"
#include "extract/StampFileDate.h"

namespace {

// A failed write or close during a copy; raised by the next guarded
// operation, the open that dates the same entry.
bool PendingFailure = false;

void RaisePendingFailure() {
  if (!PendingFailure) return;
  PendingFailure = false;
  throw EFileFailure("cannot write an installed file");
}

// Asked without an owner window, captioned with the entry's bare name.
bool MayReplace(const FileEntry& entry, const std::string& path) {
  if (!IsExistingFile(path)) return true;
  return MessageBoxA(nullptr, MessageTable.OverwritePrompt.c_str(), entry.Name.c_str(),
                     MB_YESNO) == IDYES;
}

HANDLE CreateInstalledFile(const std::string& path) {
  HANDLE file = TryOpenFile(path, GENERIC_READ | GENERIC_WRITE, ShareReadWrite, CREATE_ALWAYS);
  if (file == INVALID_HANDLE_VALUE)
    file = TryOpenFile(path, GENERIC_READ | GENERIC_WRITE, ShareReadWrite, CREATE_ALWAYS);
  return file;
}

// Copies the entry's bytes; false when the source ends first.
bool CopyEntry(HANDLE source, HANDLE target, std::int32_t size) {
  std::uint8_t block[CopyBlockSize];
  std::int32_t done = 0;
  for (;;) {
    const std::int32_t want = NextCopyBlock(done, size);
    const bool last = IsLastCopyBlock(done, size);
    DWORD read = 0;
    DWORD written = 0;
    if (!ReadFile(source, block, static_cast<DWORD>(want), &read, nullptr)) read = 0;
    if (!WriteFile(target, block, read, &written, nullptr) || written != read)
      PendingFailure = true;
    done += static_cast<std::int32_t>(read);
    if (static_cast<std::int32_t>(read) < want) return false;
    if (last) return true;
  }
}

void ExtractEntry(HANDLE source, const FileEntry& entry) {
  if (!IsPlainFileName(entry.Name)) return;  // never written outside DestDir
  if (entry.Offset < 0 || entry.Size < 0) {
    StageActive = 0;
    return;
  }
  SeekGuarded(source, entry.Offset);
  const std::string path = JoinPath(DestDir, entry.Name);
  if (!MayReplace(entry, path)) return;
  const HANDLE target = CreateInstalledFile(path);
  if (target == INVALID_HANDLE_VALUE) return;
  const bool whole = CopyEntry(source, target, entry.Size);
  if (!CloseHandle(target)) PendingFailure = true;
  if (!whole) {
    // A short decoded stream: no truncated file is left installed.
    DeleteFileA(path.c_str());
    StageActive = 0;
    RaisePendingFailure();
    return;
  }
  RaisePendingFailure();
  StampFileDate(path, entry.Date);
}

}  // namespace

void ExtractFiles(HANDLE source) {
  PendingFailure = false;
  for (const FileRecord* record = FileTable.get(); record; record = record->Next.get())
    ExtractEntry(source, record->Entry);
}
