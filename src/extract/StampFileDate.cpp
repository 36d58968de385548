#include "extract/StampFileDate.h"

#include <windows.h>

#include "driver/FileOps.h"

namespace {

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

}  // namespace

void StampFileDate(const std::string& path, std::int32_t date) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly && !SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) return;
  OwnedFile file(OpenFileGuarded(path, GENERIC_READ | GENERIC_WRITE, ShareReadWrite, OPEN_EXISTING));
  SetLastWriteTime(file.get(), date);
  CloseGuarded(file.release());
  if (readOnly) SetFileAttributesA(path.c_str(), attributes);
}
