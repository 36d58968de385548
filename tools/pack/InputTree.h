// The files the sources name: a file as it is, a folder's files below it
// at any depth. Only their sizes and dates are read (stat), so every
// problem is known before a byte is coded.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "InputSources.h"

struct FoundFile {
  std::filesystem::path Source;
  std::vector<std::string> Place;  // its folders in the set, then its name, in UTF-8
  std::int64_t Size = 0;
  std::time_t Modified = 0;
};

struct FoundInputs {
  std::vector<FoundFile> Files;
  std::vector<std::string> Problems;                // "PATH: why it cannot be packed"
  std::vector<std::filesystem::path> EmptyFolders;  // left out: a set keeps no folder without files
};

// Walks the sources in order, each folder's entries sorted by name (as
// bytes), so that the same tree always makes the same set. Links are
// followed, to files and to folders; a link to nothing is a problem, and
// so is one that leads back to a folder the walk is inside (a loop).
FoundInputs FindInputFiles(const std::vector<InputSource>& sources);
