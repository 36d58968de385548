#include "base/win32/FileOps.h"

#include "base/Failure.h"

namespace {

// Records the failure with the platform's reason for it.
bool FailWithLastError(const char* what, std::string_view path) {
  return Fail(what, path, GetLastError());
}

// SetFilePointer with its high-order word, which every Win32 version has.
// INVALID_SET_FILE_POINTER is also a valid low word, so the error code
// decides; it is cleared first, as the call need not clear it on success.
bool MovePointer(HANDLE handle, std::int64_t distance, DWORD method, std::int64_t& position) {
  LONG high = static_cast<LONG>(distance >> 32);
  SetLastError(NO_ERROR);
  const DWORD low = SetFilePointer(handle, static_cast<LONG>(distance & 0xFFFFFFFF), &high, method);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return false;
  position = static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<DWORD>(high)) << 32 | low);
  return true;
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
  std::int64_t position = 0;
  if (offset < 0) return Fail("Cannot move in", file.Name);
  return MovePointer(file.Handle, offset, FILE_BEGIN, position) ||
         FailWithLastError("Cannot move in", file.Name);
}

bool TruncateGuarded(GuardedFile& file, std::int64_t size) {
  return SeekGuarded(file, size) && (SetEndOfFile(file.Handle) || FailWithLastError("Cannot shorten", file.Name));
}

bool SizeGuarded(GuardedFile& file, std::int64_t& size) {
  // As with SetFilePointer, INVALID_FILE_SIZE may be a valid low word.
  DWORD high = 0;
  SetLastError(NO_ERROR);
  const DWORD low = GetFileSize(file.Handle, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
    return FailWithLastError("Cannot size", file.Name);
  size = static_cast<std::int64_t>(static_cast<std::uint64_t>(high) << 32 | low);
  return true;
}

bool AtEndGuarded(GuardedFile& file, bool& atEnd) {
  std::int64_t position = 0;
  std::int64_t size = 0;
  if (!MovePointer(file.Handle, 0, FILE_CURRENT, position))
    return FailWithLastError("Cannot move in", file.Name);
  if (!SizeGuarded(file, size)) return false;
  atEnd = position >= size;
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
