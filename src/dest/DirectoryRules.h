// The destination's rules: the form of an entry, and how the installer
// decides that a directory exists and creates a missing one parent first.
// The file-system questions are asked through PathOps, which the stub binds
// to the platform and the tests to a model.
#pragma once

#include <string_view>

// The most characters read back from the destination field.
inline constexpr int MaxDestinationLength = 254;

bool HasWildcard(std::string_view path);

// "A" to "Z" first, a colon second, then nothing or a backslash: a path
// from the drive's root, never one relative to its current directory.
bool HasDestinationForm(std::string_view entry);

// The path without one trailing backslash, if it has one.
std::string_view WithoutTrailingBackslash(std::string_view path);

struct PathOps {
  // The letter names a drive the platform knows.
  bool (*DriveExists)(char letter);
  // A search for the path finds an entry, and that entry is a directory.
  bool (*FindsDirectory)(const char* path);
  // Creates one directory; true on success.
  bool (*MakeDirectory)(const char* path);
};

// A path with "*" or "?" is judged by its directory part; a path of at most
// three characters by its drive letter; anything longer is searched for
// without one trailing backslash.
bool DirExistsWith(const PathOps& ops, std::string_view path);

// Creates `path` and every missing parent, parents first; a level is tried
// even when its parent failed. True when the last level was made or exists.
// A level that cannot be made is no failure of the run: the dialog stays.
bool CreateDirsWith(const PathOps& ops, std::string_view path);
