// Finding a set's volumes: beside the stub, or in the directories and disk
// images the user names. Names match without regard to case, since copies
// from FAT disks often change it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A volume: a file, or a file inside a disk image (Image set, Path then
// the name inside it).
struct Volume {
  std::filesystem::path Path;
  std::int64_t Size = 0;
  std::filesystem::path Image;

  // "/media/SETUP.02" or "DISK02.IMG:SETUP.02", for messages.
  std::string Shown() const;
};

class VolumeFinder {
 public:
  // Places are directories or disk images (IsDiskImage), looked in in order.
  explicit VolumeFinder(std::vector<std::filesystem::path> places);

  // The volume, or nothing when no place holds it.
  std::optional<Volume> Find(const std::string& volumeName);
  // "SETUP.02 was looked for in /a, /b"
  std::string WhereLooked(const std::string& volumeName) const;
  // The places from the `first` on that no volume found so far came from.
  std::vector<std::filesystem::path> Unused(std::size_t first) const;

 private:
  const std::vector<Volume>& Listing(const std::filesystem::path& place);

  std::vector<std::filesystem::path> places_;
  std::vector<bool> used_;
  std::map<std::filesystem::path, std::vector<Volume>> listings_;
};

// All volumes of a set named after `stubName`, in disk order; raises
// ExtractError naming the first missing one and where it was looked for.
std::vector<Volume> FindVolumes(VolumeFinder& finder, const std::string& stubName, int volumeCount);
