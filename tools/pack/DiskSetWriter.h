// Writing a disk set into its output directory, whole or not at all: the
// volumes are coded straight into files that have no name yet, the setup
// file follows once the coded size is known, then the disk images (with
// --images), and only then do all of them take their names, in one commit
// that also removes what is left of an earlier set (with --force) and puts
// back what it replaced or removed if any step fails. An interruption
// before the commit leaves nothing behind.
#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "DiskSet.h"
#include "SetCoding.h"

// What a pack wrote, or what --dry-run found it would write.
struct WrittenSet {
  std::vector<std::filesystem::path> Paths;  // setup file first, then volumes 1, 2, ...
  std::vector<std::filesystem::path> Images;  // one per disk, with --images
  std::vector<std::filesystem::path> Removed;  // files of an earlier set that --force removed
  std::int64_t SetupSize = 0;
  std::vector<std::int64_t> VolumeLengths;
  std::int64_t DecodedSize = 0;
  std::int64_t CodedSize = 0;
  std::vector<DiskRange> FileDisks;  // in file table order
  bool DryRun = false;
};

// The files a set of `volumeCount` volumes consists of, setup file first.
std::vector<std::filesystem::path> DiskSetPaths(const PackOptions& options, std::size_t volumeCount);

// Codes `files` (streamed, in order) into the set `plan` lays out, behind a
// copy of the stub, and commits it. Raises PackError; nothing of the new
// set stays behind then, and nothing of an old one is lost.
WrittenSet WriteDiskSet(const PackOptions& options, SetPlan plan, const std::vector<InputFile>& files,
                        const PackProgressFn& progress = {});

// Codes `files` as WriteDiskSet does, dropping the coded bytes, and tells
// what it would write: the same paths, sizes and disks. Writes nothing.
WrittenSet DryRunDiskSet(const PackOptions& options, const SetPlan& plan, const std::vector<InputFile>& files,
                         const PackProgressFn& progress = {});
