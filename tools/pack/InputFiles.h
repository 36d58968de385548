// Reading the files to pack, with the names and dates they will install with.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct InputFile {
  std::filesystem::path Source;
  std::string Name;  // the installed file's name: the source's own name
  std::uint32_t DosDate = 0;
  std::vector<std::uint8_t> Data;
};

// Raises PackError naming the file when one is missing, not a regular file
// or unreadable.
std::vector<InputFile> ReadInputFiles(const std::vector<std::filesystem::path>& paths);

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path);

// The file's modification time as a local DOS date and time, clamped to the
// years a DOS date can hold (1980 to 2107).
std::uint32_t DosDateOf(const std::filesystem::path& path);
