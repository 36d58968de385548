#include "dest/DirectoryRules.h"

#include "base/Path.h"

bool HasWildcard(std::string_view path) {
  return path.find_first_of("*?") != std::string_view::npos;
}

bool HasDestinationForm(std::string_view entry) {
  if (entry.size() < 2 || entry[0] < 'A' || entry[0] > 'Z' || entry[1] != ':') return false;
  // "C:FOO" would be relative to whatever directory is current on drive C:.
  return entry.size() == 2 || entry[2] == '\\';
}

std::string_view WithoutTrailingBackslash(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return path;
}

bool DirExistsWith(const PathOps& ops, std::string_view path) {
  std::string_view probe = path;
  if (HasWildcard(probe)) probe = DirectoryPart(probe);
  if (probe.empty()) return false;
  if (probe.size() <= 3) return ops.DriveExists(probe[0]);
  const Path directory = WithoutTrailingBackslash(probe);
  return ops.FindsDirectory(directory.c_str());
}

bool CreateDirsWith(const PathOps& ops, std::string_view path) {
  const Path directory = WithoutTrailingBackslash(path);
  if (directory.size() < 3 || DirExistsWith(ops, directory)) return true;
  // Each level is at least one character shorter, so the recursion ends.
  CreateDirsWith(ops, DirectoryPart(directory));
  return ops.MakeDirectory(directory.c_str()) || DirExistsWith(ops, directory);
}
