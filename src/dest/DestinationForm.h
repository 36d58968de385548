// The form of a destination entry: a capital drive letter and a colon, then
// anything. Nothing here touches the file system.
#pragma once

#include <string>
#include <string_view>

// The most characters read back from the destination field.
inline constexpr int MaxDestinationLength = 254;

bool HasWildcard(std::string_view path);

// At least two characters, "A" to "Z" first, a colon second.
bool HasDestinationForm(std::string_view entry);

// The path without one trailing backslash, if it has one.
std::string WithoutTrailingBackslash(std::string_view path);
