// How the installer decides that a directory exists and creates a missing
// one parent first. The file-system questions are asked through PathOps,
// which the stub binds to the platform and the tests to a model.
#pragma once

#include <string>
#include <string_view>

struct PathOps {
  // The letter names a drive the platform knows.
  bool (*DriveExists)(char letter);
  // A search for the path finds an entry, and that entry is a directory.
  bool (*FindsDirectory)(const std::string& path);
  // Creates one directory; true on success.
  bool (*MakeDirectory)(const std::string& path);
};

// A path with "*" or "?" is judged by its directory part; a path of at most
// three characters by its drive letter; anything longer is searched for
// without one trailing backslash.
bool DirExistsWith(const PathOps& ops, std::string_view path);

// Creates `path` and every missing parent, parents first; a level is tried
// even when its parent failed. The caller passes `succeeded` set (cleared, the
// call does nothing); afterwards it tells whether the last level was made or
// exists. Failures are never raised.
void CreateDirsWith(const PathOps& ops, std::string_view path, bool& succeeded);
