// FAT12 disk images of a set packed for a floppy format, one per disk, made
// with mtools (mformat, mcopy): disk 1 holds the setup file and volume 1,
// every other disk its volume. They are made beside the set's other files
// before any of them takes its name, and are placed in the same commit.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "PackOptions.h"
#include "PendingFile.h"

// DISK01.IMG, DISK02.IMG ... (three digits from 100 disks on), so that they
// sort in disk order.
std::string DiskImageName(std::size_t disk, std::size_t diskCount);

// The images a set of `disks` disks takes, in disk order: none without --images.
std::vector<std::filesystem::path> DiskImagePaths(const PackOptions& options, std::size_t disks);

// The set's files as they are written (`parts`: setup file, then the
// volumes), each to go by the name in `names` (the same order).
struct SetParts {
  std::vector<PendingFile*> Files;
  std::vector<std::string> Names;
};

// One pending image per disk, labelled "DISK n", holding that disk's files
// under their names in the set, each read back and compared. Raises
// PackError naming the disk and what mtools said; no image stays behind.
std::vector<std::unique_ptr<PendingFile>> MakeDiskImages(const PackOptions& options, const SetParts& parts);
