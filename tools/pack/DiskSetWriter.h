// Writing a disk set into its output directory, all or nothing.
#pragma once

#include <filesystem>
#include <vector>

#include "DiskSet.h"

// The files the set consists of, setup file first, then volumes 1, 2, ...
std::vector<std::filesystem::path> DiskSetPaths(const PackOptions& options, std::size_t volumeCount);

// Raises PackError when an output exists and --force was not given. The
// files are written under temporary names no one can guess, created
// exclusively without following links, and renamed only once all of them
// are complete, so a failure leaves nothing behind.
void WriteDiskSet(const PackOptions& options, const DiskSet& set);

// With --force: volumes of an earlier, larger set of the same name beyond
// the new set's last disk (SETUP.02 ... after a one-disk repack), removed
// and named.
std::vector<std::filesystem::path> RemoveStaleVolumes(const PackOptions& options, std::size_t volumeCount);
