// The files a run reads the set from: the installer (or the disk image
// holding it), the volume files and the disk images holding volumes. An
// extraction must never write over one of them: replacing a volume before
// it is read, or the installer, destroys the set it comes from.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "FileIdentity.h"
#include "VolumeFinder.h"

struct PartRead {
  FileIdentity Identity;
  std::string What;  // "the set's installer", "volume 3", "DISK02.IMG, the disk image holding volume 2"
};

// `setup` is the installer's file, or the disk image holding it.
std::vector<PartRead> PartsRead(const std::filesystem::path& setup, bool fromImage, const std::vector<Volume>& volumes);

// Raises ExtractError, before anything is written, when one of `targets`
// (the files an extraction is about to write) is one of the parts read.
void CheckNotWritingOverParts(const std::vector<PartRead>& parts, const std::vector<std::filesystem::path>& targets);
