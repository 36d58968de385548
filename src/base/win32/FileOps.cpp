#include "base/win32/FileOps.h"

#include "base/Failure.h"

namespace {

// Records the failure with the platform's reason for it.
bool FailWithLastError(const char* what, std::string_view path) {
  return Fail(what, path, GetLastError());
}

}  // namespace

void GuardedFile::CloseQuietly() {
  if (IsOpen()) CloseHandle(Handle);
  Handle = INVALID_HANDLE_VALUE;
}

HANDLE TryOpenFile(const char* path, DWORD access, DWORD share, DWORD creation) {
  return CreateFileA(path, access, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool AdoptGuarded(GuardedFile& file, HANDLE handle, std::string_view path) {
  file.CloseQuietly();
  file.Name = path;
  file.Handle = handle;
  return file.IsOpen() || FailWithLastError("Cannot open", path);
}

bool OpenGuarded(GuardedFile& file, std::string_view path, DWORD access, DWORD share,
                 DWORD creation) {
  const Path name = path;
  return AdoptGuarded(file, TryOpenFile(name.c_str(), access, share, creation), path);
}

bool ReadGuarded(GuardedFile& file, std::uint8_t* buffer, DWORD count, DWORD& read) {
  read = 0;
  return ReadFile(file.Handle, buffer, count, &read, nullptr) ||
         FailWithLastError("Cannot read", file.Name);
}

bool ReadExactlyGuarded(GuardedFile& file, std::uint8_t* buffer, DWORD count) {
  DWORD read = 0;
  if (!ReadGuarded(file, buffer, count, read)) return false;
  return read == count || Fail("Cannot read all of", file.Name);
}

bool WriteAllGuarded(GuardedFile& file, const std::uint8_t* buffer, DWORD count) {
  DWORD written = 0;
  if (!WriteFile(file.Handle, buffer, count, &written, nullptr))
    return FailWithLastError("Cannot write", file.Name);
  // A write that takes fewer bytes than it was given has run out of room.
  return written == count || Fail("Cannot write", file.Name, PlatformError::DiskFull);
}

bool SeekGuarded(GuardedFile& file, std::int64_t offset) {
  LARGE_INTEGER to{};
  to.QuadPart = offset;
  return (offset >= 0 && SetFilePointerEx(file.Handle, to, nullptr, FILE_BEGIN)) ||
         FailWithLastError("Cannot move in", file.Name);
}

bool TruncateGuarded(GuardedFile& file, std::int64_t size) {
  return SeekGuarded(file, size) && (SetEndOfFile(file.Handle) || FailWithLastError("Cannot shorten", file.Name));
}

bool SizeGuarded(GuardedFile& file, std::int64_t& size) {
  LARGE_INTEGER found{};
  if (!GetFileSizeEx(file.Handle, &found)) return FailWithLastError("Cannot size", file.Name);
  size = found.QuadPart;
  return true;
}

bool AtEndGuarded(GuardedFile& file, bool& atEnd) {
  LARGE_INTEGER position{};
  std::int64_t size = 0;
  if (!SetFilePointerEx(file.Handle, LARGE_INTEGER{}, &position, FILE_CURRENT))
    return FailWithLastError("Cannot move in", file.Name);
  if (!SizeGuarded(file, size)) return false;
  atEnd = position.QuadPart >= size;
  return true;
}

bool CloseGuarded(GuardedFile& file) {
  const HANDLE handle = file.Handle;
  file.Handle = INVALID_HANDLE_VALUE;
  return CloseHandle(handle) || FailWithLastError("Cannot close", file.Name);
}

DWORD FoundAttributes(const char* path) {
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return INVALID_FILE_ATTRIBUTES;
  FindClose(search);
  return found.dwFileAttributes;
}

bool IsExistingFile(const char* path) {
  const DWORD attributes = FoundAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsExistingDirectory(const char* path) {
  const DWORD attributes = FoundAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
