#include "dest/PathChecks.h"

#include <windows.h>

#include <string>

#include "dest/DirectoryRules.h"

namespace {

bool SearchFindsDirectory(const std::string& path) {
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

constexpr PathOps PlatformPathOps{DriveExists, SearchFindsDirectory, MakeDirectory};

}  // namespace

bool DriveExists(char letter) {
  char upper[2] = {letter, '\0'};
  CharUpperBuffA(upper, 1);
  if (upper[0] < 'A' || upper[0] > 'Z') return false;
  const char root[4] = {upper[0], ':', '\\', '\0'};
  return GetDriveTypeA(root) > DRIVE_UNKNOWN;
}

bool DirExists(std::string_view path) { return DirExistsWith(PlatformPathOps, path); }

void CreateDirs(std::string_view path, bool& succeeded) {
  CreateDirsWith(PlatformPathOps, path, succeeded);
}
