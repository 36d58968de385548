// Finding a set's volumes: beside the stub, or in the directories and disk
// images the user names, and in the disk images those directories hold.
// Names match without regard to case, since copies from FAT disks often
// change it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A volume: a file, or a file inside a disk image (Image set, Path then
// the name inside it), and where a copy of it was kept, if one was.
struct Volume {
  std::filesystem::path Path;
  std::int64_t Size = 0;
  std::filesystem::path Image;
  std::filesystem::path Copy;  // read from here instead when set: the disk may be gone

  // "/media/SETUP.02" or "DISK02.IMG:SETUP.02", for messages.
  std::string Shown() const;
};

class VolumeFinder {
 public:
  // Places are directories or disk images (IsDiskImage), looked in in order.
  explicit VolumeFinder(std::vector<std::filesystem::path> places);

  // The volume, or nothing when no place holds it. In a directory its own
  // files come first, then those of the disk images in it, by image name.
  std::optional<Volume> Find(const std::string& volumeName);
  // "SETUP.02 was looked for in /a, /b"
  std::string WhereLooked(const std::string& volumeName) const;
  // The `count` places from the `first` on that no volume found so far came from.
  std::vector<std::filesystem::path> Unused(std::size_t first, std::size_t count) const;
  // Every file the places hold, in the order Find looks at them.
  std::vector<Volume> Everything();
  // Forgets what the places held, so that they are read again (a disk was changed).
  void Forget() { listings_.clear(); }

 private:
  const std::vector<Volume>& Listing(const std::filesystem::path& place);

  std::vector<std::filesystem::path> places_;
  std::vector<bool> used_;
  std::map<std::filesystem::path, std::vector<Volume>> listings_;
};

// The volumes of a set as far as they can be had: disks 1, 2 ... in order
// up to the first one that no place holds.
struct FoundVolumes {
  std::vector<Volume> Volumes;
  int MissingDisk = 0;     // the first disk not found; 0 when every one was
  std::string WhereLooked;  // where it was looked for
};

// Asked when disk `disk` (its volume named `volumeName`) is not found:
// true to look again, false to give up on it.
using DiskRequest = std::function<bool(int disk, const std::string& volumeName)>;

// Disks 1 to `volumeCount` of a set whose volumes are named after
// `volumeBase`, asking `request` (when given) for each one not found.
// `found` hears of each volume as it is found.
FoundVolumes FindVolumes(VolumeFinder& finder, const std::string& volumeBase, int volumeCount,
                         const DiskRequest& request = {}, const std::function<Volume(const Volume&)>& found = {});
