#include "dest/DirectoryRules.h"

#include "dest/DestinationForm.h"
#include "driver/JoinPath.h"

bool DirExistsWith(const PathOps& ops, std::string_view path) {
  std::string probe(path);
  if (HasWildcard(probe)) probe = DirectoryPart(probe);
  if (probe.empty()) return false;
  if (probe.size() <= 3) return ops.DriveExists(probe[0]);
  return ops.FindsDirectory(WithoutTrailingBackslash(probe));
}

void CreateDirsWith(const PathOps& ops, std::string_view path, bool& succeeded) {
  const std::string directory = WithoutTrailingBackslash(path);
  if (!succeeded || directory.size() < 3 || DirExistsWith(ops, directory)) return;
  // Each level is at least one character shorter, so the recursion ends.
  CreateDirsWith(ops, DirectoryPart(directory), succeeded);
  if (ops.MakeDirectory(directory)) {
    succeeded = true;
  } else {
    succeeded = DirExistsWith(ops, directory);
  }
}
