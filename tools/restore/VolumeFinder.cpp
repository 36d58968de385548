#include "VolumeFinder.h"

#include "ExtractError.h"
#include "FloppyImage.h"
#include "config/ConfigBlock.h"
#include "volumes/VolumeRules.h"

namespace fs = std::filesystem;

std::string Volume::Shown() const {
  return Image.empty() ? Path.string() : Image.string() + ":" + Path.string();
}

VolumeFinder::VolumeFinder(std::vector<fs::path> places) {
  for (auto& p : places) places_.push_back(p.empty() ? fs::path(".") : std::move(p));
  used_.assign(places_.size(), false);
}

// Every file a place holds, with its size.
const std::vector<Volume>& VolumeFinder::Listing(const fs::path& place) {
  auto [it, inserted] = listings_.try_emplace(place);
  if (!inserted) return it->second;
  if (IsDiskImage(place)) {
    for (const ImageFile& f : ListImage(place)) it->second.push_back({f.Name, f.Size, place});
    return it->second;
  }
  std::error_code error;
  for (fs::directory_iterator entry(place, error), end; !error && entry != end; entry.increment(error))
    if (entry->is_regular_file(error))
      it->second.push_back({entry->path(), static_cast<std::int64_t>(entry->file_size(error)), {}});
  return it->second;
}

std::optional<Volume> VolumeFinder::Find(const std::string& volumeName) {
  for (std::size_t i = 0; i < places_.size(); ++i) {
    std::vector<Volume> matches;
    for (const auto& f : Listing(places_[i]))
      if (SameFileName(f.Path.filename().string(), volumeName)) matches.push_back(f);
    // Two names that differ only in case: which one is the disk's own
    // cannot be told, so neither is taken.
    if (matches.size() > 1)
      throw ExtractError(volumeName + ": " + matches[0].Shown() + " and " + matches[1].Shown() +
                         " differ only in case; keep the one that belongs to the set");
    if (matches.empty()) continue;
    used_[i] = true;
    return matches.front();
  }
  return std::nullopt;
}

std::string VolumeFinder::WhereLooked(const std::string& volumeName) const {
  std::string text = volumeName + " was looked for in ";
  for (std::size_t i = 0; i < places_.size(); ++i) text += (i ? ", " : "") + places_[i].string();
  return text;
}

std::vector<fs::path> VolumeFinder::Unused(std::size_t first) const {
  std::vector<fs::path> unused;
  for (std::size_t i = first; i < places_.size(); ++i)
    if (!used_[i]) unused.push_back(places_[i]);
  return unused;
}

std::vector<Volume> FindVolumes(VolumeFinder& finder, const std::string& stubName, int volumeCount) {
  std::vector<Volume> volumes;
  for (int disk = 1; disk <= volumeCount; ++disk) {
    const std::string name = VolumeFileName(stubName, disk).c_str();
    const auto volume = finder.Find(name);
    if (!volume) throw ExtractError("volume " + std::to_string(disk) + " is missing: " + finder.WhereLooked(name));
    volumes.push_back(*volume);
  }
  return volumes;
}
