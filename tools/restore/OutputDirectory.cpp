#include "OutputDirectory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "ExtractError.h"
#include "AnsiText.h"
#include "config/DosDateTime.h"

namespace fs = std::filesystem;

std::int64_t LocalTimeOfDosDate(std::uint32_t dosDate) {
  const DosDateTime d = SplitDosDateTime(dosDate);
  std::tm local{};
  local.tm_year = d.Year - 1900;
  local.tm_mon = d.Month - 1;
  local.tm_mday = d.Day;
  local.tm_hour = d.Hour;
  local.tm_min = d.Minute;
  local.tm_sec = d.Second;
  local.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&local));
}

OutputDirectory::OutputDirectory(fs::path dir, bool overwrite) : dir_(std::move(dir)), overwrite_(overwrite) {}

OutputDirectory::~OutputDirectory() {
  for (auto& [index, file] : open_) Discard(file);
}

fs::path OutputDirectory::PathFor(const FileEntry& entry) const { return dir_ / AnsiToUtf8(entry.Name); }

bool OutputDirectory::Occupied(const std::string& name) const {
  struct stat info {};
  return ::lstat((dir_ / name).c_str(), &info) == 0;
}

void OutputDirectory::Discard(OpenFile& file) {
  if (file.Descriptor >= 0) ::close(file.Descriptor);
  file.Descriptor = -1;
  ::unlink(file.Temporary.c_str());
}

void OutputDirectory::Begin(std::size_t index, const FileEntry&) {
  OpenFile file;
  file.Temporary = dir_ / (".diskspan-" + std::to_string(::getpid()) + "-" + std::to_string(index) + ".partial");
  ::unlink(file.Temporary.c_str());
  // O_EXCL and O_NOFOLLOW: never write through a link planted in the directory.
  file.Descriptor = ::open(file.Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (file.Descriptor < 0) throw ExtractError(file.Temporary.string() + ": cannot create: " + std::strerror(errno));
  open_[index] = file;
}

void OutputDirectory::Write(std::size_t index, std::span<const std::uint8_t> bytes) {
  OpenFile& file = open_.at(index);
  while (!bytes.empty()) {
    const ssize_t n = ::write(file.Descriptor, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw ExtractError(file.Temporary.string() + ": write failed: " + std::strerror(errno));
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
}

void OutputDirectory::End(std::size_t index, const FileEntry& entry) {
  OpenFile file = open_.at(index);
  open_.erase(index);
  const fs::path target = PathFor(entry);
  const std::string shown = ShownText(entry.Name);
  const std::int64_t seconds = LocalTimeOfDosDate(static_cast<std::uint32_t>(entry.Date));
  const timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
  const bool closed = ::futimens(file.Descriptor, times) == 0 && ::close(file.Descriptor) == 0;
  file.Descriptor = -1;
  if (!closed) {
    Discard(file);
    throw ExtractError(target.string() + ": cannot finish: " + std::strerror(errno));
  }
  if (!overwrite_ && Occupied(shown)) {
    Discard(file);
    refusals_.push_back(target.string() + ": already exists; kept (use --overwrite to replace it)");
    return;
  }
  if (::rename(file.Temporary.c_str(), target.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    Discard(file);
    refusals_.push_back(target.string() + ": cannot be written: " + reason);
    return;
  }
  written_.push_back(shown);
}
