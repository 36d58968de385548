#include "FileIdentity.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino};
}

std::optional<std::string> RegularFileProblem(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    return errno == ENOENT ? "no such file" : std::string("cannot read: ") + std::strerror(errno);
  if (S_ISREG(info.st_mode)) return std::nullopt;
  const char* kind = S_ISDIR(info.st_mode)    ? "a directory"
                     : S_ISFIFO(info.st_mode) ? "a FIFO"
                     : S_ISCHR(info.st_mode)  ? "a character device"
                     : S_ISBLK(info.st_mode)  ? "a block device"
                     : S_ISSOCK(info.st_mode) ? "a socket"
                                              : "of another kind";
  return std::string("not a regular file (") + kind + ")";
}
