#include "driver/FileOps.h"

#include "driver/EFileFailure.h"

namespace {

[[noreturn]] void Fail(const char* what) { throw EFileFailure(what); }

}  // namespace

HANDLE TryOpenFile(const std::string& path, DWORD access, DWORD share, DWORD creation) {
  return CreateFileA(path.c_str(), access, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

HANDLE OpenFileGuarded(const std::string& path, DWORD access, DWORD share, DWORD creation) {
  const HANDLE file = TryOpenFile(path, access, share, creation);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot open a file");
  return file;
}

bool IsExistingFile(const std::string& path) {
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool AtEndGuarded(HANDLE file) {
  LARGE_INTEGER position{};
  LARGE_INTEGER size{};
  if (!SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT)) Fail("cannot tell a position");
  if (!GetFileSizeEx(file, &size)) Fail("cannot read a file size");
  return position.QuadPart >= size.QuadPart;
}

DWORD ReadGuarded(HANDLE file, std::uint8_t* buffer, DWORD count) {
  DWORD read = 0;
  if (!ReadFile(file, buffer, count, &read, nullptr)) Fail("cannot read a file");
  return read;
}

void WriteAllGuarded(HANDLE file, const std::uint8_t* buffer, DWORD count) {
  DWORD written = 0;
  if (!WriteFile(file, buffer, count, &written, nullptr) || written != count)
    Fail("cannot write a file");
}

void SeekGuarded(HANDLE file, std::int32_t offset) {
  LARGE_INTEGER to{};
  to.QuadPart = offset;
  if (!SetFilePointerEx(file, to, nullptr, FILE_BEGIN)) Fail("cannot move in a file");
}

void CloseGuarded(HANDLE file) {
  if (!CloseHandle(file)) Fail("cannot close a file");
}
