#include "DiskSetWriter.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <span>

#include "volumes/VolumeRules.h"

namespace {

namespace fs = std::filesystem;

fs::path TemporaryPath(const fs::path& path) {
  return path.parent_path() / ("." + path.filename().string() + ".partial");
}

void WriteFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (out) out.close();
  if (!out) throw PackError(path.string() + ": cannot write: " + std::strerror(errno));
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
  for (std::size_t i = 0; i < paths.size(); ++i) {
    temporaries.Add(TemporaryPath(paths[i]));
    WriteFile(TemporaryPath(paths[i]), contents[i]);
  }
  for (const auto& p : paths) {
    fs::rename(TemporaryPath(p), p, error);
    if (error) throw PackError(p.string() + ": cannot write: " + error.message());
  }
  temporaries.Commit();
}
