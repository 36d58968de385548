// The destination checks on the real file system: the rules of
// dest/DirectoryRules.h bound to the platform.
#pragma once

#include <string_view>

// Upper-cases the letter as the ANSI code page does; "A" to "Z" whose drive
// type is not DRIVE_UNKNOWN. A letter without a root directory counts.
bool DriveExists(char letter);

bool DirExists(std::string_view path);

// True when the directory is there now.
bool CreateDirs(std::string_view path);
