// The names the found files take in the set, held to the rules every
// reader of a set shares (config/FileNames.h): each folder's and file's
// name plain in the set's code page, none a temporary's at the top, at
// most 39 bytes in all, no two files one ignoring case, and no file where
// another needs a folder.
#pragma once

#include <string>
#include <vector>

#include "CodePage.h"
#include "InputFiles.h"
#include "InputTree.h"

// The files named and dated; what a name cannot be is added to `problems`.
std::vector<InputFile> NameInputFiles(const std::vector<FoundFile>& found, const CodePage& codePage,
                                      std::vector<std::string>& problems);

// Adds every pair of files the installer would take for one file or for a
// file and a folder, both sources named.
void FindNameClashes(const std::vector<InputFile>& files, std::vector<std::string>& problems);
