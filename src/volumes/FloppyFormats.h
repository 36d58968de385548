// The floppy formats a disk set can be made for: FAT12 disks of 512-byte
// sectors as a fresh format leaves them. A file takes whole clusters, so
// what fits on a disk is counted in clusters, not bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

struct FloppyFormat {
  std::string_view Name;  // as the packer prints it: "1.44M"
  int Kilobytes;          // the size people name it by: 1440
  int Cylinders;
  int Heads;
  int SectorsPerTrack;
  int SectorsPerCluster;
  int RootEntries;
  std::int64_t FreeBytes;  // the data area of a freshly formatted disk

  std::int64_t ClusterBytes() const { return std::int64_t{SectorsPerCluster} * 512; }
  std::int64_t ImageBytes() const {
    return std::int64_t{Cylinders} * Heads * SectorsPerTrack * 512;
  }
  // The bytes a file of `size` bytes takes on the disk: whole clusters.
  std::int64_t OnDisk(std::int64_t size) const {
    return (size + ClusterBytes() - 1) / ClusterBytes() * ClusterBytes();
  }
};

// The free bytes are those of DOS's own format (for DMF, its 5-sector FATs).
inline constexpr std::array<FloppyFormat, 9> FloppyFormats = {{
    {"160K", 160, 40, 1, 8, 1, 64, 160256},
    {"180K", 180, 40, 1, 9, 1, 64, 179712},
    {"320K", 320, 40, 2, 8, 2, 112, 322560},
    {"360K", 360, 40, 2, 9, 2, 112, 362496},
    {"720K", 720, 80, 2, 9, 2, 112, 730112},
    {"1.2M", 1200, 80, 2, 15, 1, 224, 1213952},
    {"1.44M", 1440, 80, 2, 18, 1, 224, 1457664},
    {"1.68M", 1680, 80, 2, 21, 4, 16, 1714176},  // DMF
    {"2.88M", 2880, 80, 2, 36, 2, 240, 2931712},
}};

// The format a user means: "1.44M", "1.44m", "1.44MB", "1440K", "1440k",
// "1440KB", "1200K", "360K" ... Nothing for an unknown spelling.
const FloppyFormat* FindFloppyFormat(std::string_view spelling);
