// Writing a disk set into its output directory, all or nothing.
#pragma once

#include <filesystem>
#include <vector>

#include "DiskSet.h"

// The files the set consists of, setup file first, then volumes 1, 2, ...
std::vector<std::filesystem::path> DiskSetPaths(const PackOptions& options, std::size_t volumeCount);

// Raises PackError when an output exists and --force was not given. The
// files are written under temporary names and renamed only once all of them
// are complete, so a failure leaves nothing behind.
void WriteDiskSet(const PackOptions& options, const DiskSet& set);
