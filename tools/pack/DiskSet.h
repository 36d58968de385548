// A disk set's layout, decided before anything is coded: the configuration
// block (but for the coded size and the volume count, known once coded),
// the setup file's size, and how the coded stream is cut into volumes.
// The setup file is planned with a verification record for the most
// volumes a set can have, so volume 1 fits beside it whatever the count;
// the record written holds the real count, so the file can only shrink.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "InputFiles.h"
#include "InputLimits.h"
#include "PackOptions.h"
#include "config/ConfigBlock.h"

inline constexpr int MaxVolumes = 255;

struct SetPlan {
  ConfigTrailer Trailer;
  std::vector<FileEntry> Entries;
  std::int64_t StubSize = 0;
  bool Checksums = true;           // a verification record follows the stub
  std::int64_t SetupSize = 0;      // at most: the stub, the record, the file table and the trailer
  std::int64_t FirstCapacity = 0;  // what disk 1 leaves for volume 1
};

// Raises PackError for any option the format or the code page cannot hold.
void CheckOptions(const PackOptions& options, const CodePage& codePage);

// What disk 1 leaves for volume 1 beside a setup file of `setupSize` bytes:
// on a floppy format, the free clusters the setup file does not take.
std::int64_t FirstVolumeCapacity(const PackOptions& options, std::int64_t setupSize);

// Checks everything that can be checked from the options and the stub's
// size, and lays out the set of `files` (gathered and checked).
SetPlan PlanDiskSet(const PackOptions& options, const CodePage& codePage, std::int64_t stubSize,
                    const std::vector<InputFile>& files);

// Cuts the coded stream into volumes as it is produced. Volume 1 shares
// the first disk with the setup file and gets what is left of it; the
// others get a whole disk. Volume 1 always exists, even empty.
class VolumeCutter {
 public:
  using Put = std::function<void(int disk, std::span<const std::uint8_t> piece)>;
  VolumeCutter(std::int64_t firstCapacity, std::int64_t volumeSize, Put put);

  // Raises PackError once the stream needs more than MaxVolumes volumes or
  // more than MaxSetBytes bytes.
  void Take(std::span<const std::uint8_t> bytes);

  const std::vector<std::int64_t>& Lengths() const { return lengths_; }
  std::int64_t Total() const { return total_; }

 private:
  std::int64_t CapacityOf(std::size_t volumeIndex) const;

  std::int64_t firstCapacity_;
  std::int64_t volumeSize_;
  Put put_;
  std::vector<std::int64_t> lengths_ = {0};
  std::int64_t total_ = 0;
};
