// The limits a set puts on its files as a whole: at most 255 of them, and
// at most 2147483647 bytes. Over 255, a hint names the top-level folders
// that could go into a second set.
#pragma once

#include <string>
#include <vector>

#include "InputFiles.h"

inline constexpr int MaxFiles = 255;
inline constexpr std::int64_t MaxSetBytes = 2147483647;

// Adds a problem for each limit `files` exceed, and over 255 files the
// lines of SecondSetHint to `hints`.
void CheckSetLimits(const std::vector<InputFile>& files, std::vector<std::string>& problems,
                    std::vector<std::string>& hints);

// "hint: ..." lines for a set of more than 255 files: how many each
// top-level folder holds, and which of them could go into a second set.
std::vector<std::string> SecondSetHint(const std::vector<InputFile>& files);
