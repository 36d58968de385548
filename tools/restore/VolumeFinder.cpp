#include "VolumeFinder.h"

#include "ExtractError.h"
#include "config/ConfigBlock.h"
#include "volumes/VolumeRules.h"

namespace fs = std::filesystem;

VolumeFinder::VolumeFinder(fs::path stubDir, std::vector<fs::path> extraDirs) {
  dirs_.push_back(stubDir.empty() ? fs::path(".") : std::move(stubDir));
  for (auto& d : extraDirs) dirs_.push_back(std::move(d));
}

const std::vector<fs::path>& VolumeFinder::Listing(const fs::path& dir) {
  auto [it, inserted] = listings_.try_emplace(dir);
  if (inserted) {
    std::error_code error;
    for (fs::directory_iterator entry(dir, error), end; !error && entry != end; entry.increment(error))
      if (entry->is_regular_file(error)) it->second.push_back(entry->path());
  }
  return it->second;
}

std::optional<fs::path> VolumeFinder::Find(const std::string& volumeName) {
  for (const auto& dir : dirs_) {
    std::error_code error;
    const fs::path exact = dir / volumeName;
    if (fs::is_regular_file(exact, error)) return exact;
    for (const auto& candidate : Listing(dir))
      if (SameFileName(candidate.filename().string(), volumeName)) return candidate;
  }
  return std::nullopt;
}

std::string VolumeFinder::WhereLooked(const std::string& volumeName) const {
  std::string text = volumeName + " was looked for in ";
  for (std::size_t i = 0; i < dirs_.size(); ++i) text += (i ? ", " : "") + dirs_[i].string();
  return text;
}

std::vector<Volume> FindVolumes(VolumeFinder& finder, const std::string& stubName, int volumeCount) {
  std::vector<Volume> volumes;
  for (int disk = 1; disk <= volumeCount; ++disk) {
    const std::string name = VolumeFileName(stubName, disk).c_str();
    const auto path = finder.Find(name);
    if (!path) throw ExtractError("volume " + std::to_string(disk) + " is missing: " + finder.WhereLooked(name));
    std::error_code error;
    const auto size = fs::file_size(*path, error);
    if (error) throw ExtractError(path->string() + ": " + error.message());
    volumes.push_back({*path, static_cast<std::int64_t>(size)});
  }
  return volumes;
}
