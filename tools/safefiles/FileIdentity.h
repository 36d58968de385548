// What a path names on disk: whether it is a regular file, and which file it
// is (device and inode), so that a tool can tell the files it reads from
// the ones it is about to write.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

struct FileIdentity {
  dev_t Device = 0;
  ino_t Inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The file `path` leads to (links followed), or nothing when there is none.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

// Why `path` cannot be read as a regular file: "no such file", "not a
// regular file (a directory)", "cannot read: ...". Nothing when it can. A
// FIFO or a device is never opened to find out.
std::optional<std::string> RegularFileProblem(const std::filesystem::path& path);
