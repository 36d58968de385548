#include "PendingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <random>

#include "TemporaryRegistry.h"

namespace fs = std::filesystem;

namespace {

std::string Reason() { return std::strerror(errno); }

// Unnamed files are linked in through /proc. DISKSPAN_NAMED_TEMPORARIES=1
// asks for named temporaries instead (for file systems that mishandle
// O_TMPFILE, and to exercise that path).
bool CanLinkUnnamedFiles() {
  static const bool available = [] {
    const char* named = std::getenv("DISKSPAN_NAMED_TEMPORARIES");
    return !(named && std::string_view(named) == "1") && ::access("/proc/self/fd", X_OK) == 0;
  }();
  return available;
}

std::string DescriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// For tests only: DISKSPAN_TEST_SIGNAL_AFTER_WRITE=N raises signal N once
// the process has made its first write into a file, so that an interrupt
// test stops a tool in the middle of its work on any machine and any build.
void RaiseTestSignalOnce() {
  static const char* const signal = std::getenv("DISKSPAN_TEST_SIGNAL_AFTER_WRITE");
  static bool raised = false;
  if (signal == nullptr || raised) return;
  raised = true;
  std::raise(std::atoi(signal));
}

}  // namespace

fs::path TemporaryNameIn(const fs::path& dir) {
  static std::mt19937_64 random{std::random_device{}()};
  char name[48];
  std::snprintf(name, sizeof name, ".diskspan-%016llx.tmp", static_cast<unsigned long long>(random()));
  return dir / name;
}

bool RenameNoReplace(const fs::path& from, const fs::path& to) {
#ifdef SYS_renameat2
  if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 1 /* RENAME_NOREPLACE */) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
#endif
  return RenameNoReplaceByLink(from, to);
}

bool RenameNoReplaceByLink(const fs::path& from, const fs::path& to) {
  // A hard link fails when the name is taken; where links are not allowed
  // either, the check and the rename are as close as they can be.
  if (::link(from.c_str(), to.c_str()) == 0) return ::unlink(from.c_str()), true;
  if (errno == EEXIST) return false;
  struct stat info {};
  if (::lstat(to.c_str(), &info) == 0) return errno = EEXIST, false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

PendingFile::PendingFile(const fs::path& dir) : dir_(dir) {
  temporaries::RemoveOnSignals();
  if (CanLinkUnnamedFiles()) {
    descriptor_ = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
    if (descriptor_ >= 0) return;
  }
  for (int attempt = 0; attempt < 8 && descriptor_ < 0; ++attempt) {
    temporary_ = TemporaryNameIn(dir);
    slot_ = temporaries::Register(temporary_.c_str());
    if (slot_ < 0) throw FileError(dir.string() + ": too many files open at once");
    descriptor_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (descriptor_ < 0) temporaries::Unregister(slot_), slot_ = -1;
    if (descriptor_ < 0 && errno != EEXIST) break;
  }
  if (descriptor_ < 0) throw FileError(dir.string() + ": cannot create a file there: " + Reason());
}

PendingFile::~PendingFile() { Discard(); }

void PendingFile::Write(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(descriptor_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw FileError(dir_.string() + ": cannot write: " + (n == 0 ? "no space" : Reason()));
    bytes = bytes.subspan(static_cast<std::size_t>(n));
    size_ += n;
  }
  RaiseTestSignalOnce();
}

void PendingFile::SetTime(std::int64_t seconds) {
  const timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
  if (::futimens(descriptor_, times) != 0) throw FileError(dir_.string() + ": cannot set a file's date: " + Reason());
}

void PendingFile::NameIt() {
  for (int attempt = 0; attempt < 8 && temporary_.empty(); ++attempt) {
    const fs::path name = TemporaryNameIn(dir_);
    slot_ = temporaries::Register(name.c_str());
    if (slot_ < 0) throw FileError(dir_.string() + ": too many files open at once");
    if (::linkat(AT_FDCWD, DescriptorPath(descriptor_).c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temporary_ = name;
      return;
    }
    temporaries::Unregister(slot_), slot_ = -1;
    if (errno != EEXIST) break;
  }
  throw FileError(dir_.string() + ": cannot name a finished file: " + Reason());
}

const fs::path& PendingFile::Named() {
  if (temporary_.empty()) NameIt();
  return temporary_;
}

void PendingFile::Close() {
  if (descriptor_ < 0) return;
  const int result = ::close(descriptor_);
  descriptor_ = -1;
  if (result != 0) throw FileError(dir_.string() + ": cannot finish a file: " + Reason());
}

PendingFile::Placed PendingFile::Place(const fs::path& target, bool replace) {
  const bool unnamed = temporary_.empty();
  if (unnamed && !replace) {
    // Linking the unnamed file in fails when the name is taken: the check
    // and the placing are one step.
    const int linked = ::linkat(AT_FDCWD, DescriptorPath(descriptor_).c_str(), AT_FDCWD, target.c_str(),
                                AT_SYMLINK_FOLLOW);
    const int error = errno;
    Close();
    if (linked == 0) return Placed::Done;
    if (error == EEXIST) return Placed::Exists;
    throw FileError(target.string() + ": cannot be written: " + std::strerror(error));
  }
  if (unnamed) NameIt();
  Close();
  const bool moved = replace ? ::rename(temporary_.c_str(), target.c_str()) == 0
                             : RenameNoReplace(temporary_, target);
  const int error = errno;
  if (moved) {
    temporaries::Unregister(slot_), slot_ = -1;
    temporary_.clear();
    return Placed::Done;
  }
  Discard();
  if (error == EEXIST) return Placed::Exists;
  throw FileError(target.string() + ": cannot be written: " + std::strerror(error));
}

void PendingFile::Discard() {
  if (descriptor_ >= 0) ::close(descriptor_), descriptor_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str()), temporary_.clear();
  temporaries::Unregister(slot_), slot_ = -1;
}
