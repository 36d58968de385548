// Finding a set's volumes: beside the stub, or in the directories the user
// names (one per mounted disk image). Names match without regard to case,
// since copies from FAT disks often change it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

class VolumeFinder {
 public:
  VolumeFinder(std::filesystem::path stubDir, std::vector<std::filesystem::path> extraDirs);

  // The volume's file, or nothing when no directory holds it.
  std::optional<std::filesystem::path> Find(const std::string& volumeName);
  // "SETUP.02 was looked for in /a, /b"
  std::string WhereLooked(const std::string& volumeName) const;

 private:
  const std::vector<std::filesystem::path>& Listing(const std::filesystem::path& dir);

  std::vector<std::filesystem::path> dirs_;
  std::map<std::filesystem::path, std::vector<std::filesystem::path>> listings_;
};

struct Volume {
  std::filesystem::path Path;
  std::int64_t Size = 0;
};

// All volumes of a set named after `stubName`, in disk order; raises
// ExtractError naming the first missing one and where it was looked for.
std::vector<Volume> FindVolumes(VolumeFinder& finder, const std::string& stubName, int volumeCount);
