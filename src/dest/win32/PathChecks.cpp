#include "dest/win32/PathChecks.h"

#include <windows.h>

#include "base/win32/FileOps.h"
#include "dest/DirectoryRules.h"

namespace {

bool MakeDirectory(const char* path) { return CreateDirectoryA(path, nullptr) != 0; }

constexpr PathOps PlatformPathOps{DriveExists, IsExistingDirectory, MakeDirectory};

}  // namespace

bool DriveExists(char letter) {
  char upper[2] = {letter, '\0'};
  CharUpperBuffA(upper, 1);
  if (upper[0] < 'A' || upper[0] > 'Z') return false;
  const char root[4] = {upper[0], ':', '\\', '\0'};
  return GetDriveTypeA(root) >= DRIVE_REMOVABLE;
}

bool DirExists(std::string_view path) { return DirExistsWith(PlatformPathOps, path); }

bool CreateDirs(std::string_view path) { return CreateDirsWith(PlatformPathOps, path); }
