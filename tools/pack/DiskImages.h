// FAT12 disk images of a set packed for a floppy format, one per disk, made
// with mtools (mformat, mcopy): disk 1 holds the setup file and volume 1,
// every other disk its volume.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "PackOptions.h"

// DISK01.IMG, DISK02.IMG ... (three digits from 100 disks on), so that they
// sort in disk order.
std::string DiskImageName(std::size_t disk, std::size_t diskCount);

// Raises PackError when an image of that name exists and --force was not given.
void CheckDiskImagesAbsent(const PackOptions& options, std::size_t disks);

// Writes the images beside the set's files (`setFiles`: setup file, then the
// volumes), each labelled "DISK n", the files' dates kept. Every image is
// read back and compared before any takes its name; a failure leaves no
// image behind. Raises PackError, naming the disk and what mtools said.
void WriteDiskImages(const PackOptions& options, const std::vector<std::filesystem::path>& setFiles);
