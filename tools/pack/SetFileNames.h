// The names a set's files take in its output directory, in any case (the
// extractor matches them so, as copies from FAT disks change case): the
// setup file, its volumes of any disk and the disk images. Whatever bears
// one of them there belongs to the set being written, or to an earlier one
// of that name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct SetFileName {
  enum Kind { Setup, Volume, Image } Kind;
  int Disk = 0;  // for volumes and images
};

// Whether `fileName` is, ignoring case, the setup file `setupName`, one of
// its volumes (disks 1-255) or a disk image (DISK01.IMG, DISK001.IMG ...).
std::optional<SetFileName> ClassifySetFileName(std::string_view fileName, std::string_view setupName);

// "the setup file", "volume 3", "disk image 2".
std::string Described(const SetFileName& name);
