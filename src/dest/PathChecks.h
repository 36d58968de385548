// The destination checks on the real file system. The rules themselves are
// in DirectoryRules; these bind them to the platform.
#pragma once

#include <string_view>

// Upper-cases the letter as the ANSI code page does; "A" to "Z" whose drive
// type is not DRIVE_UNKNOWN. A letter without a root directory counts.
bool DriveExists(char letter);

bool DirExists(std::string_view path);

// `succeeded` must be passed set; it tells whether the directory is there now.
void CreateDirs(std::string_view path, bool& succeeded);
