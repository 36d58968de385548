// Rules for the names stored in a disk set's FileTable.
#pragma once

#include <string_view>

// A name the installer can create inside its destination directory and
// nowhere else: not empty, not "." or "..", no "\", "/", ":" and no control
// characters.
bool IsPlainFileName(std::string_view name);

// Windows compares file names without regard to case (ASCII letters).
bool SameFileName(std::string_view a, std::string_view b);
