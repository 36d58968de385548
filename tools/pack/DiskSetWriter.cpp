#include "DiskSetWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <span>

#include "volumes/VolumeRules.h"

namespace {

namespace fs = std::filesystem;

// A temporary beside the file, named so that no one can guess it ahead.
fs::path TemporaryPath(const fs::path& path) {
  static std::mt19937_64 random{std::random_device{}()};
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, ".%016llx", static_cast<unsigned long long>(random()));
  return path.parent_path() / ("." + path.filename().string() + suffix + ".partial");
}

// Created, never opened: a link or file planted at the name makes the
// write fail instead of writing through it.
void WriteNewFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) throw PackError(path.string() + ": cannot create: " + std::strerror(errno));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      const int error = errno;
      ::close(fd);
      throw PackError(path.string() + ": cannot write: " + std::strerror(error));
    }
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) throw PackError(path.string() + ": cannot write: " + std::strerror(errno));
}

// Removes the temporaries unless the set was completed.
class TemporaryFiles {
 public:
  ~TemporaryFiles() {
    std::error_code ignored;
    for (const auto& p : paths_) fs::remove(p, ignored);
  }
  void Add(const fs::path& p) { paths_.push_back(p); }
  void Commit() { paths_.clear(); }

 private:
  std::vector<fs::path> paths_;
};

}  // namespace

std::vector<fs::path> DiskSetPaths(const PackOptions& options, std::size_t volumeCount) {
  std::vector<fs::path> paths = {options.OutputDir / options.Name};
  for (std::size_t disk = 1; disk <= volumeCount; ++disk)
    paths.push_back(options.OutputDir / VolumeFileName(options.Name, static_cast<int>(disk)).c_str());
  return paths;
}

void WriteDiskSet(const PackOptions& options, const DiskSet& set) {
  const auto paths = DiskSetPaths(options, set.VolumeLengths.size());
  std::error_code error;
  if (!options.Force)
    for (const auto& p : paths)
      if (fs::exists(p, error)) throw PackError(p.string() + ": already exists (use --force to replace it)");
  fs::create_directories(options.OutputDir, error);
  if (error) throw PackError(options.OutputDir.string() + ": cannot create: " + error.message());

  TemporaryFiles temporaries;
  std::vector<std::span<const std::uint8_t>> contents = {set.SetupFile};
  std::size_t offset = 0;
  for (std::size_t length : set.VolumeLengths) {
    contents.push_back(std::span(set.Stream).subspan(offset, length));
    offset += length;
  }
  std::vector<fs::path> written;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    written.push_back(TemporaryPath(paths[i]));
    temporaries.Add(written.back());
    WriteNewFile(written.back(), contents[i]);
  }
  for (std::size_t i = 0; i < paths.size(); ++i) {
    fs::rename(written[i], paths[i], error);
    if (error) throw PackError(paths[i].string() + ": cannot write: " + error.message());
  }
  temporaries.Commit();
}

std::vector<fs::path> RemoveStaleVolumes(const PackOptions& options, std::size_t volumeCount) {
  std::vector<fs::path> removed;
  std::error_code error;
  for (std::size_t disk = volumeCount + 1; disk <= 255; ++disk) {
    const fs::path stale = options.OutputDir / VolumeFileName(options.Name, static_cast<int>(disk)).c_str();
    if (fs::is_regular_file(stale, error) && fs::remove(stale, error)) removed.push_back(stale);
  }
  return removed;
}
