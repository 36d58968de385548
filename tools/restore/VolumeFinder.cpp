#include "VolumeFinder.h"

#include <algorithm>

#include "ExtractError.h"
#include "FloppyImage.h"
#include "config/FileNames.h"
#include "volumes/VolumeRules.h"

namespace fs = std::filesystem;

std::string Volume::Shown() const {
  return Image.empty() ? Path.string() : Image.string() + ":" + Path.string();
}

VolumeFinder::VolumeFinder(std::vector<fs::path> places) {
  for (auto& p : places) places_.push_back(p.empty() ? fs::path(".") : std::move(p));
  used_.assign(places_.size(), false);
}

namespace {

std::vector<Volume> FilesOfImage(const fs::path& image) {
  std::vector<Volume> files;
  for (const ImageFile& f : ListImage(image)) files.push_back({f.Name, f.Size, image, {}});
  return files;
}

}  // namespace

// Every file a place holds, with its size: an image's files, or a
// directory's own files by name, then the files of the disk images among
// them (an image mtools cannot read holds none).
const std::vector<Volume>& VolumeFinder::Listing(const fs::path& place) {
  auto [it, inserted] = listings_.try_emplace(place);
  std::vector<Volume>& files = it->second;
  if (!inserted) return files;
  if (IsDiskImage(place)) return files = FilesOfImage(place);
  std::error_code error;
  for (fs::directory_iterator entry(place, error), end; !error && entry != end; entry.increment(error))
    if (entry->is_regular_file(error))
      files.push_back({entry->path(), static_cast<std::int64_t>(entry->file_size(error)), {}, {}});
  std::sort(files.begin(), files.end(), [](const Volume& a, const Volume& b) { return a.Path < b.Path; });
  const std::size_t own = files.size();
  for (std::size_t i = 0; i < own; ++i) {
    if (!IsDiskImage(files[i].Path)) continue;
    try {
      const auto inner = FilesOfImage(files[i].Path);
      files.insert(files.end(), inner.begin(), inner.end());
    } catch (const FloppyError&) {
    }
  }
  return files;
}

std::optional<Volume> VolumeFinder::Find(const std::string& volumeName) {
  for (std::size_t i = 0; i < places_.size(); ++i) {
    std::vector<Volume> own, inImages;
    for (const auto& f : Listing(places_[i]))
      if (SameFileName(f.Path.filename().string(), volumeName))
        (f.Image.empty() || f.Image == places_[i] ? own : inImages).push_back(f);
    // Two names that differ only in case: which one is the disk's own
    // cannot be told, so neither is taken.
    if (own.size() > 1)
      throw ExtractError(volumeName + ": " + own[0].Shown() + " and " + own[1].Shown() +
                         " differ only in case; keep the one that belongs to the set");
    if (own.empty() && inImages.empty()) continue;
    used_[i] = true;
    return own.empty() ? inImages.front() : own.front();
  }
  return std::nullopt;
}

std::string VolumeFinder::WhereLooked(const std::string& volumeName) const {
  std::string text = volumeName + " was looked for in ";
  for (std::size_t i = 0; i < places_.size(); ++i) text += (i ? ", " : "") + places_[i].string();
  return text;
}

std::vector<fs::path> VolumeFinder::Unused(std::size_t first, std::size_t count) const {
  std::vector<fs::path> unused;
  for (std::size_t i = first; i < first + count && i < places_.size(); ++i)
    if (!used_[i]) unused.push_back(places_[i]);
  return unused;
}

std::vector<Volume> VolumeFinder::Everything() {
  std::vector<Volume> all;
  for (const fs::path& place : places_) {
    const auto& files = Listing(place);
    all.insert(all.end(), files.begin(), files.end());
  }
  return all;
}

FoundVolumes FindVolumes(VolumeFinder& finder, const std::string& volumeBase, int volumeCount,
                         const DiskRequest& request, const std::function<Volume(const Volume&)>& found) {
  FoundVolumes result;
  for (int disk = 1; disk <= volumeCount; ++disk) {
    const std::string name = VolumeFileName(volumeBase, disk).c_str();
    auto volume = finder.Find(name);
    while (!volume && request && request(disk, name)) {
      finder.Forget();
      volume = finder.Find(name);
    }
    if (!volume) {
      result.MissingDisk = disk;
      result.WhereLooked = finder.WhereLooked(name);
      return result;
    }
    result.Volumes.push_back(found ? found(*volume) : *volume);
  }
  return result;
}
