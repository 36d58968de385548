// The final box of a run in which the user left files out (Ignore at a
// file that could not be created): it does not claim success, but says
// where the others went and which files are missing.
#pragma once

#include <string_view>

#include "base/State.h"

// Names listed in the box; the rest are counted.
inline constexpr int ListedSkippedFiles = 10;

using SkippedFilesMessage = FixedText<PathCapacity + ListedSkippedFiles * (NameFieldWidth + 2) + 128>;

// "Not all files could be installed into directory", DestDir, "These were
// left out:" and the Skipped records' names, one a line, the eleventh and
// later as "and N more".
SkippedFilesMessage SkippedFilesText(std::string_view destDir, const FileRecord* table);
