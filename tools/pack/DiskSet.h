// A disk set in memory: the stub with its configuration block appended, and
// the coded stream with the lengths it is cut into, one volume per disk.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "InputFiles.h"
#include "PackOptions.h"
#include "config/ConfigBlock.h"

struct DiskSet {
  ConfigTrailer Trailer;
  std::vector<FileEntry> Entries;
  std::vector<std::uint8_t> SetupFile;
  std::vector<std::uint8_t> Stream;
  std::vector<std::size_t> VolumeLengths;  // disk order; they add up to Stream.size()
};

inline constexpr int MaxFiles = 255;
inline constexpr int MaxVolumes = 255;
inline constexpr std::int64_t MaxSetBytes = 2147483647;

// Raises PackError for any option the format cannot hold.
void CheckOptions(const PackOptions& options);

// Raises PackError for names the installer cannot create or that collide.
void CheckInputNames(const std::vector<InputFile>& files);

// What disk 1 leaves for volume 1 beside a setup file of `setupSize` bytes:
// on a floppy format, the free clusters the setup file does not take.
std::int64_t FirstVolumeCapacity(const PackOptions& options, std::int64_t setupSize);

// Volume 1 shares the first disk with the setup file and gets what is left
// of it; the others get the whole disk. Volume 1 always exists, even empty.
std::vector<std::size_t> CutIntoVolumes(std::size_t streamLength, std::int64_t firstCapacity,
                                        std::int64_t volumeSize);

// Checks everything, codes the files and lays out the set.
DiskSet MakeDiskSet(const PackOptions& options, std::span<const std::uint8_t> stub,
                    const std::vector<InputFile>& files);
