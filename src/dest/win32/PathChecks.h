// The destination checks on the real file system: the rules of
// dest/DirectoryRules.h bound to the platform.
#pragma once

#include <string_view>

// Upper-cases the letter as the ANSI code page does; "A" to "Z" with a drive
// behind it: a type of DRIVE_REMOVABLE or above (a letter without a root
// directory, DRIVE_NO_ROOT_DIR, has none).
bool DriveExists(char letter);

bool DirExists(std::string_view path);

// True when the directory is there now.
bool CreateDirs(std::string_view path);
